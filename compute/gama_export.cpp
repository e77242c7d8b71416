// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/figure_exports.h"
#include "core/korvanet_error.h"

namespace korvanet {

std::string GamaLocalXml(const SurveyState&, const QualityCheck&) { throw KorvanetError("尚未实现"); }

}  // namespace korvanet
