// SPDX-License-Identifier: GPL-3.0-or-later
// The field book as a document: a book typed here goes through the file
// reader, the reduction and the class table shipped with the program; the
// computation sheet and the report are read back cell by cell against the
// book reduced by hand below.
#include "compute/field_book_report.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "compute/adjustment_report.h"
#include "compute/field_book_file.h"
#include "compute/field_check_texts.h"
#include "compute/job_run.h"
#include "compute/order_class_table.h"
#include "core/scripted_session.h"
#include "report/document_text.h"
#include "testing/reference_runs.h"

namespace korvanet {
namespace {

// Station A by directions in two sets, each closing the round on B, with a
// 2″ theodolite for 四等; side A-B measured both ways.  Worked by hand with
// 2C = L - (R - 180°) and mean = L - 2C/2:
//
//   set 1  B   0°02′30″  180°02′36″   2C  -6″  mean   0°02′33″
//          C  60°23′36″  240°23′42″       -6″        60°23′39″
//          D 225°19′06″   45°19′26″      -20″       225°19′16″
//          B   0°02′36″  180°02′42″       -6″         0°02′39″
//     origin (0°02′33″ + 0°02′39″)/2 = 0°02′36″: C 60°21′03″, D 225°16′40″;
//     2C range -6 - (-20) = 14″ > 13″; closures 6″ face left, 6″ face right.
//   set 2  B  90°03′30″  270°03′24″       +6″        90°03′27″
//          C 150°24′30″  330°24′28″       +2″       150°24′29″
//          D 315°20′12″  135°20′04″       +8″       315°20′08″
//          B  90°03′34″  270°03′26″       +8″        90°03′30″
//     origin 90°03′28.5″: C 60°21′00.5″, D 225°16′39.5″; 2C range 6″;
//     closures 4″ and 2″.
//   over the sets: C 60°21′01.75″ (spread 2.5″), D 225°16′39.75″ (0.5″).
//
// A-B: forward 1000.0010 m (one set, readings 2 mm apart), back 1000.0040 m,
// no constants, weather or slope: 3.0 mm apart against 2 (5 + 5 x 1.0) = 20.0 mm.
// The EDM of 5 mm + 5 mm/km is of the 10 mm class: its readings may spread 10 mm.
constexpr const char* kBook = R"(tolerance 2.5
class 四等
theodolite 2
point A 青龙山 3521408.250 512736.480 45.20
point B 望江楼 - - 60.10
point C 石门 - - 52.00
point D 东岗 3521735.980 514912.655 48.30
station A
set
B 0.0230 180.0236
C 60.2336 240.2342
D 225.1906 45.1926
B 0.0236 180.0242
set
B 90.0330 270.0324
C 150.2430 330.2428
D 315.2012 135.2004
B 90.0334 270.0326
distance A B
read 1000.0000 1000.0020
distance B A
read 1000.0040 1000.0040
)";

FieldBookRun BookRun() {
    const OrderClassTable table = LoadOrderClassTable(KORVANET_ORDER_CLASSES, "");
    return RunFieldBook(ReadFieldBook(kBook), table);
}

const DocumentTable* FindTable(const DocumentSection& section, const std::string& name) {
    for (const DocumentBlock& b : section.blocks)
        if (b.kind == DocumentBlock::Kind::Table && b.table.name == name) return &b.table;
    return nullptr;
}

const DocumentSection* FindSection(const AdjustmentDocument& doc, const std::string& heading) {
    for (const DocumentSection& s : doc.sections)
        if (s.heading == heading) return &s;
    return nullptr;
}

// A row as "cell|cell|…", with "!" in front when the row is flagged.
std::string Row(const DocumentTable& t, std::size_t i) {
    std::string out = i < t.flagged.size() && t.flagged[i] ? "!" : "";
    for (std::size_t c = 0; c < t.rows[i].size(); ++c) out += (c == 0 ? "" : "|") + t.rows[i][c];
    return out;
}

// Every row of a checks table as its item, value, limit and verdict.
std::vector<std::string> CheckRows(const DocumentTable& t) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < t.rows.size(); ++i)
        out.push_back(std::string(t.flagged[i] ? "!" : "") + t.rows[i][0] + " " + t.rows[i][1] + ": " +
                      t.rows[i][2] + " " + t.rows[i][3] + " " + t.rows[i][4]);
    return out;
}

