// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report as one self-contained HTML5 file in UTF-8: styles
// inline, the drawing inline as SVG, a print style sheet for A4, no scripts
// and nothing fetched from elsewhere, so that it opens, prints and travels
// as one file.

#include <string>

#include "report/adjustment_document.h"

namespace korvanet {

std::string DocumentHtml(const AdjustmentDocument& document);

}  // namespace korvanet
