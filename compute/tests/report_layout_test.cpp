// SPDX-License-Identifier: GPL-3.0-or-later
// The report as data: which lines appear, their tab stops and number forms,
// and the refusals.  The records are those the reference jobs leave through
// the job runner, changed where a test needs it; the whole report of each
// reference job is checked as text against its golden file through the batch
// tool (tools/tests/check_golden_jobs.sh).
#include "report/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/korvanet_error.h"
#include "core/packed_angle.h"
#include "report/report_text.h"
#include "testing/reference_runs.h"

namespace korvanet {
namespace {

// The records of the reference jobs, each run once.
const SurveyState& KnownDState() {
    static const SurveyState state = testing::ReferenceRun("known-d");
    return state;
}
const SurveyState& FreeDState() {
    static const SurveyState state = testing::ReferenceRun("free-d");
    return state;
}

// A line's items as "column:text" pieces, "+" for an item that follows.
std::string Describe(const ReportLine& line) {
    std::string out;
    for (const ReportItem& item : line.items) {
        if (!out.empty()) out += '|';
        out += (item.column == kFollowsPrevious ? std::string("+") : std::to_string(item.column)) + ":" +
               item.text;
    }
    return out;
}

// The first line whose first item has this text, "" when there is none.
std::string LineStartingWith(const ReportDocument& doc, const std::string& first) {
    for (const ReportLine& line : doc.lines) {
        if (!line.items.empty() && line.items.front().text == first) return Describe(line);
    }
    return "";
}

std::vector<std::string> AllLines(const ReportDocument& doc) {
    std::vector<std::string> out;
    for (const ReportLine& line : doc.lines) out.push_back(Describe(line));
    return out;
}

std::string RefusalMessage(const SurveyState& state) {
    try {
        BuildReport(state);
    } catch (const KorvanetError& error) {
        return error.what();
    }
    return "(no refusal)";
}

TEST(ReportRefusal, NoCompletedRunNoReport) {
    const SurveyState neverComputed;
    EXPECT_EQ(RefusalMessage(neverComputed), "还没有进行过计算，没有可以打印的结果。请先“进行计算”。");

    // A run that stopped part-way: arrays exist and are partly filled.
    SurveyState failed = KnownDState();
    failed.RunCompleted = false;
    EXPECT_EQ(RefusalMessage(failed), "上一次计算没有完成，没有可以打印的结果。请重新“进行计算”。");

    // A record claiming completion without its arrays is refused, not read out of range.
    SurveyState inconsistent;
    inconsistent.RunCompleted = true;
    EXPECT_EQ(RefusalMessage(inconsistent), "计算结果不完整，无法打印报告。请重新“进行计算”。");
    inconsistent = KnownDState();
    inconsistent.k.resize(9);
    EXPECT_EQ(RefusalMessage(inconsistent), "计算结果不完整，无法打印报告。请重新“进行计算”。");
}

TEST(ReportLayout, HeadingInTwelvePointThenTenPoint) {
    const ReportDocument doc = BuildReport(KnownDState());
    ASSERT_GE(doc.lines.size(), 6u);
    EXPECT_EQ(Describe(doc.lines[0]), "28:--- Korvanet ---");
    // Lines 2 and 3 are empty in the heading's size, 4 and 5 empty in the body's.
    const int sizes[] = {12, 12, 12, 10, 10, 10};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doc.lines[i].fontSize, sizes[i]) << "line " << i + 1;
    for (int i = 1; i < 5; ++i) EXPECT_TRUE(doc.lines[i].items.empty()) << "line " << i + 1;
    for (std::size_t i = 3; i < doc.lines.size(); ++i) EXPECT_EQ(doc.lines[i].fontSize, 10);
}

TEST(ReportLayout, KnownDPrintsDAndThreeResultRows) {
    const ReportDocument doc = BuildReport(KnownDState());
    const std::vector<std::string> lines = AllLines(doc);
    const std::vector<std::string> known = {
        "22:起始点座标 :",
        "",
        "24:点名|34:X|47:Y",
        "24:白塔|+::|29:4324901.631|42:469649.741",
        "24:DZ1|+::|29:4324968.233|42:470047.017",
        "",
        "22:观测角 (度,分,秒) :|37:平差角 (度,分,秒) :",
    };
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 12), known);
    EXPECT_EQ(LineStartingWith(doc, "T0="), "");
    EXPECT_EQ(LineStartingWith(doc, "起始方位角 (度,分,秒) :"), "");

    // The result table: B, C and D under their names, nothing for A around the figure.
    const std::vector<std::string> tail = {
        "34:平差结果 :",
        "",
        "24:点名|34:X|47:Y",
        "24:北山|+::|29:4325241.581|42:469631.491",
        "24:C9|+::|29:4325353.818|42:469978.923",
        "24:DZ1|+::|29:4324968.233|42:470047.017",
        "",
        "24:精度评定 :",
    };
    const auto at = std::find(lines.begin(), lines.end(), "34:平差结果 :");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 8), tail);
}

