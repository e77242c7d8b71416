// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/instrument_import.h"

#include "core/korvanet_error.h"

namespace korvanet {

InstrumentFile ReadInstrumentFile(const std::string&) { throw KorvanetError("尚未实现"); }
InstrumentFile ReadInstrumentBytes(const std::string&, const std::string&) {
    throw KorvanetError("尚未实现");
}
std::vector<std::string> ImportIds(const std::vector<InstrumentFile>&) { throw KorvanetError("尚未实现"); }
ImportedBook ImportBook(const std::vector<InstrumentFile>&, const PointMapping&) {
    throw KorvanetError("尚未实现");
}
std::string ImportedBookText(const ImportedBook&) { throw KorvanetError("尚未实现"); }
FieldBook MergeImportedBook(const FieldBook&, const FieldBook&) { throw KorvanetError("尚未实现"); }

}  // namespace korvanet
