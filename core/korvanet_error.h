// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Failures are values: a step that cannot compute throws one of these, the
// command that ran it catches it and shows its message; the program goes on.
// Every message is Chinese, since everything the surveyor sees is.

#include <stdexcept>
#include <string>

namespace korvanet {

class KorvanetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An entered value that cannot be used: not a number, or too large for its field.
class InputError : public KorvanetError {
public:
    using KorvanetError::KorvanetError;
};

// The surveyor stopped the Compute command ("中止计算"): nothing is wrong,
// nothing is shown for it, and the run counts as not completed.
class RunStopped : public KorvanetError {
public:
    RunStopped() : KorvanetError("计算已中止") {}
};

// The adjustment cannot go on: a degenerate figure, a zero tolerance, a
// negative weight reciprocal, a value that is not finite.
class AdjustmentError : public KorvanetError {
public:
    using KorvanetError::KorvanetError;
};

}  // namespace korvanet
