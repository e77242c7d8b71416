// SPDX-License-Identifier: GPL-3.0-or-later
// The whole report as text for every reference job, against golden files that
// were checked line by line against the report's layout table.
#include "report/report_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "report/report_layout.h"
#include "testing/reference_states.h"

namespace korvanet {
namespace {

std::string ReadGolden(const std::string& name) {
    std::ifstream in(std::string(KORVANET_REPORT_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// On a difference, the first differing line says more than two long texts.
void ExpectSameText(const std::string& actual, const std::string& expected) {
    ASSERT_FALSE(expected.empty()) << "golden file missing";
    std::istringstream a(actual), e(expected);
    std::string lineA, lineE;
    for (int number = 1; std::getline(e, lineE); ++number) {
        ASSERT_TRUE(std::getline(a, lineA)) << "report ends before line " << number << ": " << lineE;
        ASSERT_EQ(lineA, lineE) << "line " << number;
    }
    EXPECT_FALSE(std::getline(a, lineA)) << "report has more lines: " << lineA;
    EXPECT_EQ(actual, expected);
}

TEST(ReportText, KnownD) {
    ExpectSameText(RenderReportText(BuildReport(testing::KnownDState())), ReadGolden("known-d.report"));
}

TEST(ReportText, FreeD) {
    ExpectSameText(RenderReportText(BuildReport(testing::FreeDState())), ReadGolden("free-d.report"));
}

TEST(ReportText, FreeDNegativeQ1) {
    ExpectSameText(RenderReportText(BuildReport(testing::FreeDNegativeQ1State())),
                   ReadGolden("free-d-negative-q1.report"));
}

TEST(ReportText, FreeDQ1Zero) {
    ExpectSameText(RenderReportText(BuildReport(testing::FreeDQ1ZeroState())),
                   ReadGolden("free-d-q1-zero.report"));
}

TEST(ReportText, EmptyPointNamesLeaveTheColonAlone) {
    SurveyState state = testing::FreeDState();
    state.PointNames = {"", "", "", "", ""};
    const std::string text = RenderReportText(BuildReport(state));
    const std::string pad(23, ' ');
    EXPECT_NE(text.find("\n" + pad + ":    3719520.165  416464.592\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + pad + ":    3719301.782  416977.702\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + std::string(21, ' ') + "待定点(  ):\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace korvanet
