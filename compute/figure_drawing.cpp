// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: a point (x north, y east) in metres is drawn at
// (left + (y - yMin) s, top + (xMax - x) s), s pixels per metre, so north is
// up and east is right.  An ellipse with azimuth theta (from north towards
// east) has its major axis along the screen direction (sin theta, -cos theta),
// which is SVG's x axis turned by theta - 90 degrees (SVG turns clockwise).

#include "compute/figure_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "adjust/quadrilateral.h"
#include "core/display_text.h"
#include "report/markup_text.h"

namespace korvanet {
namespace {

constexpr double kWidth = 760, kHeight = 640;
constexpr double kMargin = 90;        // room for names, ellipses and the legend
constexpr double kLegendHeight = 70;  // below the figure
const char* const kSuspectColour = "#d00000";

// Numbers in the drawing never take the user's locale ("1,5" would break it).
std::string Num(double value) { return FixedText(value, 2); }

// The shortest form that reads back as the same number: "500", "0.5", "20000".
std::string Plain(double value) { return ShortestText(value); }

std::string Xml(const std::string& text) {
    std::string out;
    AppendEscapedMarkup(out, text);
    return out;
}

// A round figure (1, 2 or 5 times a power of ten) not above `value`.
double RoundDown125(double value) {
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * decade <= value) return step * decade;
    return decade;
}

struct Screen {
    double x, y;
};

struct Frame {
    double scale = 1;  // pixels per metre
    double xMax = 0, yMin = 0;
    double left = kMargin, top = kMargin;
    Screen At(double x, double y) const { return {left + (y - yMin) * scale, top + (xMax - x) * scale}; }
};

std::string SuspectText(const ObservationCheck& s) {
    std::string what = s.kind == ObservationKind::Side ? "观测边 S(" : "观测角 B(";
    return what + std::to_string(s.index) + ")  w = " + Num(s.w.value_or(0));
}

// The largest semi-axis, mm, of the ellipses drawn; 0 for none.
double LargestAxis(const QualityCheck& quality, bool relativeEllipses) {
    double largest = 0;
    for (const PointCheck& p : quality.points)
        if (p.precision) largest = std::max(largest, p.precision->ellipse.a);
    if (relativeEllipses)
        for (const RelativeEllipse& e : quality.figure.relativeEllipses) largest = std::max(largest, e.a);
    return largest;
}

}  // namespace

double EllipseMagnification(double largestAxisMm, double figureSizeM) {
    return RoundDown125(figureSizeM / 12 / (largestAxisMm / 1000));
}

std::string MagnificationText(double magnification) { return "误差椭圆放大 " + Plain(magnification) + " 倍"; }

std::string DesignEllipsesText(const QualityCheck& quality) {
    return "精度估算: 误差椭圆按先验 σ0 = " + Num(quality.unit) + "″";
}

