// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjusted figure drawn to scale, as the text of an SVG document: the four
// points with their names (known points as triangles, determined points as
// circles), the six sides, north up, a scale bar, the error ellipses
// magnified by a stated factor, and the suspect observation of the quality
// check highlighted in red.  The window shows it and the batch tool writes it.
//
// Units: coordinates in metres, x north and y east; ellipse axes in mm; the
// drawing in SVG user units (pixels), y growing downwards.

#include <array>
#include <string>

#include "adjust/quality_check.h"

namespace korvanet {

// The drawing and where it put what a window lets the mouse take hold of.
struct FigureDrawing {
    std::string svg;
    struct At {
        double x = 0, y = 0;  // SVG user units from the top left
    };
    std::array<At, 4> points;   // A, B, C, D
    double pixelsPerMetre = 1;  // the figure's scale on the ground
};

// With `relativeEllipses` the relative error ellipses too, dashed, each at
// the middle of the line joining its two points, magnified as the point
// ellipses.
FigureDrawing DrawFigure(const QualityCheck& quality, bool relativeEllipses = false);
// The drawing alone.
std::string FigureSvg(const QualityCheck& quality, bool relativeEllipses = false);

// The magnification of the error ellipses: a factor 1, 2 or 5 times a power
// of ten, the largest that keeps the largest ellipse within about a twelfth
// of the figure's size.  `largestAxisMm` > 0, `figureSizeM` > 0.
double EllipseMagnification(double largestAxisMm, double figureSizeM);

// The magnification the drawing of `quality` uses: by its largest point
// ellipse (and, with `relativeEllipses`, relative ellipse) and the larger of
// the figure's extents north and east; 1 where no point has an ellipse.
double FigureEllipseMagnification(const QualityCheck& quality, bool relativeEllipses = false);

// The legend of the ellipses: "误差椭圆放大 500 倍".
std::string MagnificationText(double magnification);

// What marks a design's drawing (精度估算) as not yet observed: its title, and
// the a-priori sigma0 its ellipses stand for.
inline constexpr const char* kDesignDrawingTitle = "精度估算 (设计, 尚未观测)";
std::string DesignEllipsesText(const QualityCheck& quality);

}  // namespace korvanet
