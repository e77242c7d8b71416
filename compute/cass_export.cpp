// SPDX-License-Identifier: GPL-3.0-or-later
// CASS reads a coordinate file (.dat) as one point a line, 点名,编码,Y,X,H:
// east before north, as the drawing office's CAD axes run.  The coordinates
// and heights carry the three decimals and the rounding of the report's
// coordinate table, so that the file and the printed report never differ by
// a millimetre.

#include <string>

#include "compute/export_point_name.h"
#include "compute/figure_exports.h"
#include "compute/gbk_text.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

constexpr int kMillimetres = 3;  // decimals of metres

// The point's name as CASS shows it.  A comma or a line break would split CASS's line, so such a name is
// refused rather than written as a shifted row.
std::string CassName(const PointCheck& p) {
    const std::string name = ExportPointName(p);
    for (const char c : name) {
        if (c == ',' || c == '\r' || c == '\n') {
            throw InputError(std::string("点名「") + name +
                             "」含有逗号或换行，CASS 座标文件以逗号分列、一行一点：请改点名。");
        }
    }
    return name;
}

}  // namespace

std::string CassCoordinateFile(const QualityCheck& quality, const PointHeights& heights,
                               CassEncoding encoding) {
    std::string file;
    for (const PointCheck& p : quality.points) {
        std::string name = CassName(p);
        if (encoding == CassEncoding::Gbk) name = GbkText(name, "点名「" + name + "」");
        const auto& height = heights[static_cast<std::size_t>(p.point)];
        file += name + ",," + FormatPattern(p.y, kMillimetres) + "," + FormatPattern(p.x, kMillimetres) +
                "," + FormatPattern(height.value_or(0), kMillimetres) + "\r\n";
    }
    return file;
}

}  // namespace korvanet
