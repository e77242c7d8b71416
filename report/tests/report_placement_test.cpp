// SPDX-License-Identifier: GPL-3.0-or-later
// Character columns and the placement of items on rows: the rule for a tab
// stop the line has passed and the one blank for a tab stop reached exactly.
#include "report/report_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "report/report_text.h"
#include "report/text_columns.h"

namespace korvanet {
namespace {

ReportItem At(int column, const std::string& text) { return {column, text}; }
ReportItem Then(const std::string& text) { return {kFollowsPrevious, text}; }

std::string Render(std::vector<ReportItem> items, int fontSize = 10) {
    ReportDocument doc;
    doc.lines.push_back({fontSize, std::move(items)});
    return RenderReportText(doc);
}

TEST(TextColumns, WideAndFullWidthCharactersTakeTwoColumns) {
    EXPECT_EQ(TextColumns(""), 0);
    EXPECT_EQ(TextColumns("b( 1 )= 45.30000"), 16);
    EXPECT_EQ(TextColumns("宋体"), 4);
    EXPECT_EQ(TextColumns("观测边(米) :"), 12);
    EXPECT_EQ(TextColumns(" 3.92 毫米"), 10);
    EXPECT_EQ(TextColumns("（１）"), 6);  // full-width parentheses and digit
    EXPECT_EQ(TextColumns("ｶﾅ"), 2);      // half-width katakana stay narrow
    EXPECT_EQ(TextColumns("한글"), 4);    // Hangul syllables
    EXPECT_EQ(TextColumns("かな"), 4);
    EXPECT_EQ(TextColumns("Müller-Ø"), 8);  // Latin letters with marks are narrow
    EXPECT_EQ(TextColumns("𠀀"), 2);        // CJK extension B, four UTF-8 bytes
    EXPECT_EQ(TextColumns("\xE5\xAE"), 2);  // a cut sequence: each byte one column
    EXPECT_EQ(TextColumns("a\xFF"
                          "b"),
              3);
    EXPECT_EQ(CodePointColumns(U'\u3000'), 2);  // ideographic space
    EXPECT_EQ(CodePointColumns(U'\u303F'), 1);
    EXPECT_EQ(CodePointColumns(U'\uFF61'), 1);
}

TEST(Placement, ItemsStartAtTheirTabStopsAfterWideText) {
    // "点名" takes columns 24 to 27, so X at 34 leaves six blanks.
    EXPECT_EQ(Render({At(24, "点名"), At(34, "X"), At(47, "Y")}),
              std::string(23, ' ') + "点名      X            Y\n");
    // Following items run on without a gap; the counter form " 1 " included.
    EXPECT_EQ(Render({At(24, "b("), Then(" 1 "), Then(")="), Then(" 45.30000")}),
              std::string(23, ' ') + "b( 1 )= 45.30000\n");
}

TEST(Placement, AnItemWhoseColumnIsPassedStartsANewRowAtThatColumn) {
    // "b( 1 )= 245.30000" from column 24 ends in column 40, past 39.
    ReportDocument doc;
    doc.lines.push_back({10, {At(24, "b( 1 )= 245.30000"), At(39, "B( 1 )= 245.30012")}});
    const PlacedReport placed = PlaceReport(doc);
    ASSERT_EQ(placed.rows.size(), 2u);
    ASSERT_EQ(placed.rows[0].items.size(), 1u);
    ASSERT_EQ(placed.rows[1].items.size(), 1u);
    EXPECT_EQ(placed.rows[1].items[0].column, 39);
    EXPECT_EQ(placed.rows[1].fontSize, 10);
    EXPECT_EQ(RenderReportText(doc),
              std::string(23, ' ') + "b( 1 )= 245.30000\n" + std::string(38, ' ') + "B( 1 )= 245.30012\n");

    // A Chinese heading of 23 columns from 22 passes 35.
    EXPECT_EQ(Render({At(22, "起始方位角 (度,分,秒) :"), At(35, "外方位")}),
              std::string(21, ' ') + "起始方位角 (度,分,秒) :\n" + std::string(34, ' ') + "外方位\n");

    // A long name passes column 29: the coordinates go below it, and the
    // following tab stop is measured on the new row.
    EXPECT_EQ(Render({At(24, "HILLTOP"), Then(":"), At(29, "3719301.782"), At(42, "416977.702")}),
              std::string(23, ' ') + "HILLTOP:\n" + std::string(28, ' ') + "3719301.782  416977.702\n");
}

TEST(Placement, AnItemWhoseColumnIsReachedExactlyGetsOneBlank) {
    // "1/px(b)= 0.88339" fills columns 24 to 39; "1/py(b)=" asked for 40 would
    // read "0.883391/py(b)=", so it moves to 41.
    ReportDocument doc;
    doc.lines.push_back({10, {At(24, "1/px(b)="), Then(" 0.88339"), At(40, "1/py(b)="), Then(" 1.25018")}});
    const PlacedReport placed = PlaceReport(doc);
    ASSERT_EQ(placed.rows.size(), 1u);
    ASSERT_EQ(placed.rows[0].items.size(), 4u);
    EXPECT_EQ(placed.rows[0].items[2].column, 41);
    EXPECT_EQ(placed.rows[0].items[3].column, 49);
    EXPECT_EQ(RenderReportText(doc), std::string(23, ' ') + "1/px(b)= 0.88339 1/py(b)= 1.25018\n");

    // One column shorter: the tab stop itself leaves the one blank.
    EXPECT_EQ(Render({At(24, "1/px(c)="), Then(" 10.34"), At(40, "1/py(c)="), Then(" 1.42")}),
              std::string(23, ' ') + "1/px(c)= 10.34  1/py(c)= 1.42\n");
    // Wide text reaching the tab stop exactly: "白塔:" fills 24 to 28.
    EXPECT_EQ(Render({At(24, "白塔"), Then(":"), At(29, "4324901.631"), At(42, "469649.741")}),
              std::string(23, ' ') + "白塔: 4324901.631 469649.741\n");
}

TEST(Placement, EmptyItemsAndEmptyLines) {
    // An empty name leaves ":" alone at column 24.
    EXPECT_EQ(Render({At(24, ""), Then(":"), At(29, "1.000"), At(42, "2.000")}),
              std::string(23, ' ') + ":    1.000        2.000\n");
    EXPECT_EQ(Render({At(22, "待定点( "), Then(""), Then(" ):")}), std::string(21, ' ') + "待定点(  ):\n");
    EXPECT_EQ(Render({}), "\n");
    // Trailing blanks of an item are trimmed from the row.
    EXPECT_EQ(Render({At(24, "AB  ")}), std::string(23, ' ') + "AB\n");
    EXPECT_EQ(Render({At(24, "   ")}), "\n");
}

TEST(Placement, EveryRowKeepsItsLineFontSize) {
    ReportDocument doc;
    doc.lines.push_back({12, {At(28, "--- Korvanet ---")}});
    doc.lines.push_back({12, {}});
    doc.lines.push_back({10, {At(22, "x"), At(5, "y")}});
    const PlacedReport placed = PlaceReport(doc);
    ASSERT_EQ(placed.rows.size(), 4u);
    EXPECT_EQ(placed.rows[0].fontSize, 12);
    EXPECT_EQ(placed.rows[1].fontSize, 12);
    EXPECT_TRUE(placed.rows[1].items.empty());
    EXPECT_EQ(placed.rows[2].fontSize, 10);
    EXPECT_EQ(placed.rows[3].fontSize, 10);
    EXPECT_EQ(placed.rows[3].items[0].column, 5);
}

}  // namespace
}  // namespace korvanet
