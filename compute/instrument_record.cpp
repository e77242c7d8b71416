// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/instrument_record.h"

#include "core/korvanet_error.h"

namespace korvanet {

std::vector<std::string> RecordIds(const InstrumentRecord&) { throw KorvanetError("尚未实现"); }
PointMapping ParsePointMapping(const std::string&) { throw KorvanetError("尚未实现"); }
PointMapping IdentityMapping(const InstrumentRecord&) { throw KorvanetError("尚未实现"); }
FieldBook BookFromRecord(const InstrumentRecord&, const PointMapping&, std::vector<std::string>&) {
    throw KorvanetError("尚未实现");
}

}  // namespace korvanet