double FigureEllipseMagnification(const QualityCheck& quality, bool relativeEllipses) {
    const double largestAxis = LargestAxis(quality, relativeEllipses);
    if (largestAxis <= 0) return 1;
    double xMin = quality.points[0].x, xMax = xMin, yMin = quality.points[0].y, yMax = yMin;
    for (const PointCheck& p : quality.points) {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    const double size = std::max({xMax - xMin, yMax - yMin, 1e-3});
    return EllipseMagnification(largestAxis, size);
}

std::string FigureSvg(const QualityCheck& quality, bool relativeEllipses) {
    return DrawFigure(quality, relativeEllipses).svg;
}

FigureDrawing DrawFigure(const QualityCheck& quality, bool relativeEllipses) {
    FigureDrawing drawing;
    const std::vector<PointCheck>& points = quality.points;
    Frame f;
    double xMin = points[0].x, yMax = points[0].y;
    f.xMax = points[0].x;
    f.yMin = points[0].y;
    for (const PointCheck& p : points) {
        f.xMax = std::max(f.xMax, p.x);
        xMin = std::min(xMin, p.x);
        f.yMin = std::min(f.yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    const double north = std::max(f.xMax - xMin, 1e-3), east = std::max(yMax - f.yMin, 1e-3);
    f.scale = std::min((kWidth - 2 * kMargin) / east, (kHeight - 2 * kMargin - kLegendHeight) / north);
    // Centre the figure in the space it has.
    f.left = (kWidth - east * f.scale) / 2;
    f.top = kMargin + ((kHeight - 2 * kMargin - kLegendHeight) - north * f.scale) / 2;

    const double largestAxis = LargestAxis(quality, relativeEllipses);
    const double magnification = FigureEllipseMagnification(quality, relativeEllipses);

    const ObservationCheck* suspect = quality.Suspect();
    drawing.pixelsPerMetre = f.scale;
    std::string& svg = drawing.svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) + "\" height=\"" +
           Num(kHeight) + "\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(kHeight) +
           "\" font-family=\"Noto Sans CJK SC, WenQuanYi Micro Hei, sans-serif\">\n";
    // In numbers: SVG Tiny readers take no percentages.
    svg += "<rect width=\"" + Num(kWidth) + "\" height=\"" + Num(kHeight) + "\" fill=\"white\"/>\n";

    // The sides, each with its number at its middle.
    for (int n = 1; n <= 6; ++n) {
        const PointCheck &from = points[quadrilateral::kSideEnds[n].from],
                         &to = points[quadrilateral::kSideEnds[n].to];
        const Screen p = f.At(from.x, from.y);
        const Screen q = f.At(to.x, to.y);
        const bool isSuspect = suspect && suspect->kind == ObservationKind::Side && suspect->index == n;
        svg += "<line class=\"side" + std::string(isSuspect ? " suspect" : "") + "\" id=\"side-" +
               std::to_string(n) + "\" x1=\"" + Num(p.x) + "\" y1=\"" + Num(p.y) + "\" x2=\"" + Num(q.x) +
               "\" y2=\"" + Num(q.y) + "\" stroke=\"" + (isSuspect ? kSuspectColour : "#303030") +
               "\" stroke-width=\"" + (isSuspect ? "4" : "1.5") + "\"/>\n";
        // A third of the way along, so that the labels of the two diagonals
        // stay clear of their crossing.
        const double lx = p.x + (q.x - p.x) * 0.35 + 4, ly = p.y + (q.y - p.y) * 0.35 - 4;
        svg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(ly) + "\" font-size=\"12\" fill=\"" +
               (isSuspect ? kSuspectColour : "#707070") + "\">S(" + std::to_string(n) + ")</text>\n";
    }

    // The suspect angle: an arc between its two sides at its point.
    if (suspect && suspect->kind == ObservationKind::Angle) {
        const quadrilateral::AngleRays& rays = quadrilateral::kAngleRays[suspect->index];
        const int i = suspect->index;
        const PointCheck& at = points[rays.at];
        const Screen c = f.At(at.x, at.y);
        auto direction = [&](int to) {
            const Screen t = f.At(points[to].x, points[to].y);
            const double dx = t.x - c.x, dy = t.y - c.y, d = std::hypot(dx, dy);
            return Screen{dx / d, dy / d};
        };
        const Screen u = direction(rays.from), v = direction(rays.to);
        const double r = 34;
        const bool clockwise = u.x * v.y - u.y * v.x > 0;
        svg += "<path class=\"angle suspect\" id=\"angle-" + std::to_string(i) + "\" d=\"M " +
               Num(c.x + r * u.x) + " " + Num(c.y + r * u.y) + " A " + Num(r) + " " + Num(r) + " 0 0 " +
               (clockwise ? "1 " : "0 ") + Num(c.x + r * v.x) + " " + Num(c.y + r * v.y) +
               "\" fill=\"none\" stroke=\"" + kSuspectColour + "\" stroke-width=\"4\"/>\n";
        const double mx = u.x + v.x, my = u.y + v.y, m = std::max(std::hypot(mx, my), 1e-9);
        svg += "<text x=\"" + Num(c.x + (r + 14) * mx / m - 14) + "\" y=\"" +
               Num(c.y + (r + 14) * my / m + 5) + "\" font-size=\"13\" font-weight=\"bold\" fill=\"" +
               kSuspectColour + "\">B(" + std::to_string(i) + ")</text>\n";
    }

    // The error ellipses, then the points over them.
    for (const PointCheck& p : points) {
        if (!p.precision) continue;
        const ErrorEllipse& e = p.precision->ellipse;
        const Screen c = f.At(p.x, p.y);
        const double toPixels = magnification / 1000 * f.scale;  // mm on the ground -> pixels
        svg += "<ellipse class=\"ellipse\" cx=\"" + Num(c.x) + "\" cy=\"" + Num(c.y) + "\" rx=\"" +
               Num(e.a * toPixels) + "\" ry=\"" + Num(e.b * toPixels) + "\" transform=\"rotate(" +
               Num(e.azimuth - 90) + " " + Num(c.x) + " " + Num(c.y) +
               ")\" fill=\"#3060c0\" fill-opacity=\"0.15\" stroke=\"#3060c0\" stroke-width=\"1.5\"/>\n";
    }
    if (relativeEllipses) {
        const double toPixels = magnification / 1000 * f.scale;
        for (const RelativeEllipse& e : quality.figure.relativeEllipses) {
            const PointCheck &p = points[e.from], &q = points[e.to];
            const Screen c = f.At((p.x + q.x) / 2, (p.y + q.y) / 2);
            svg += "<ellipse class=\"relative-ellipse\" id=\"relative-" + std::string(1, "ABCD"[e.from]) +
                   std::string(1, "ABCD"[e.to]) + "\" cx=\"" + Num(c.x) + "\" cy=\"" + Num(c.y) + "\" rx=\"" +
                   Num(e.a * toPixels) + "\" ry=\"" + Num(e.b * toPixels) + "\" transform=\"rotate(" +
                   Num(e.azimuth - 90) + " " + Num(c.x) + " " + Num(c.y) +
                   ")\" fill=\"none\" stroke=\"#c07000\" stroke-width=\"1.5\" stroke-dasharray=\"5 3\"/>\n";
        }
    }
    for (const PointCheck& p : points) {
        const Screen c = f.At(p.x, p.y);
        drawing.points[static_cast<std::size_t>(p.point)] = {c.x, c.y};
        svg += "<g class=\"point " + std::string(p.known ? "known" : "determined") + "\" id=\"point-" +
               std::string(1, "ABCD"[p.point]) + "\" transform=\"translate(" + Num(c.x) + " " + Num(c.y) +
               ")\">";
        if (p.known) {
            svg += "<path d=\"M 0 -8 L 7 5 L -7 5 Z\" fill=\"black\"/>";
        } else {
            svg += "<circle r=\"4.5\" fill=\"white\" stroke=\"black\" stroke-width=\"2\"/>";
        }
        // The name away from the figure's centre, where no side runs.
        const Screen centre = f.At((f.xMax + xMin) / 2, (f.yMin + yMax) / 2);
        const double ox = c.x >= centre.x ? 10 : -10, oy = c.y >= centre.y ? 22 : -12;
        svg += "<text x=\"" + Num(ox) + "\" y=\"" + Num(oy) + "\" font-size=\"16\" font-weight=\"bold\"" +
               (ox < 0 ? " text-anchor=\"end\"" : "") + ">" + Xml(p.name) + " (" + "ABCD"[p.point] +
               ")</text></g>\n";
    }

    // North arrow, top right.
    const double nx = kWidth - 40, ny = 30;
    svg += "<path d=\"M " + Num(nx) + " " + Num(ny) + " L " + Num(nx + 8) + " " + Num(ny + 26) + " L " +
           Num(nx) + " " + Num(ny + 20) + " L " + Num(nx - 8) + " " + Num(ny + 26) +
           " Z\" fill=\"black\"/>\n";
    svg += "<text x=\"" + Num(nx) + "\" y=\"" + Num(ny + 44) +
           "\" font-size=\"14\" text-anchor=\"middle\">北</text>\n";

    // Scale bar, bottom left: a round length of about a quarter of the width.
    const double bar = RoundDown125((kWidth / 4) / f.scale);
    const double bx = 30, by = kHeight - 50, bw = bar * f.scale;
    svg += "<g class=\"scale-bar\"><rect x=\"" + Num(bx) + "\" y=\"" + Num(by) + "\" width=\"" + Num(bw / 2) +
           "\" height=\"6\" fill=\"black\"/><rect x=\"" + Num(bx + bw / 2) + "\" y=\"" + Num(by) +
           "\" width=\"" + Num(bw / 2) + "\" height=\"6\" fill=\"white\" stroke=\"black\"/>";
    svg += "<text x=\"" + Num(bx) + "\" y=\"" + Num(by - 6) + "\" font-size=\"12\">0</text>";
    svg += "<text x=\"" + Num(bx + bw) + "\" y=\"" + Num(by - 6) +
           "\" font-size=\"12\" text-anchor=\"middle\">" + Plain(bar) + " 米</text></g>\n";

    // Legend, bottom right.
    const double lx = kWidth - 330;
    double ly = kHeight - 58;
    if (largestAxis > 0) {
        svg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(ly) + "\" font-size=\"13\">" +
               MagnificationText(magnification) + "</text>\n";
    }
    if (relativeEllipses && !quality.figure.relativeEllipses.empty()) {
        svg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(ly - 20) +
               "\" font-size=\"13\" fill=\"#c07000\">虚线: 相对误差椭圆 (画在两点连线中点)</text>\n";
    }
    ly += 20;
    svg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(ly) + "\" font-size=\"13\">▲ 已知点   ○ 待定点</text>\n";
    ly += 20;
    if (quality.scale == PrecisionScale::APriori) {
        // A design has no observations to test: its drawing must not pass for an adjusted one.
        svg += "<text class=\"design\" x=\"" + Num(lx) + "\" y=\"" + Num(ly) + "\" font-size=\"13\">" +
               DesignEllipsesText(quality) + "</text>\n";
        svg += "<text class=\"design\" x=\"30\" y=\"30\" font-size=\"18\" font-weight=\"bold\">" +
               std::string(kDesignDrawingTitle) + "</text>\n";
    } else if (suspect) {
        svg += "<text class=\"suspect\" x=\"" + Num(lx) + "\" y=\"" + Num(ly) +
               "\" font-size=\"13\" fill=\"" + kSuspectColour + "\">粗差可疑: " + SuspectText(*suspect) +
               "</text>\n";
    } else {
        svg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(ly) +
               "\" font-size=\"13\">w 检验: 无可疑观测值</text>\n";
    }
    svg += "</svg>\n";
    return drawing;
}

}  // namespace korvanet
