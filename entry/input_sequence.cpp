// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/input_sequence.h"

#include <cmath>
#include <string>

#include "core/korvanet_error.h"
#include "core/number_text.h"
#include "core/packed_angle.h"
#include "entry/confirmed_input.h"
#include "entry/input_prompts.h"
#include "entry/job_layout.h"
#include "entry/value_rules.h"

namespace korvanet {
namespace {

// The rules have already kept every value in range; this only guards the
// conversion itself should a rule ever let a value through that leaves the
// double range (the seconds term multiplies a packed angle by 10000).
double DegreesOrThrow(double degrees, const std::string& text, const std::string& what) {
    if (!std::isfinite(degrees)) {
        throw InputError(what + "的数值太大(溢出):\"" + text + "\"");
    }
    return degrees;
}

// Exactly one zero coordinate of D fits neither reading of D; asking on would
// adjust a figure the surveyor did not mean, so the run stops here.
void RefuseHalfZeroD(const SurveyState& state) {
    if (const Refusal refusal = CheckHalfZeroD(state.xd, state.yd)) throw InputError(*refusal);
}

// Each value is judged by the one rule of its place in the figure.
ValueRule RuleOf(FigureValue value, int number = 0) {
    return [value, number](const std::string& text, const NumberReading& reading) {
        return CheckFigureValue(value, number, text, reading);
    };
}

// The value of a confirmed text; `name` names it in the message.
double NumberOf(const ConfirmedValue& confirmed, const std::string& name) {
    return confirmed.reading.IsNumber() ? confirmed.reading.value : NumberOrThrow(confirmed.text, name);
}

}  // namespace

RunValues RunInputSequence(SurveyState& state, Prompter& prompter, TextDisplay& display) {
    RunValues values;
    state.CreateArrays();

    // The tolerance has no confirmation: a refused one is simply asked again.
    std::string tolerance = prompter.Ask(kTolerancePrompt, kToleranceTitle, PromptKind::Value);
    while (const Refusal refusal = CheckTolerance(tolerance)) {
        if (!prompter.Refuse(*refusal)) throw InputError(*refusal);
        tolerance = prompter.Ask(kTolerancePrompt, kToleranceTitle, PromptKind::Correction);
    }
    state.Tolerance = SingleOrThrow(NumberOrThrow(tolerance, "规范测角限差"), "规范测角限差");

    const ConfirmedValue xa =
        ConfirmedNumberInput(XOfAInstance(), prompter, display, RuleOf(FigureValue::XOfA));
    state.xa = xa.text;
    const ConfirmedValue ya =
        ConfirmedNumberInput(YOfAInstance(), prompter, display, RuleOf(FigureValue::YOfA));
    state.ya = ya.text;
    state.xd = ConfirmedInput(XOfDInstance(), prompter, display, RuleOf(FigureValue::XOfD));
    state.yd = ConfirmedInput(YOfDInstance(), prompter, display, RuleOf(FigureValue::YOfD));
    RefuseHalfZeroD(state);

    // Without a second known point the figure is oriented by the azimuth T0 of
    // an exterior direction at A and the angle Q1 from it to side S1.
    const bool dKnown = !DIsNotKnownPoint(state);
    if (CountAsked(FigureValue::AzimuthT0, dKnown) > 0) {
        const ConfirmedValue t0 =
            ConfirmedNumberInput(AzimuthT0Instance(), prompter, display, RuleOf(FigureValue::AzimuthT0));
        state.T0 = NumberOf(t0, "外方位角 T0");
        values.StartAzimuth = DegreesOrThrow(PackedToDegrees(state.T0), t0.text, "外方位角 T0");

        const ConfirmedValue q1 = ConfirmedNumberInput(OrientationQ1Instance(), prompter, display,
                                                       RuleOf(FigureValue::OrientationQ1));
        state.Qa = NumberOf(q1, "定向角 Q1");
        values.OrientationAngle = DegreesOrThrow(SignedPackedToDegrees(state.Qa), q1.text, "定向角 Q1");
        // A measured Q1 is an observation like the angles, whichever way it was
        // turned; Q1 = 0 means T0 already is the azimuth of A-B and nothing was
        // measured.  The sign stays in OrientationAngle, not in the weight.
        values.ReciprocalWeights[0] = state.Qa != 0 ? 1.0f : 0.0f;
    }

    // A point name takes any text without a control character.
    for (int point = 0; point < CountAsked(FigureValue::PointName, dKnown); ++point) {
        state.PointNames[point] = ConfirmedInput(PointNameInstance(point), prompter, display,
                                                 RuleOf(FigureValue::PointName, point));
    }

    for (int i = 1; i <= CountAsked(FigureValue::ObservedAngle, dKnown); ++i) {
        const ConfirmedValue angle = ConfirmedNumberInput(ObservedAngleInstance(i), prompter, display,
                                                          RuleOf(FigureValue::ObservedAngle, i));
        state.AngleEntered[i] = NumberOf(angle, AngleName(i));
        state.Angle[i] = DegreesOrThrow(PackedToDegrees(state.AngleEntered[i]), angle.text, AngleName(i));
    }

    // A known D gives side 6 (A-D) from the coordinates, so it is not asked.
    values.SideCount = CountAsked(FigureValue::ObservedSide, dKnown);
    for (int i = 1; i <= values.SideCount; ++i) {
        const ConfirmedValue side = ConfirmedNumberInput(ObservedSideInstance(i), prompter, display,
                                                         RuleOf(FigureValue::ObservedSide, i));
        state.Side[i] = NumberOf(side, SideName(i));
        state.SideObserved[i] = SingleOrThrow(state.Side[i], SideName(i));
    }

    state.X[0] = NumberOf(xa, "已知点 A 的纵座标");
    state.Y[0] = NumberOf(ya, "已知点 A 的横座标");
    return values;
}

}  // namespace korvanet
