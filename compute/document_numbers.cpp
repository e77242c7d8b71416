// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/document_numbers.h"

#include <cmath>
#include <cstdio>

namespace korvanet {

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return "-";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string DegreesMinutesSecondsText(double degrees, int secondDecimals) {
    if (!std::isfinite(degrees)) return "-";
    const bool negative = degrees < 0;
    // Counted in units of the last decimal of the seconds, so that the
    // rounding carries into minutes and degrees.
    const double unit = std::pow(10.0, -secondDecimals);
    const double units = std::round(std::fabs(degrees) * 3600 / unit);
    const double perMinute = 60 / unit, perDegree = 3600 / unit;
    const double d = std::floor(units / perDegree);
    const double m = std::floor((units - d * perDegree) / perMinute);
    const double s = (units - d * perDegree - m * perMinute) * unit;
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s%.0f°%02.0f′%0*.*f″", negative && units > 0 ? "-" : "", d, m,
                  secondDecimals > 0 ? secondDecimals + 3 : 2, secondDecimals, s);
    return buffer;
}

std::string OneInText(double relative) {
    if (!(relative > 0) || !std::isfinite(relative)) return "-";
    return "1/" + FixedText(1 / relative, 0);
}

}  // namespace korvanet
