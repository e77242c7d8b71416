// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a typed text as a number: the one rule used everywhere.
//
// Accepted: optional blanks around it, an optional sign, digits with an
// optional decimal point (".5" and "5." read), an optional exponent with e or E.
// Nothing else reads: not "inf", "nan", hexadecimal, thousands separators,
// decimal commas, nor the empty text.  The decimal point is always ".", whatever
// the locale.

#include <string>
#include <string_view>

namespace korvanet {

struct NumberReading {
    enum class Kind { Number, NotANumber, TooLarge };
    Kind kind = Kind::NotANumber;
    double value = 0;  // valid for Kind::Number only

    bool IsNumber() const { return kind == Kind::Number; }
};

NumberReading ReadNumber(std::string_view text);

// The wrong-answer test of a confirmation and the "is zero" test on D:
// a non-empty text that reads as the number zero ("0", " 0 ", "-0", "0e5").
bool ReadsAsZero(std::string_view text);

// Why a text that must be a number is none, in the words of every message:
// `reading` is its reading (not a number, or beyond the double range) and
// `what` names the value ("第 3 个观测角").
std::string NotANumberMessage(std::string_view text, const NumberReading& reading, std::string_view what);

// The value of a text that must be a number; `what` names it in the message
// ("第 3 个观测角").  Throws InputError when it is not a number or beyond the
// double range.
double NumberOrThrow(std::string_view text, std::string_view what);

// Whether a single-precision field can hold the value: its rounding to single
// is finite.  Half an ulp above FLT_MAX still rounds down to FLT_MAX; an
// infinity or NaN does not fit.
bool FitsSingle(double value);

// Rounds to single precision as a single field stores it; throws InputError
// when the value does not fit.
float SingleOrThrow(double value, std::string_view what);

}  // namespace korvanet
