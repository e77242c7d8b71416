// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts, boxes and display patterns of every value the Compute command
// asks, in the order it asks them.  Their wording is what the surveyor reads:
// every blank counts.

#include <string>

#include "entry/confirmed_input.h"

namespace korvanet {

// The tolerance is asked once, without confirmation and without a box.
inline constexpr const char* kTolerancePrompt = "输入规范测角限差 : ( 以秒为单位 )";
inline constexpr const char* kToleranceTitle = "规范限差";

const ConfirmedInstance& XOfAInstance();
const ConfirmedInstance& YOfAInstance();
const ConfirmedInstance& XOfDInstance();
const ConfirmedInstance& YOfDInstance();
const ConfirmedInstance& AzimuthT0Instance();
const ConfirmedInstance& OrientationQ1Instance();
// point: 0 = A, 1 = B, 2 = C, 3 = D
const ConfirmedInstance& PointNameInstance(int point);
// i = 1..8 in the order of the diagram; shown in Text9(i - 1)
const ConfirmedInstance& ObservedAngleInstance(int i);
// i = 1..6; shown in Text10(i - 1)
const ConfirmedInstance& ObservedSideInstance(int i);

}  // namespace korvanet