TEST(ReportLayout, FreeDPrintsTheOrientationAndFourResultRows) {
    SurveyState state = FreeDState();
    state.Qa = 0;  // Q1 entered as 0
    const ReportDocument doc = BuildReport(state);
    EXPECT_EQ(LineStartingWith(doc, "起始方位角 (度,分,秒) :"),
              "22:起始方位角 (度,分,秒) :|35:外方位定向角 (度,分,秒) :");
    EXPECT_EQ(LineStartingWith(doc, "T0="), "24:T0=|+: 277.51568|37:Qa=|+: 0.00000");
    // The fourth row is A again, reached around the figure, under A's name.
    const std::vector<std::string> lines = AllLines(doc);
    const auto at = std::find(lines.begin(), lines.end(), "34:平差结果 :");
    ASSERT_NE(at, lines.end());
    const std::vector<std::string> rows = {
        "24:R116|+::|29:3719909.049|42:416537.642",
        "24:II-4|+::|29:3719636.508|42:417015.340",
        "24:HILLTOP|+::|29:3719301.782|42:416977.702",
        "24:K17|+::|29:3719520.165|42:416464.592",
        "",
    };
    EXPECT_EQ(std::vector<std::string>(at + 3, at + 8), rows);

    state.Qa = -191.15336;
    EXPECT_EQ(LineStartingWith(BuildReport(state), "T0="), "24:T0=|+: 277.51568|37:Qa=|+: -191.15336");
}

TEST(ReportLayout, DWithOneZeroCoordinateIsNeitherKnownNorFree) {
    SurveyState state = KnownDState();
    state.yd = "0";
    const ReportDocument doc = BuildReport(state);
    const std::vector<std::string> lines = AllLines(doc);
    // Line 9 (A) is followed directly by the empty line 11.
    const auto a = std::find(lines.begin(), lines.end(), "24:白塔|+::|29:4324901.631|42:469649.741");
    ASSERT_NE(a, lines.end());
    EXPECT_EQ(*(a + 1), "");
    EXPECT_EQ(*(a + 2), "22:观测角 (度,分,秒) :|37:平差角 (度,分,秒) :");
    EXPECT_EQ(LineStartingWith(doc, "T0="), "");
    // The result table has its header and no rows.
    const auto results = std::find(lines.begin(), lines.end(), "34:平差结果 :");
    ASSERT_NE(results, lines.end());
    EXPECT_EQ(*(results + 2), "24:点名|34:X|47:Y");
    EXPECT_EQ(*(results + 3), "");
    EXPECT_EQ(*(results + 4), "24:精度评定 :");
    // Line 10 and the three result rows are all that the known D adds.
    EXPECT_EQ(BuildReport(KnownDState()).lines.size() - doc.lines.size(), 4u);
}

TEST(ReportLayout, AngleLinesCountAndConvertTheAdjustedAngle) {
    SurveyState state = KnownDState();
    state.AngleEntered[1] = 45.3;
    state.Angle[1] = 45.5;
    EXPECT_EQ(LineStartingWith(BuildReport(state), "b("),
              "24:b(|+: 1 |+:)=|+: 45.30000|39:B(|+: 1 |+:)=|+: 45.30000");
    // No carry at 60 seconds: 29.99999999 minutes print as 29 minutes 60 seconds.
    state.Angle[1] = 45 + 29.99999999 / 60;
    EXPECT_EQ(BuildReport(state).lines[12].items.back().text, " 45.29600");
    // Rounded to 5 decimals before the pattern: 45 deg 30' 12.34567" is 45.3012346.
    state.Angle[1] = PackedToDegrees(45.301234567);
    EXPECT_EQ(BuildReport(state).lines[12].items.back().text, " 45.30123");
    EXPECT_EQ(Describe(BuildReport(state).lines[19]),
              "24:b(|+: 8 |+:)=|+: 44.25426|39:B(|+: 8 |+:)=|+: 44.25453");
}

TEST(ReportLayout, ObservedSidesAreRoundedHalfEvenAdjustedSidesGoStraightToThePattern) {
    SurveyState state = KnownDState();
    state.SideObserved[1] = 100.0625f;  // exactly representable: a tie at 3 decimals
    state.Side[1] = 100.0625;
    EXPECT_EQ(LineStartingWith(BuildReport(state), "s("),
              "24:s(|+: 1 |+:)=|+: 100.062|39:s(|+: 1 |+:)=|+: 100.063");
}

