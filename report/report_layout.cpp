// SPDX-License-Identifier: GPL-3.0-or-later
// Number forms of the report (each value goes through the display rules of
// the window):
//   Blank(v, n)      " " then v with n fixed decimals          e.g. " 45.30000"
//   Blank(v, n, u)   the same followed by the unit u (" 秒", " 毫米")
//   Fixed(v, n)      v with n fixed decimals, no blank in front   e.g. "4324901.631"
//   Counter(i)       an index in the printer's number form: the place of the
//                    sign, the digits, a blank, so that "b(" i ")=" reads b( 1 )=
// Packed angles d.mmss are written with 5 decimals, coordinates and sides in
// metres with 3, misclosures in seconds or millimetres with 2, correlates with 8.

#include "report/report_layout.h"

#include <string>
#include <utility>

#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

ReportItem At(int column, std::string text) { return {column, std::move(text)}; }
ReportItem Then(std::string text) { return {kFollowsPrevious, std::move(text)}; }

std::string Fixed(double value, int decimals) { return FormatPattern(value, decimals); }
std::string Blank(double value, int decimals) { return " " + FormatPattern(value, decimals); }
std::string Blank(double value, int decimals, const char* unit) { return Blank(value, decimals) + unit; }

std::string Counter(int i) { return i < 0 ? std::to_string(i) + " " : " " + std::to_string(i) + " "; }

// The arrays that a completed run has filled, with the highest index the
// report reads from each.
bool ArraysComplete(const SurveyState& s) {
    return s.PointNames.size() >= 4 && s.AngleEntered.size() >= 9 && s.Angle.size() >= 9 &&
           s.SideObserved.size() >= 7 && s.Side.size() >= 7 && s.w.size() >= 10 && s.k.size() >= 10 &&
           s.X.size() >= 5 && s.Y.size() >= 5;
}

void RefuseUnlessCompleted(const SurveyState& s) {
    if (!s.RunCompleted) {
        if (s.Angle.empty()) {
            throw KorvanetError("还没有进行过计算，没有可以打印的结果。请先“进行计算”。");
        }
        throw KorvanetError("上一次计算没有完成，没有可以打印的结果。请重新“进行计算”。");
    }
    if (!ArraysComplete(s)) {
        throw KorvanetError("计算结果不完整，无法打印报告。请重新“进行计算”。");
    }
}

class ReportBuilder {
public:
    explicit ReportBuilder(const SurveyState& s) : s_(s) {}

    ReportDocument Build() {
        Heading();
        KnownData();
        Angles();
        Sides();
        Misclosures();
        Correlates();
        AdjustedCoordinates();
        Precision();
        return std::move(doc_);
    }

private:
    void Line(std::vector<ReportItem> items) { doc_.lines.push_back({fontSize_, std::move(items)}); }
    void EmptyLine() { Line({}); }

    void Heading() {
        fontSize_ = kReportHeadingFontSize;
        Line({At(28, "--- Korvanet ---")});
        EmptyLine();
        EmptyLine();
        fontSize_ = kReportBodyFontSize;
        EmptyLine();
        EmptyLine();
    }

    // The name column, then x and y: "白塔:" at 24, x at 29, y at 42.
    void PointRow(const std::string& name, const std::string& x, const std::string& y) {
        Line({At(24, name), Then(":"), At(29, x), At(42, y)});
    }

    void CoordinateHeader() { Line({At(24, "点名"), At(34, "X"), At(47, "Y")}); }

    void KnownData() {
        Line({At(22, "起始点座标 :")});
        EmptyLine();
        CoordinateHeader();
        // A and D are written as they were typed, through the coordinate pattern.
        PointRow(s_.PointNames[0], FormatTextWithPattern(s_.xa, 3), FormatTextWithPattern(s_.ya, 3));
        if (DIsKnownPoint(s_)) {
            PointRow(s_.PointNames[3], FormatTextWithPattern(s_.xd, 3), FormatTextWithPattern(s_.yd, 3));
        } else if (DIsNotKnownPoint(s_)) {
            // A free D: the figure was oriented by the azimuth at A and the
            // angle from that exterior direction to the first side.
            Line({At(22, "起始方位角 (度,分,秒) :"), At(35, "外方位定向角 (度,分,秒) :")});
            Line({At(24, "T0="), Then(Blank(s_.T0, 5)), At(37, "Qa="), Then(Blank(s_.Qa, 5))});
        }
        EmptyLine();
    }

