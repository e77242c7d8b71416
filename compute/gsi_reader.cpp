// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/gsi_reader.h"

#include "core/korvanet_error.h"

namespace korvanet {

bool LooksLikeGsi(const std::string&) { return false; }
InstrumentRecord ReadGsi(const std::string&) { throw KorvanetError("尚未实现"); }

}  // namespace korvanet