TEST(FieldBookDocument, ASetOverTheTwoCLimitIsFlaggedAsExceeded) {
    const FieldBookRun run = BookRun();
    const AdjustmentDocument doc = FieldBookDocument(run, "a.kvf");
    EXPECT_EQ(doc.title, "外业手簿计算");
    ASSERT_EQ(doc.sections.size(), 4u);
    EXPECT_EQ(doc.sections[0].heading, "水平方向观测记录计算");
    EXPECT_EQ(doc.sections[1].heading, "测距记录与归算");
    EXPECT_EQ(doc.sections[2].heading, "限差检核");
    EXPECT_EQ(doc.sections[3].heading, "作业");

    // The paper 手簿: the first set's rows stand out, the second's do not.
    const DocumentTable* sets = FindTable(doc.sections[0], "测站 A 青龙山 方向观测");
    ASSERT_NE(sets, nullptr);
    ASSERT_EQ(sets->rows.size(), 8u);
    const std::vector<std::string> expected = {
        "!A 青龙山|1|B|0°02′30″|180°02′36″|-6.0|0°02′33.0″|0°00′00.0″|0°00′00.00″",
        "!||C|60°23′36″|240°23′42″|-6.0|60°23′39.0″|60°21′03.0″|60°21′01.75″",
        "!||D|225°19′06″|45°19′26″|-20.0|225°19′16.0″|225°16′40.0″|225°16′39.75″",
        "!||B|0°02′36″|180°02′42″|-6.0|0°02′39.0″||",
        "|2|B|90°03′30″|270°03′24″|6.0|90°03′27.0″|0°00′00.0″|",
        "||C|150°24′30″|330°24′28″|2.0|150°24′29.0″|60°21′00.5″|",
        "||D|315°20′12″|135°20′04″|8.0|315°20′08.0″|225°16′39.5″|",
        "||B|90°03′34″|270°03′26″|8.0|90°03′30.0″||",
    };
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Row(*sets, i), expected[i]) << "row " << i;

    // Every check of the station beside its table, and all of the book's in 限差检核.
    const std::vector<std::string> stationChecks = {
        "半测回归零差 A 第1测回 盘左: 6.0″ ≤ 8.0″ 合格", "半测回归零差 A 第1测回 盘右: 6.0″ ≤ 8.0″ 合格",
        "!2C 互差 A 第1测回: 14.0″ ≤ 13.0″ 超限",        "半测回归零差 A 第2测回 盘左: 4.0″ ≤ 8.0″ 合格",
        "半测回归零差 A 第2测回 盘右: 2.0″ ≤ 8.0″ 合格", "2C 互差 A 第2测回: 6.0″ ≤ 13.0″ 合格",
        "同一方向值各测回较差 A→C: 2.5″ ≤ 9.0″ 合格",    "同一方向值各测回较差 A→D: 0.5″ ≤ 9.0″ 合格",
    };
    const DocumentTable* limits = FindTable(doc.sections[0], "测站 A 限差");
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(CheckRows(*limits), stationChecks);
    const DocumentTable* all = FindTable(doc.sections[2], "限差检核");
    ASSERT_NE(all, nullptr);
    std::vector<std::string> bookChecks = stationChecks;
    bookChecks.insert(bookChecks.end(), {"一测回读数较差 A→B: 2.0 mm ≤ 10.0 mm 合格",
                                         "一测回读数较差 B→A: 0.0 mm ≤ 10.0 mm 合格",
                                         "往返较差 S(1) A-B: 3.0 mm ≤ 20.0 mm 合格"});
    EXPECT_EQ(CheckRows(*all), bookChecks);
    const std::string& verdict = doc.sections[2].blocks.back().text;
    EXPECT_NE(verdict.find("不符合 四等"), std::string::npos) << verdict;
    EXPECT_NE(verdict.find("2C 互差 A 第1测回 14.0″"), std::string::npos) << verdict;

    // The angle between the station's means, and the side as the mean of its two ways.
    const DocumentTable* angles = FindTable(doc.sections[0], "观测角");
    ASSERT_NE(angles, nullptr);
    EXPECT_EQ(Row(*angles, 0), "∠1|A|B→C|60°21′01.75″|60.210175");
    EXPECT_EQ(Row(*angles, 7), "∠8|A|C→D|164°55′38.00″|164.553800");
    const DocumentTable* sides = FindTable(doc.sections[1], "边长");
    ASSERT_NE(sides, nullptr);
    ASSERT_EQ(sides->rows.size(), 1u);
    EXPECT_EQ(Row(*sides, 0), "S(1)|A-B|1000.0010|1000.0040|3.0|20.0|合格|1000.0025");

    // Three stations and four sides are still to be observed: no job yet.
    const std::string& lacks = doc.sections[3].blocks.front().text;
    EXPECT_NE(lacks.find("测站 B 的方向观测 (station B)"), std::string::npos) << lacks;
    EXPECT_NE(lacks.find("边长 S(3) B-C (S(3))"), std::string::npos) << lacks;
}