    void Angles() {
        Line({At(22, "观测角 (度,分,秒) :"), At(37, "平差角 (度,分,秒) :")});
        for (int i = 1; i <= 8; ++i) {
            // The adjusted angle is turned into d.mmss in a value of the
            // report's own; Angle(i) stays in decimal degrees.
            const double adjustedPacked = RoundHalfEven(DegreesToPacked(s_.Angle[i]), 5);
            Line({At(24, "b("), Then(Counter(i)), Then(")="), Then(Blank(s_.AngleEntered[i], 5)),
                  At(39, "B("), Then(Counter(i)), Then(")="), Then(Blank(adjustedPacked, 5))});
        }
        EmptyLine();
    }

    void Sides() {
        Line({At(22, "观测边(米) :"), At(37, "平差边(米) :")});
        for (int i = 1; i <= 6; ++i) {
            const double observed = RoundHalfEven(static_cast<double>(s_.SideObserved[i]), 3);
            Line({At(24, "s("), Then(Counter(i)), Then(")="), Then(Blank(observed, 3)), At(39, "s("),
                  Then(Counter(i)), Then(")="), Then(Blank(s_.Side[i], 3))});
        }
        EmptyLine();
    }

    // The report numbers the misclosures consecutively: the two triangle
    // misclosures, the figure condition, then the eight side-angle conditions.
    void Misclosures() {
        Line({At(22, "图形条件闭合差 :")});
        Line({At(24, "w(1)="), Then(Blank(RoundHalfEven(s_.TriangleW[1], 2), 2, kSecondUnit))});
        Line({At(24, "w(2)="), Then(Blank(RoundHalfEven(s_.TriangleW[2], 2), 2, kSecondUnit))});
        Line({At(24, "w(3)="), Then(Blank(RoundHalfEven(static_cast<double>(s_.w[1]), 2), 2, kSecondUnit))});
        Line({At(22, "边角条件闭合差 :")});
        for (int j = 4; j <= 11; ++j) {
            // Metres to millimetres as the window shows them: the product is
            // stored in single precision before the rounding to 2 decimals.
            const float millimetres = static_cast<float>(static_cast<double>(s_.w[j - 2]) * 1000.0);
            const double shown = RoundHalfEven(static_cast<double>(millimetres), 2);
            Line({At(24, "w("), Then(Counter(j)), Then(")="), Then(Blank(shown, 2, kMillimetreUnit))});
        }
        EmptyLine();
    }

    void Correlates() {
        Line({At(22, "法方程式 K 系数 :")});
        for (int i = 1; i <= 9; ++i) {
            Line({At(24, "k("), Then(Counter(i)), Then(")="), Then(Blank(RoundHalfEven(s_.k[i], 8), 8))});
        }
        EmptyLine();
    }

    void AdjustedCoordinates() {
        Line({At(34, "平差结果 :")});
        EmptyLine();
        CoordinateHeader();
        // B, C and D; with a free D also A as reached around the figure, under A's name.
        const int rows = DIsKnownPoint(s_) ? 3 : (DIsNotKnownPoint(s_) ? 4 : 0);
        for (int i = 1; i <= rows; ++i) {
            const std::string& name = i == 4 ? s_.PointNames[0] : s_.PointNames[i];
            PointRow(name, Fixed(s_.X[i], 3), Fixed(s_.Y[i], 3));
        }
        EmptyLine();
    }

    void PointPrecision(const std::string& name, const char* suffix, int weightDecimals, double invPx,
                        double invPy, float mx, float my, float md) {
        const std::string s = suffix;
        Line({At(22, "待定点( "), Then(name), Then(" ):")});
        Line({At(24, "1/px(" + s + ")="), Then(Blank(invPx, weightDecimals)), At(40, "1/py(" + s + ")="),
              Then(Blank(invPy, weightDecimals))});
        Line({At(24, "  mx(" + s + ")="), Then(Blank(mx, 2, kMillimetreUnit)), At(40, "  my(" + s + ")="),
              Then(Blank(my, 2, kMillimetreUnit))});
        Line({At(24, "  md(" + s + ")="), Then(Blank(md, 2, kMillimetreUnit))});
    }

    void Precision() {
        Line({At(24, "精度评定 :")});
        EmptyLine();
        // The weight reciprocals of B carry five decimals, those of C two.
        PointPrecision(s_.PointNames[1], "b", 5, s_.InvPxB, s_.InvPyB, s_.MxB, s_.MyB, s_.MdB);
        EmptyLine();
        PointPrecision(s_.PointNames[2], "c", 2, s_.InvPxC, s_.InvPyC, s_.MxC, s_.MyC, s_.MdC);
    }

    const SurveyState& s_;
    ReportDocument doc_;
    int fontSize_ = kReportHeadingFontSize;
};

}  // namespace

ReportDocument BuildReport(const SurveyState& state) {
    RefuseUnlessCompleted(state);
    return ReportBuilder(state).Build();
}

}  // namespace korvanet
