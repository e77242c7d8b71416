// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in design_observations.h; packed angles d.mmss, sides and
// coordinates in metres.

#include "compute/design_run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/korvanet_error.h"
#include "entry/job_layout.h"

namespace korvanet {
namespace {

constexpr int kAngleSecondDecimals = 6;  // 1e-6 arc seconds: 1e-5 mm on 2 km
constexpr int kSideDecimals = 6;         // micrometres

// The shortest text that reads back as the same number.
std::string Shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

void RefuseFigure(const Design& design) {
    if (const auto problem = CheckDesignFigure(design)) throw InputError(problem->message);
}

// The answers up to and including the names, with T0 and Q1 as given.
std::vector<std::string> Head(const Design& design, const std::string& t0, const std::string& q1) {
    const auto& p = design.points;
    std::vector<std::string> answers = {Shortest(design.tolerance), Shortest(p[0].x), Shortest(p[0].y)};
    if (design.dKnown) {
        answers.push_back(Shortest(p[3].x));
        answers.push_back(Shortest(p[3].y));
    } else {
        answers.insert(answers.end(), {"0", "0", t0, q1});
    }
    for (const DesignPoint& point : p) answers.push_back(point.name);
    return answers;
}

}  // namespace

std::string PackedAngleText(double degrees, int secondDecimals) {
    const bool negative = degrees < 0;
    const double unit = std::pow(10.0, secondDecimals);
    // Whole units of the last decimal of the seconds, so that no rounding can
    // give 60 seconds or 60 minutes.
    const long long total = std::llround(std::fabs(degrees) * 3600 * unit);
    const long long perMinute = 60 * static_cast<long long>(unit);
    const long long perDegree = 60 * perMinute;
    const long long d = total / perDegree, m = total % perDegree / perMinute, s = total % perMinute;
    std::string seconds = std::to_string(s);
    seconds.insert(
        0, static_cast<std::size_t>(std::max(0, secondDecimals + 2 - static_cast<int>(seconds.size()))), '0');
    const std::string minutes = (m < 10 ? "0" : "") + std::to_string(m);
    return (negative ? "-" : "") + std::to_string(d) + "." + minutes + seconds;
}

std::vector<std::string> DesignAnswers(const Design& design) {
    RefuseFigure(design);
    const DesignObservations o = ObservationsOf(design);
    std::string t0 = PackedAngleText(o.startAzimuth, kAngleSecondDecimals);
    if (t0.rfind("360.", 0) == 0) t0 = PackedAngleText(0, kAngleSecondDecimals);  // rounded up to a full turn
    std::vector<std::string> answers =
        Head(design, t0, PackedAngleText(o.orientationAngle, kAngleSecondDecimals));
    for (int i = 1; i <= 8; ++i) answers.push_back(PackedAngleText(o.angle[i], kAngleSecondDecimals));
    const int sides = design.dKnown ? 5 : 6;
    for (int n = 1; n <= sides; ++n) answers.push_back(Fixed(o.side[n], kSideDecimals));
    return answers;
}

std::vector<std::string> DesignJobTemplate(const Design& design) {
    std::vector<std::string> answers = Head(design, "", "");
    answers.resize(AnswersAsked(design.dKnown));
    return answers;
}

DesignRun RunDesign(const Design& design) {
    DesignRun d;
    std::vector<std::string> answers;
    try {
        answers = DesignAnswers(design);
    } catch (const KorvanetError& e) {
        d.run.failure = e.what();
        return d;
    }
    d.run = RunJob(std::move(answers), d.state, d.display, PrecisionScale::APriori);
    return d;
}

}  // namespace korvanet