TEST(FieldBookDocument, TheReportOfABookOpensWithItsFieldSectionsAndIsOtherwiseUnchanged) {
    const FieldBookRun book = BookRun();
    SurveyState state;
    RecordingDisplay display;
    const JobRun job = RunJob(testing::ReferenceAnswers("known-d"), state, display);
    ASSERT_TRUE(job.quality.has_value());
    ReportOptions options;
    options.job = "known-d";
    options.date = "2026-12-09";
    const AdjustmentDocument without = JobReportDocument(state, *job.quality, options);
    options.fieldBook = &book;
    AdjustmentDocument with = JobReportDocument(state, *job.quality, options);

    ASSERT_EQ(with.sections.size(), without.sections.size() + 2);
    EXPECT_EQ(with.sections[0].heading, "水平方向观测手簿");
    EXPECT_EQ(with.sections[1].heading, "测距记录与归算");
    ASSERT_NE(FindSection(without, "概况"), nullptr);
    EXPECT_EQ(FindSection(without, "水平方向观测手簿"), nullptr);
    // The set over its limit stands out in the report as on the sheet.
    const DocumentTable* limits = FindTable(with.sections[0], "测站 A 限差");
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(CheckRows(*limits)[2], "!2C 互差 A 第1测回: 14.0″ ≤ 13.0″ 超限");
    ASSERT_NE(FindTable(with.sections[1], "测距归算"), nullptr);

    with.sections.erase(with.sections.begin(), with.sections.begin() + 2);
    EXPECT_EQ(DocumentText(with), DocumentText(without));
}

// A value over its limit shows the digits that set it apart from the limit,
// however close; a value within it is read to a tenth.
TEST(FieldCheckTexts, AnExceededValueNeverReadsAsItsLimit) {
    struct Case {
        FieldCheckKind kind;
        double value;
        std::optional<double> limit;
        std::optional<bool> passed;
        const char* value_text;
        const char* limit_text;
        const char* verdict;
    };
    const Case cases[] = {
        {FieldCheckKind::TwoCRange, 13.04, 13, false, "13.04″", "≤ 13.0″", "超限"},
        {FieldCheckKind::TwoCRange, 13.00000001, 13, false, "13.00000001″", "≤ 13.0″", "超限"},
        {FieldCheckKind::TwoCRange, 12.96, 13, true, "13.0″", "≤ 13.0″", "合格"},
        {FieldCheckKind::ForwardBack, 28.33, 28.3162, false, "28.33 mm", "≤ 28.3 mm", "超限"},
        {FieldCheckKind::ForwardBack, 28.32, 28.3162, false, "28.320 mm", "≤ 28.3 mm", "超限"},
        {FieldCheckKind::ProjectionDistortion, 31.26, 25, false, "31.3 mm/km", "≤ 25.0 mm/km", "超限"},
        {FieldCheckKind::SetSpread, 30, std::nullopt, std::nullopt, "30.0″", "-", "未检核"},
    };
    for (const Case& c : cases) {
        const FieldCheck check{c.kind, "", c.value, c.limit, c.passed, ""};
        EXPECT_EQ(FieldCheckValueText(check), c.value_text) << c.value;
        EXPECT_EQ(FieldCheckLimitText(check), c.limit_text) << c.value;
        EXPECT_EQ(FieldCheckVerdictText(check), c.verdict) << c.value;
    }
}

}  // namespace
}  // namespace korvanet
