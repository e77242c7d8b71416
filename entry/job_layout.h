// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answers of a job: every value of the figure in the order the Compute
// run asks it, one answer each.  A job file, the observation sheet's rows,
// a design's job template and the count of answers a run can use all follow
// this one list, and so does the input sequence, which asks them.
//
// With D a known point, T0, Q1 and the sixth side (A-D) are not asked: they
// come from the coordinates of A and D.  With D to be determined its two
// coordinates are still asked and answered 0, so the fourth and fifth
// answers of any job tell which D it is.

#include <array>
#include <cstddef>

#include "entry/value_rules.h"

namespace korvanet {

struct JobAnswer {
    FigureValue value;
    int number = 0;  // the name's point (0 = A), the angle's or the side's number
};

inline constexpr std::array<JobAnswer, 25> kJobAnswers = {{
    {FigureValue::Tolerance},
    {FigureValue::XOfA},
    {FigureValue::YOfA},
    {FigureValue::XOfD},
    {FigureValue::YOfD},
    {FigureValue::AzimuthT0},
    {FigureValue::OrientationQ1},
    {FigureValue::PointName, 0},
    {FigureValue::PointName, 1},
    {FigureValue::PointName, 2},
    {FigureValue::PointName, 3},
    {FigureValue::ObservedAngle, 1},
    {FigureValue::ObservedAngle, 2},
    {FigureValue::ObservedAngle, 3},
    {FigureValue::ObservedAngle, 4},
    {FigureValue::ObservedAngle, 5},
    {FigureValue::ObservedAngle, 6},
    {FigureValue::ObservedAngle, 7},
    {FigureValue::ObservedAngle, 8},
    {FigureValue::ObservedSide, 1},
    {FigureValue::ObservedSide, 2},
    {FigureValue::ObservedSide, 3},
    {FigureValue::ObservedSide, 4},
    {FigureValue::ObservedSide, 5},
    {FigureValue::ObservedSide, 6},
}};

// Whether a run asks `answer` for a figure whose D is (or is not) known.
constexpr bool IsAsked(const JobAnswer& answer, bool dKnown) {
    const bool onlyWithoutKnownD = answer.value == FigureValue::AzimuthT0 ||
                                   answer.value == FigureValue::OrientationQ1 ||
                                   (answer.value == FigureValue::ObservedSide && answer.number == 6);
    return !onlyWithoutKnownD || !dKnown;
}

// How many answers a run asks: 22 with D known, 25 without.
constexpr std::size_t AnswersAsked(bool dKnown) {
    std::size_t n = 0;
    for (const JobAnswer& answer : kJobAnswers) n += IsAsked(answer, dKnown) ? 1 : 0;
    return n;
}

// How many answers of `value` a run asks (the names, angles and sides are
// several; T0 and Q1 none with D known).
constexpr int CountAsked(FigureValue value, bool dKnown) {
    int n = 0;
    for (const JobAnswer& answer : kJobAnswers) n += answer.value == value && IsAsked(answer, dKnown) ? 1 : 0;
    return n;
}

// Where `value` (the first of its kind) stands in kJobAnswers.  Everything
// up to T0 is asked in either figure, so for those values it is also their
// place in a job.
constexpr std::size_t PlaceOf(FigureValue value) {
    std::size_t place = 0;
    while (kJobAnswers[place].value != value) ++place;
    return place;
}

}  // namespace korvanet
