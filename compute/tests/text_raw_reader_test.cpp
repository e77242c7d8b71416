// SPDX-License-Identifier: GPL-3.0-or-later
// The text raw data of a domestic total station as the field book takes it:
// the manual's own example, a day's work on a braced quadrilateral written
// the way the instrument writes it, and the lines that must be refused.

#include "compute/text_raw_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "compute/field_book_file.h"

namespace korvanet {
namespace {

double Seconds(int degrees, int minutes, double seconds) {
    return degrees * 3600.0 + minutes * 60.0 + seconds;
}

bool AnyNoteHas(const InstrumentRecord& record, const std::string& words) {
    for (const std::string& note : record.notes) {
        if (note.find(words) != std::string::npos) return true;
    }
    return false;
}

// The example file of Appendix A ("File format introduction") of the NWI
// NTS03 owner's manual, http://88.208.23.73:8080/en/manual/nwi/nts03/
// nts03_owners-manual_1721341-111.html; the GeoMax Zoom1x manual's
// Attachment B prints the same lines.
constexpr const char* kManualExample =
    "STA ST001,1.205,AD\r\n"
    "XYZ 100.000,100.000,10.000\r\n"
    "BKB BS001,45.2526,50.0000\r\n"
    "BS BS001,1.800\r\n"
    "HVD 98.2354,90.2314,10.235\r\n"
    "SC A1,1.800,CODE1\r\n"
    "NEZ 104.662,99.567,10.214\r\n"
    "SD A2,1.800,CODE1\r\n"
    "HVD 78.3628,92.4612,4.751\r\n"
    "SA A3,1.800,CODE1\r\n"
    "HV 63.2349,89.2547\r\n"
    "NOTE this note\r\n";

TEST(TextRawReader, ReadsTheManualsExampleWithWhatItLeftOutNoted) {
    EXPECT_TRUE(LooksLikeTextRaw(kManualExample));
    const InstrumentRecord record = ReadTextRaw(kManualExample);
    EXPECT_EQ(record.format, "文本原始数据");
    ASSERT_EQ(record.stations.size(), 1u);
    const InstrumentStation& station = record.stations[0];
    EXPECT_EQ(station.id, "ST001");
    EXPECT_EQ(station.line, 1);
    ASSERT_TRUE(station.instrumentHeight);
    EXPECT_DOUBLE_EQ(*station.instrumentHeight, 1.205);
    EXPECT_FALSE(station.east || station.north || station.height);

    // The backsight, the distance shot and the angle shot; the coordinate
    // shot A1 holds no angle.
    ASSERT_EQ(station.pointings.size(), 3u);
    struct Expected {
        int line;
        const char* target;
        double horizontal, zenith;
        double slope;  // 0: none
    };
    const Expected expected[] = {
        {4, "BS001", Seconds(98, 23, 54), Seconds(90, 23, 14), 10.235},
        {8, "A2", Seconds(78, 36, 28), Seconds(92, 46, 12), 4.751},
        {10, "A3", Seconds(63, 23, 49), Seconds(89, 25, 47), 0},
    };
    for (std::size_t k = 0; k < 3; ++k) {
        const InstrumentPointing& p = station.pointings[k];
        SCOPED_TRACE(expected[k].target);
        EXPECT_EQ(p.line, expected[k].line);
        EXPECT_EQ(p.target, expected[k].target);
        EXPECT_NEAR(p.horizontal, expected[k].horizontal, 1e-6);
        ASSERT_TRUE(p.zenith);
        EXPECT_NEAR(*p.zenith, expected[k].zenith, 1e-6);
        EXPECT_EQ(p.slope.has_value(), expected[k].slope > 0);
        if (p.slope) {
            EXPECT_DOUBLE_EQ(*p.slope, expected[k].slope);
        }
        ASSERT_TRUE(p.reflectorHeight);
        EXPECT_DOUBLE_EQ(*p.reflectorHeight, 1.8);
    }

    // What the book must say it did not take, each with its line.
    EXPECT_TRUE(AnyNoteHas(record, "第 2 行 XYZ")) << "the station's coordinates";
    EXPECT_TRUE(AnyNoteHas(record, "第 3 行 BKB")) << "the orientation";
    EXPECT_TRUE(AnyNoteHas(record, "第 4 行 BS")) << "the backsight taken as a direction";
    EXPECT_TRUE(AnyNoteHas(record, "第 6 行 SC A1")) << "the coordinate shot";
    EXPECT_TRUE(AnyNoteHas(record, "NOTE (第 12 行)"));
    EXPECT_NE(std::find(record.notes.begin(), record.notes.end(), "编码未用: AD, CODE1"), record.notes.end())
        << "the codes, each once";

    // A field book, a GSI block and a CSV of points are not such a file.
    EXPECT_FALSE(LooksLikeTextRaw("# 外业手簿\nstation A\nset\nB 0.0230 180.0236\n"));
    EXPECT_FALSE(LooksLikeTextRaw("\n*110001+00000000000000A1 21.324+0000000009000000\n"));
    EXPECT_FALSE(LooksLikeTextRaw("点名,x,y\nA,3521408.250,512736.480\n"));
    EXPECT_FALSE(LooksLikeTextRaw(""));
}

// A reading as the instrument packs it, from whole arc seconds.
std::string Packed(long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld.%02ld%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

// The figure: A and B the base, C and D across; the true azimuths and
// distances from the coordinates, the zenith angles from the heights.
struct Corner {
    const char* id;
    double north, east, height;
};
constexpr Corner kCorners[] = {{"A", 3000.0, 5000.0, 52.310},
                               {"B", 3012.5, 6486.2, 61.004},
                               {"C", 4310.8, 6395.7, 47.880},
                               {"D", 4288.1, 4934.4, 70.125}};

long AzimuthSeconds(const Corner& from, const Corner& to) {
    double azimuth = std::atan2(to.east - from.east, to.north - from.north) * 180 / M_PI;
    if (azimuth < 0) azimuth += 360;
    return std::lround(azimuth * 3600);
}
double Horizontal(const Corner& from, const Corner& to) {
    return std::hypot(to.east - from.east, to.north - from.north);
}

// Two sets at every corner, each face I to the other three then face II
// back; the second set's circle moved by 90 degrees.  The first station
// writes STA with SD/HVD, the second STN with SS/SD as other instruments
// do, the third parts its names with commas, the fourth measures angles
// only.
struct Written {
    std::string text;
    struct Pointing {
        int line;
        std::string station, target;
        long horizontal, zenith;
        double slope;  // 0: angles only
    };
    std::vector<Pointing> pointings;
};

Written QuadrilateralDay() {
    Written w;
    int line = 0;
    const auto put = [&](const std::string& text) {
        w.text += text + "\n";
        ++line;
    };
    put("JOB 四等三角网,青龙山");
    put("DATE 2026-05-12,08:30");
    for (int s = 0; s < 4; ++s) {
        const Corner& at = kCorners[s];
        const std::string heightText = std::to_string(1.4 + 0.05 * s).substr(0, 5);
        if (s == 1) {
            put(std::string("STN ") + at.id + "," + heightText + ",");
        } else if (s == 2) {
            put(std::string("STA,") + at.id + "," + heightText);
        } else {
            put(std::string("STA ") + at.id + "," + heightText + ",CTRL");
        }
        put(std::string("BKB ") + kCorners[(s + 1) % 4].id + ",0.0000,0.0000");
        for (int set = 0; set < 2; ++set) {
            const long zero = AzimuthSeconds(at, kCorners[(s + 1) % 4]) - 30 - set * 324000;
            for (int face = 0; face < 2; ++face) {
                for (int k = 1; k <= 3; ++k) {
                    const int t = face == 0 ? (s + k) % 4 : (s + 4 - k) % 4;
                    const Corner& to = kCorners[t];
                    const double across = Horizontal(at, to);
                    const double rise = to.height + 1.6 - at.height - (1.4 + 0.05 * s);
                    const long zenith = std::lround((90 - std::atan2(rise, across) * 180 / M_PI) * 3600) + 7;
                    long horizontal = (AzimuthSeconds(at, to) - zero + 2 * 1296000) % 1296000;
                    long vertical = zenith;
                    if (face == 1) {
                        horizontal = (horizontal + 648000 + 4) % 1296000;  // a 4" collimation
                        vertical = 1296000 - zenith + 14;                  // and a 7" index
                    }
                    const double slope = s == 3 ? 0 : std::round(std::hypot(across, rise) * 1000) / 1000;
                    const std::string name = s == 1 ? "SS " : s == 3 ? "SA " : s == 2 ? "SD," : "SD ";
                    put(name + to.id + ",1.600,");
                    w.pointings.push_back({line, at.id, to.id, horizontal, vertical, slope});
                    char distance[32];
                    std::snprintf(distance, sizeof distance, "%.3f", slope);
                    if (s == 3) {
                        put("HV " + Packed(horizontal) + "," + Packed(vertical));
                    } else {
                        put((s == 1 ? "SD " : "HVD ") + Packed(horizontal) + "," + Packed(vertical) + "," +
                            distance);
                    }
                }
            }
        }
        if (s == 0) put("ATMOS 21.5,1003.2");
    }
    return w;
}

TEST(TextRawReader, ReadsTwoSetsAtEveryCornerOfTheQuadrilateral) {
    const Written written = QuadrilateralDay();
    ASSERT_TRUE(LooksLikeTextRaw(written.text));
    const InstrumentRecord record = ReadTextRaw(written.text);

    ASSERT_EQ(record.stations.size(), 4u);
    std::size_t next = 0;
    for (std::size_t s = 0; s < 4; ++s) {
        const InstrumentStation& station = record.stations[s];
        SCOPED_TRACE(station.id);
        EXPECT_EQ(station.id, kCorners[s].id);
        ASSERT_TRUE(station.instrumentHeight);
        EXPECT_NEAR(*station.instrumentHeight, 1.4 + 0.05 * static_cast<double>(s), 1e-9);
        ASSERT_EQ(station.pointings.size(), 12u) << "two sets of three targets on both faces";
        int faceTwo = 0;
        for (const InstrumentPointing& p : station.pointings) {
            const Written::Pointing& w = written.pointings[next++];
            SCOPED_TRACE(p.line);
            EXPECT_EQ(p.line, w.line);
            EXPECT_EQ(p.target, w.target);
            EXPECT_DOUBLE_EQ(p.horizontal, static_cast<double>(w.horizontal));
            ASSERT_TRUE(p.zenith);
            EXPECT_DOUBLE_EQ(*p.zenith, static_cast<double>(w.zenith));
            if (*p.zenith > 648000) ++faceTwo;
            EXPECT_EQ(p.slope.has_value(), w.slope > 0);
            if (p.slope) {
                EXPECT_DOUBLE_EQ(*p.slope, w.slope);
            }
            ASSERT_TRUE(p.reflectorHeight);
            EXPECT_DOUBLE_EQ(*p.reflectorHeight, 1.6);
        }
        EXPECT_EQ(faceTwo, 6);
    }
    EXPECT_EQ(next, written.pointings.size());
    EXPECT_TRUE(AnyNoteHas(record, "JOB (第 1 行), DATE (第 2 行)"));
    EXPECT_TRUE(AnyNoteHas(record, "ATMOS 21.5,1003.2"));

    // Kept to 0.01", a reading a hair below the full circle is the zero of
    // the circle, not 360 degrees.
    const InstrumentRecord hair = ReadTextRaw("STA A,1.5\nSA B,1.6\nHV 359.5959996,90.0000\n");
    EXPECT_EQ(hair.stations.at(0).pointings.at(0).horizontal, 0.0);
}

TEST(TextRawReader, RefusesWhatItCannotReadNamingTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* why;
    };
    const Case cases[] = {
        {"STA A,1.5\nSD B,1.6\nHVD98.2354,90.2314,10.235\n", 3, "不是一条记录"},
        {"JOB x\nSD B,1.6\nHVD 98.2354,90.2314,10.235\n", 2, "之前没有测站"},
        {"STA A,1.5\nSD B,1.6\nSTA B,1.5\n", 2, "缺少观测值行"},
        {"STA A,1.5\nSA B,1.6\n\n", 2, "文件在这里结束"},
        {"STA A,1.5\nSC B,1.6\nSTA B,1.5\n", 2, "缺少坐标行"},
        {"STA A,1.5\nSD B,1.6\nHVD 98.6354,90.2314,10.235\n", 3, "分是 63"},
        {"STA A,1.5\nSD B,1.6\nHVD 98.2354,-90.2314,10.235\n", 3, "负数"},
        {"STA A,1.5\nSD B,1.6\nHVD 360.0000,90.2314,10.235\n", 3, "小于 360 度"},
        {"STA A,1.5\nSD B,1.6\nHVD 98.2354,90.2314,1O.235\n", 3, "斜距不是一个数值"},
        {"STA A,1.5\nSD B,1.6\nHVD 98.2354,90.2314,0.000\n", 3, "不是一次测距"},
        {"STA A,1.5\nSA B,1.6\nHV 98.2354,90.2314,10.235\n", 3, "这一行有 3 个值"},
        {"STA A,1.5\nSD B,1.6\nHVD 98.2354,90.2314\n", 3, "这一行有 2 个值"},
        {"STA A,1.5\nHVD 98.2354,90.2314,10.235\n", 2, "前面没有点名行"},
        {"STA A,1.5\nSS B,1.6\nHD 98.2354,10.231,0.512\n", 3, "HD 记录 (水平角, 平距, 高差) 未读入"},
        {"STA A,1.5\nSS B,1.6\nOFFSET 0.5,0,0\n", 3, "OFFSET 偏心观测未读入"},
        {"JOB x\nUNITS M,D\nSTA A,1.5\n", 2, "UNITS 记录未读入"},
        {"STA A,1.5\nXYZ 100.0,200.0\n", 2, "这一行有 2 个"},
        {"STA A,1.5\nNEZ 100.0,200.0,3.0\n", 2, "坐标行前面没有测站"},
        {"STA A,1.5\nPT B,1.6\n", 2, "不认识的记录 PT"},
        {"STA ,1.5\n", 1, "没有点名"},
        {"STA A,1.5m\n", 1, "仪器高不是一个数值"},
        {"STA A,1.5\nSD B,1.6,X,Y\n", 2, "这一行有 4 个字段"},
        {"STA A,1.5\nBKB B,45.2566,0\n", 2, "BKB 的角度"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ReadTextRaw(c.text);
            ADD_FAILURE() << "read";
        } catch (const FieldBookLineError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(e.why().find(c.why), std::string::npos) << e.why();
            EXPECT_NE(std::string(e.what()).find("第 " + std::to_string(c.line) + " 行"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace korvanet
