// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/text_raw_reader.h"

#include "core/korvanet_error.h"

namespace korvanet {

bool LooksLikeTextRaw(const std::string&) { return false; }
InstrumentRecord ReadTextRaw(const std::string&) { throw KorvanetError("尚未实现"); }

}  // namespace korvanet
