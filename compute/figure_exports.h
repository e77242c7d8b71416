// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The completed figure for the next program: a CASS coordinate file, a DXF
// drawing and an input file of GNU Gama's gama-local.  The batch tool
// (--cass, --dxf, --gama-xml) and the window (文件 → 导出) write the same
// bytes from here, for a job's adjustment and for a design (精度估算), whose
// points are its approximate coordinates.
//
// Units: coordinates in metres, x north and y east (so CASS's Y and CAD's x
// are our y); ellipse axes in mm, magnified in the drawing; heights in
// metres.

#include <array>
#include <optional>
#include <string>

#include "adjust/quality_check.h"
#include "core/survey_state.h"

namespace korvanet {

// The heights of A..D, from the field book the job came from; none: 0.
using PointHeights = std::array<std::optional<double>, 4>;

enum class CassEncoding { Utf8, Gbk };

// One line a point, "点名,编码,Y,X,H" with 编码 empty and metres to 0.001,
// for A, B, C, D (known points as given, the others adjusted), CRLF line
// ends as CASS writes them.  Throws an InputError when a name cannot be
// written in GBK.
std::string CassCoordinateFile(const QualityCheck& quality, const PointHeights& heights,
                               CassEncoding encoding);

// The drawing as DXF text, written by libdxflib: layers 控制点 (a POINT and
// a TEXT of its name for each point, a triangle round each known point),
// 观测边 (the observed sides), 误差椭圆 (the magnified point ellipses as
// closed polylines, with the factor in a TEXT), 注记; CAD x = y (east),
// CAD y = x (north), metres.
std::string FigureDxf(const QualityCheck& quality);

// The figure as a gama-local XML input: A (and a known D) fixed, the others
// free with the run's coordinates as approximations, the eight angles with
// sigma0 as their standard deviation, the sides with the a-priori side mean
// error, for a determined D the azimuth A-B = T0 + Q1, sigma-apr = sigma0,
// axes-xy="ne", clockwise angles.
std::string GamaLocalXml(const SurveyState& state, const QualityCheck& quality);

}  // namespace korvanet
