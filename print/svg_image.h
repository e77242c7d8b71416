// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing of the figure (an SVG document, compute/figure_drawing.h) as a
// picture: for the printed quality check, the ODT report and 保存图形 as PNG.
// The one place an SVG is rendered to pixels, on white, so that every
// picture of the figure looks the same.  Needs a running QGuiApplication
// (the labels are set in the machine's fonts).

#include <QImage>
#include <string>

namespace korvanet {

// The drawing `width` pixels across, its height in the drawing's own
// proportion.  Throws KorvanetError ("图形无法绘制") when the SVG cannot be
// read or has no size.
QImage SvgImage(const std::string& svg, int width);

// The pixels across the drawing asks for (its own size), for a caller that
// wants it at a multiple of that.  0 when the SVG cannot be read.
int SvgWidth(const std::string& svg);

// A picture as the bytes of a PNG file; throws KorvanetError when the PNG
// cannot be made.
std::string PngBytes(const QImage& image);

}  // namespace korvanet
