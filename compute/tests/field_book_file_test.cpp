// SPDX-License-Identifier: GPL-3.0-or-later
// The field book file as a surveyor keeps it: a whole book reads, is written
// out and reads back to the same book; saved by a Chinese Windows editor
// (GB18030) it reads the same, with a word that it was so read; and the
// field limits of the shipped class table, overridden by a user's row.

#include "compute/field_book_file.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "compute/order_class_table.h"

namespace korvanet {
namespace {

// Every header line; A and B by directions with closing lines, C by 测回法
// (∠4 from A to B, ∠5 from D to A); two distance records.
constexpr const char* kBook = R"(# 四等三角网 外业手簿
tolerance 2.5
point A 青龙山 3521408.250 512736.480 45.20   # 已知点
point B 望江楼 - - 60.10
point C 石门 - -
point D 东岗 - - 48.30
orient 81.2610 -30.0000
theodolite	2
class 四等
edm 5 5
constants 3 -4
atmosphere 281.8 0.29065
surface 50.0
projection

station A
set
B 0.0230 180.0236
C 60.2336 240.2342
D 225.1906 45.1918
B 0.0236 180.0242
set
B 90.0330 270.0324
C 150.23365 330.2330
D 315.1912 135.1918
B 90.0324 270.0330
station B
set
C 0.0000 180.0010
D 45.1000 225.1006
A 100.0000 280.0004
C 0.0004 180.0012
station C
set
A 0.0100 180.0106
B 70.2030 250.2036
set
D 10.1000 190.1008
A 120.1 300.1
distance A B
read 1832.4812 1832.4815
read 1832.4809 1832.4811 1832.4813
zenith 89.5903 270.0052
met 21.5 1003.2
distance B A
read 1832.4790 1832.4794
heights 1.520 1.600
met -3 996
)";

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "/" + std::to_string(::getpid()) + "-" + name;
}

std::string ToGb18030(const std::string& utf8) {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

TEST(FieldBookFile, AWholeBookReadsWritesAndReadsBackTheSame) {
    const FieldBook book = ReadFieldBook(kBook);
    // Worked by hand: 150°23′36.5″, 0°02′30″ and 300°10′ in arc seconds.
    ASSERT_EQ(book.stations.size(), 3u);
    EXPECT_EQ(book.stations[0].sets[1].lines[1].left.value, 150 * 3600 + 23 * 60 + 36.5);
    EXPECT_EQ(book.stations[0].sets[0].lines[0].left.value, 150);
    EXPECT_EQ(book.stations[2].sets[1].lines[1].right.value, 300 * 3600 + 600);
    EXPECT_EQ(book.orient->at(1).value, -30 * 3600);
    EXPECT_EQ(book.orient->at(1).text, "-30.0000");
    ASSERT_EQ(book.distances.size(), 2u);
    EXPECT_EQ(book.distances[0].sets[1].size(), 3u);
    EXPECT_EQ(book.distances[1].met->at(0).value, -3);

    const std::string text = FieldBookText(book);
    EXPECT_EQ(ReadFieldBook(text), book) << text;
    EXPECT_EQ(FieldBookText(ReadFieldBook(text)), text);
}

TEST(FieldBookFile, AGb18030FileReadsTheSameWithANotice) {
    const std::string path = TempPath("book.kvf");
    Write(path, ToGb18030(kBook));
    std::string notice;
    EXPECT_EQ(ReadFieldBookFile(path, &notice), ReadFieldBook(kBook));
    EXPECT_NE(notice.find("GB18030"), std::string::npos) << notice;
    Write(path, kBook);
    EXPECT_EQ(ReadFieldBookFile(path, &notice), ReadFieldBook(kBook));
    EXPECT_EQ(notice, "");
    ::unlink(path.c_str());
}

// The shipped limits with a surveying unit's own 四等 row for 2″ theodolites.
TEST(FieldLimits, AUsersRowOverridesItsClassOnlyAndEachInstrumentFindsItsRow) {
    const std::string user = TempPath("order-classes.json");
    Write(user, R"({"field_limits": {"directions": [{"classes": ["四等"], "theodolite_arcsec": 2,
        "half_round_closure_arcsec": 7, "two_c_range_arcsec": 11, "set_spread_arcsec": 8,
        "clause": "本单位技术设计书"}]}})");
    const OrderClassTable table =
        LoadOrderClassTable(KORVANET_EXAMPLES_DIR "/../data/order-classes.json", user);
    ASSERT_NE(table.Find("四等"), nullptr);  // the user's file of limits alone keeps the shipped classes

    const FieldLimits fourth = FieldLimitsFor(table.fieldLimits, "四等", 2, 5, 5);
    ASSERT_TRUE(fourth.halfRoundClosure);
    EXPECT_EQ(fourth.halfRoundClosure->value, 7);
    EXPECT_EQ(fourth.halfRoundClosure->clause, "本单位技术设计书");
    // A 5 + 5 ppm EDM is a 10 mm instrument over one kilometre.
    ASSERT_TRUE(fourth.readingSpread && fourth.distanceSetSpread);
    EXPECT_EQ(fourth.readingSpread->value, 10);
    EXPECT_EQ(fourth.distanceSetSpread->value, 15);
    EXPECT_TRUE(fourth.forwardBack.has_value());

    const FieldLimits third = FieldLimitsFor(table.fieldLimits, "三等", 2, 2, 2);
    ASSERT_TRUE(third.halfRoundClosure && third.twoCRange && third.readingSpread);
    EXPECT_EQ(third.halfRoundClosure->value, 8);
    EXPECT_EQ(third.twoCRange->value, 13);
    EXPECT_NE(third.halfRoundClosure->clause.find("3.3.8"), std::string::npos);
    EXPECT_EQ(third.readingSpread->value, 5);  // a 4 mm EDM: the 5 mm row

    // No row of the standard holds a 6″ theodolite at 四等; at 一级 it has no 2C limit.
    const FieldLimits sixAtFourth = FieldLimitsFor(table.fieldLimits, "四等", 6, 5, 5);
    EXPECT_FALSE(sixAtFourth.twoCRange || sixAtFourth.halfRoundClosure || sixAtFourth.setSpread);
    const FieldLimits sixAtFirst = FieldLimitsFor(table.fieldLimits, "一级", 6, 2, 2);
    EXPECT_FALSE(sixAtFirst.twoCRange.has_value());
    ASSERT_TRUE(sixAtFirst.halfRoundClosure && sixAtFirst.setSpread && sixAtFirst.halfSetDifference);
    EXPECT_EQ(sixAtFirst.halfRoundClosure->value, 18);
    EXPECT_EQ(sixAtFirst.setSpread->value, 24);
    EXPECT_EQ(sixAtFirst.halfSetDifference->value, 40);
    EXPECT_NE(sixAtFirst.halfSetDifference->note, "");  // a textbook figure says so
    ASSERT_TRUE(sixAtFirst.readingSpread);
    EXPECT_EQ(sixAtFirst.readingSpread->value, 10);  // a better EDM is held to the 10 mm row
    EXPECT_FALSE(sixAtFirst.forwardBack.has_value());

    Write(user, R"({"field_limits": {"distances": [{"classes": ["四等"], "reading_spread_mm": 5}]}})");
    try {
        LoadOrderClassTable(KORVANET_EXAMPLES_DIR "/../data/order-classes.json", user);
        ADD_FAILURE() << "a distance row without its EDM bound was read";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("distances 第 1 行: edm_up_to_mm"), std::string::npos)
            << e.what();
    }
    ::unlink(user.c_str());
}

}  // namespace
}  // namespace korvanet
