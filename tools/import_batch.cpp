// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/import_batch.h"

#include <ostream>

namespace korvanet {

int RunImportFiles(const BatchCommandLine&, std::ostream&, std::ostream& err) {
    err << "尚未实现\n";
    return 1;
}

}  // namespace korvanet
