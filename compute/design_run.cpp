// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in design_observations.h; packed angles d.mmss, sides and
// coordinates in metres.

#include "compute/design_run.h"

#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "entry/job_layout.h"

namespace korvanet {
namespace {

constexpr int kAngleSecondDecimals = 6;  // 1e-6 arc seconds: 1e-5 mm on 2 km
constexpr int kSideDecimals = 6;         // micrometres

void RefuseFigure(const Design& design) {
    if (const auto problem = CheckDesignFigure(design)) throw InputError(problem->message);
}

// The answers up to and including the names, with T0 and Q1 as given.
std::vector<std::string> Head(const Design& design, const std::string& t0, const std::string& q1) {
    const auto& p = design.points;
    std::vector<std::string> answers = {ShortestText(design.tolerance), ShortestText(p[0].x),
                                        ShortestText(p[0].y)};
    if (design.dKnown) {
        answers.push_back(ShortestText(p[3].x));
        answers.push_back(ShortestText(p[3].y));
    } else {
        answers.insert(answers.end(), {"0", "0", t0, q1});
    }
    for (const DesignPoint& point : p) answers.push_back(point.name);
    return answers;
}

}  // namespace

std::vector<std::string> DesignAnswers(const Design& design) {
    RefuseFigure(design);
    const DesignObservations o = ObservationsOf(design);
    std::string t0 = PackedAngleText(o.startAzimuth, kAngleSecondDecimals);
    if (t0.rfind("360.", 0) == 0) t0 = PackedAngleText(0, kAngleSecondDecimals);  // rounded up to a full turn
    std::vector<std::string> answers =
        Head(design, t0, PackedAngleText(o.orientationAngle, kAngleSecondDecimals));
    for (int i = 1; i <= 8; ++i) answers.push_back(PackedAngleText(o.angle[i], kAngleSecondDecimals));
    const int sides = design.dKnown ? 5 : 6;
    for (int n = 1; n <= sides; ++n) answers.push_back(FixedText(o.side[n], kSideDecimals));
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
