#include "display_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "number_text.h"

namespace korvanet {
namespace {

// The exact decimal expansion of |value|: integer digits and fraction digits.
// A double has at most 1074 fraction digits, so the expansion is always exact.
struct ExactDecimal {
    std::string integer;   // no leading zeros except "0"
    std::string fraction;  // every digit of the exact value
};

ExactDecimal Expand(double value) {
    const double magnitude = std::fabs(value);
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const int fractionDigits = std::clamp(53 - exponent, 0, 1100);
    std::string buffer(1500, '\0');
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                   std::chars_format::fixed, fractionDigits);
    buffer.resize(ec == std::errc() ? static_cast<std::size_t>(end - buffer.data()) : 0);
    ExactDecimal d;
    const std::size_t point = buffer.find('.');
    d.integer = buffer.substr(0, point);
    if (point != std::string::npos) d.fraction = buffer.substr(point + 1);
    if (d.integer.empty()) d.integer = "0";
    return d;
}

// Adds one unit in the last place of the digit string; returns true on a carry out.
bool Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

enum class Tie { HalfEven, HalfAwayFromZero };

// Rounds the digit string `digits` (with an implied point after `intCount`
// digits, then `rest` holding the discarded digits) in place.
// Returns the rounded integer+fraction digits with the number of integer digits.
struct Rounded {
    std::string digits;
    std::size_t intCount;
};

Rounded RoundDigits(const ExactDecimal& d, int decimals, Tie tie) {
    std::string kept = d.integer + d.fraction.substr(0, std::min<std::size_t>(decimals, d.fraction.size()));
    kept.append(static_cast<std::size_t>(decimals) > d.fraction.size()
                    ? decimals - d.fraction.size() : 0, '0');
    const std::string rest = static_cast<std::size_t>(decimals) < d.fraction.size()
                                 ? d.fraction.substr(decimals) : std::string();
    bool up = false;
    if (!rest.empty()) {
        if (rest[0] > '5') {
            up = true;
        } else if (rest[0] == '5') {
            const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
            if (beyondHalf || tie == Tie::HalfAwayFromZero) {
                up = true;
            } else {
                up = ((kept.back() - '0') % 2) == 1;
            }
        }
    }
    std::size_t intCount = d.integer.size();
    if (up && Increment(kept)) {
        kept.insert(kept.begin(), '1');
        ++intCount;
    }
    // Drop leading zeros of the integer part, keeping one.
    while (intCount > 1 && kept[0] == '0') {
        kept.erase(kept.begin());
        --intCount;
    }
    return {kept, intCount};
}

std::string Join(const Rounded& r, int decimals, bool negative) {
    std::string out = negative ? "-" : "";
    out += r.digits.substr(0, r.intCount);
    if (decimals > 0) {
        out += '.';
        out += r.digits.substr(r.intCount);
    }
    return out;
}

}  // namespace

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const Rounded r = RoundDigits(Expand(value), decimals, Tie::HalfEven);
    const std::string text = Join(r, decimals, false);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return std::signbit(value) ? -result : result;
}

std::string FormatPattern(double value, int decimals) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    const Rounded r = RoundDigits(Expand(value), decimals, Tie::HalfAwayFromZero);
    return Join(r, decimals, value < 0);
}

std::string FormatGeneral(double value, int significant) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";
    const ExactDecimal d = Expand(value);
    // Position of the first significant digit decides how many decimals the
    // significant digits reach.
    int decimals;
    if (d.integer != "0") {
        decimals = significant - static_cast<int>(d.integer.size());
    } else {
        const std::size_t first = d.fraction.find_first_not_of('0');
        decimals = static_cast<int>(first) + significant;
    }
    const bool useExponent = std::fabs(value) >= 1e15 || std::fabs(value) < 1e-10;
    if (useExponent) {
        // Rare magnitudes: mantissa and exponent, as 1.5E-11.
        int exp10 = d.integer != "0" ? static_cast<int>(d.integer.size()) - 1
                                     : -static_cast<int>(d.fraction.find_first_not_of('0')) - 1;
        const double mantissa = value / std::pow(10.0, exp10);
        std::string m = FormatGeneral(mantissa, significant);
        if (m == "10" || m == "-10") {
            m = value < 0 ? "-1" : "1";
            ++exp10;
        }
        return m + (exp10 < 0 ? "E-" : "E+") + (std::abs(exp10) < 10 ? "0" : "") +
               std::to_string(std::abs(exp10));
    }
    Rounded r = RoundDigits(d, std::max(decimals, 0), Tie::HalfEven);
    std::string out = Join(r, std::max(decimals, 0), value < 0);
    if (decimals < 0) {
        // More integer digits than significant ones: zero the tail.
        const std::size_t start = out[0] == '-' ? 1 : 0;
        const std::size_t keep = start + static_cast<std::size_t>(significant) +
                                 (r.intCount > d.integer.size() ? 1 : 0);
        for (std::size_t i = keep; i < out.size(); ++i) out[i] = '0';
    }
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0") out = "0";
    return out;
}

std::string FormatTextWithPattern(const std::string& text, int decimals) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) return text;
    return FormatPattern(r.value, decimals);
}

}  // namespace korvanet
