// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name a point carries into another program's file (CASS, DXF): its own,
// or for a point left unnamed its letter, so that no row and no label is
// blank.

#include <string>

#include "adjust/quadrilateral.h"
#include "adjust/quality_check.h"

namespace korvanet {

inline std::string ExportPointName(const PointCheck& p) {
    return p.name.empty() ? quadrilateral::kPointLetters[static_cast<std::size_t>(p.point)] : p.name;
}

}  // namespace korvanet
