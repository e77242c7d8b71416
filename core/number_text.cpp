// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <charconv>
#include <cmath>

#include "core/korvanet_error.h"

namespace korvanet {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

NumberReading ReadNumber(std::string_view text) {
    NumberReading result;
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string_view s = text.substr(b, e - b);
    if (s.empty()) return result;

    // Check the grammar and, on the way, find the decimal magnitude of the
    // first significant digit (to tell an overflow from an underflow).
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    std::size_t intDigits = 0, fracDigits = 0;
    long firstSignificant = 0;  // decimal exponent of the leading non-zero digit
    bool seenSignificant = false;
    while (i < s.size() && IsDigit(s[i])) {
        if (!seenSignificant && s[i] != '0') seenSignificant = true;
        if (seenSignificant) ++firstSignificant;
        ++intDigits;
        ++i;
    }
    if (seenSignificant) firstSignificant -= 1;
    if (i < s.size() && s[i] == '.') {
        ++i;
        long pos = 0;
        while (i < s.size() && IsDigit(s[i])) {
            --pos;
            if (!seenSignificant && s[i] != '0') {
                seenSignificant = true;
                firstSignificant = pos;
            }
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0) return result;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
            ++expDigits;
            ++i;
        }
        if (expDigits == 0) return result;
        if (expNegative) exponent = -exponent;
    }
    if (i != s.size()) return result;

    // from_chars takes no leading '+', and is independent of the locale.
    std::string_view digits = s;
    if (digits.front() == '+') digits.remove_prefix(1);
    double value = 0;
    auto [ptr, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (seenSignificant && firstSignificant + exponent > 0) {
            result.kind = NumberReading::Kind::TooLarge;
            return result;
        }
        value = negative ? -0.0 : 0.0;  // below the smallest double: reads as zero
    } else if (ec != std::errc() || ptr != digits.data() + digits.size()) {
        return result;
    }
    result.kind = NumberReading::Kind::Number;
    result.value = value;
    return result;
}

bool ReadsAsZero(std::string_view text) {
    const NumberReading r = ReadNumber(text);
    return r.IsNumber() && r.value == 0.0;
}

std::string NotANumberMessage(std::string_view text, const NumberReading& reading, std::string_view what) {
    if (reading.kind == NumberReading::Kind::TooLarge)
        return std::string(what) + "的数值太大(溢出):\"" + std::string(text) + "\"";
    if (text.empty()) return std::string(what) + "没有输入数值(类型不匹配)";
    return std::string(what) + "不是一个数值(类型不匹配):\"" + std::string(text) + "\"";
}

double NumberOrThrow(std::string_view text, std::string_view what) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) throw InputError(NotANumberMessage(text, r, what));
    return r.value;
}

bool FitsSingle(double value) {
    constexpr double kBeyondSingle = 340282356779733661637539395458142568448.0;  // 2^128 - 2^103
    return std::fabs(value) < kBeyondSingle;
}

float SingleOrThrow(double value, std::string_view what) {
    if (!FitsSingle(value)) {
        throw InputError(std::string(what) + "的数值超出单精度范围(溢出)");
    }
    return static_cast<float>(value);
}

}  // namespace korvanet