TEST(ReportLayout, MisclosuresNumberedOneToElevenWithTheirUnits) {
    SurveyState state = KnownDState();
    state.TriangleW[1] = 4;
    state.TriangleW[2] = 0.125;  // a tie: rounded to even before the pattern
    state.w[1] = -2.5f;
    state.w[2] = 0.0123456f;   // metres, shown in millimetres
    state.w[9] = -0.0000049f;  // -0.0049 mm rounds to zero: no minus sign
    const ReportDocument doc = BuildReport(state);
    EXPECT_EQ(LineStartingWith(doc, "图形条件闭合差 :"), "22:图形条件闭合差 :");
    EXPECT_EQ(LineStartingWith(doc, "w(1)="), "24:w(1)=|+: 4.00 秒");
    EXPECT_EQ(LineStartingWith(doc, "w(2)="), "24:w(2)=|+: 0.12 秒");
    EXPECT_EQ(LineStartingWith(doc, "w(3)="), "24:w(3)=|+: -2.50 秒");
    EXPECT_EQ(LineStartingWith(doc, "边角条件闭合差 :"), "22:边角条件闭合差 :");
    const std::vector<std::string> lines = AllLines(doc);
    const auto first = std::find(lines.begin(), lines.end(), "24:w(|+: 4 |+:)=|+: 12.35 毫米");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(*(first + 7), "24:w(|+: 11 |+:)=|+: 0.00 毫米");
    EXPECT_EQ(*(first + 8), "");
}

TEST(ReportLayout, CorrelatesWithEightDecimalsAndTheirSign) {
    SurveyState state = KnownDState();
    state.k[2] = -0.123456784;
    state.k[3] = -1e-12;  // rounds to zero: printed without a sign
    const ReportDocument doc = BuildReport(state);
    const std::vector<std::string> lines = AllLines(doc);
    const auto heading = std::find(lines.begin(), lines.end(), "22:法方程式 K 系数 :");
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(*(heading + 1), "24:k(|+: 1 |+:)=|+: -3.29558826");
    EXPECT_EQ(*(heading + 2), "24:k(|+: 2 |+:)=|+: -0.12345678");
    EXPECT_EQ(*(heading + 3), "24:k(|+: 3 |+:)=|+: 0.00000000");
    EXPECT_EQ(*(heading + 9), "24:k(|+: 9 |+:)=|+: 0.00000000");
}

TEST(ReportLayout, PrecisionOfBWithFiveDecimalsOfCWithTwo) {
    SurveyState state = KnownDState();
    state.MxB = 0.125f;  // single values go to the pattern unrounded: half away from zero
    const std::vector<std::string> lines = AllLines(BuildReport(state));
    const std::vector<std::string> expected = {
        "24:精度评定 :",
        "",
        "22:待定点( |+:北山|+: ):",
        "24:1/px(b)=|+: 1.00658|40:1/py(b)=|+: 1.25018",
        "24:  mx(b)=|+: 0.13 毫米|40:  my(b)=|+: 2.65 毫米",
        "24:  md(b)=|+: 3.56 毫米",
        "",
        "22:待定点( |+:C9|+: ):",
        "24:1/px(c)=|+: 0.83|40:1/py(c)=|+: 1.81",
        "24:  mx(c)=|+: 2.16 毫米|40:  my(c)=|+: 3.18 毫米",
        "24:  md(c)=|+: 3.85 毫米",
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.end() - 11, lines.end()), expected);
}

TEST(ReportLayout, BuildingLeavesTheRecordAsItWasAndRepeats) {
    const SurveyState& original = FreeDState();
    SurveyState state = original;
    const std::string first = RenderReportText(BuildReport(state));
    const std::string second = RenderReportText(BuildReport(state));
    EXPECT_EQ(first, second);
    EXPECT_EQ(state.Angle, original.Angle);  // still decimal degrees
    EXPECT_EQ(state.AngleEntered, original.AngleEntered);
    EXPECT_EQ(state.SideObserved, original.SideObserved);
    EXPECT_EQ(state.Side, original.Side);
    EXPECT_EQ(state.w, original.w);
    EXPECT_EQ(state.k, original.k);
    EXPECT_EQ(state.X, original.X);
    EXPECT_EQ(state.Y, original.Y);
    EXPECT_EQ(state.PointNames, original.PointNames);
    EXPECT_EQ(state.T0, original.T0);
    EXPECT_EQ(state.Qa, original.Qa);
    EXPECT_TRUE(state.RunCompleted);
}

// Points without names: the colon stands where the name would end.
TEST(ReportLayout, EmptyPointNamesLeaveTheColonAlone) {
    std::vector<std::string> answers = testing::ReferenceAnswers("free-d");
    for (std::size_t name = 7; name <= 10; ++name) answers.at(name).clear();
    const std::string text = RenderReportText(BuildReport(testing::CompletedRun(answers)));
    const std::string pad(23, ' ');
    EXPECT_NE(text.find("\n" + pad + ":    3719520.165  416464.592\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + pad + ":    3719301.782  416977.702\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + std::string(21, ' ') + "待定点(  ):\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace korvanet
