// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Completed survey records for the report tests, one per reference job
// (known-d, free-d, free-d-negative-q1, free-d-q1-zero).

#include "core/survey_state.h"

namespace korvanet::testing {

SurveyState KnownDState();           // D known: line 10, three result rows
SurveyState FreeDState();            // D free, Q1 positive, a long name for D
SurveyState FreeDNegativeQ1State();  // D free, Q1 negative, Chinese names, a side past column 39
SurveyState FreeDQ1ZeroState();      // D free, Q1 = 0, Chinese names for B and C

}  // namespace korvanet::testing
