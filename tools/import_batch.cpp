// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/import_batch.h"

#include <ostream>

#include "compute/instrument_import.h"
#include "core/korvanet_error.h"

namespace korvanet {

int RunImportFiles(const BatchCommandLine& line, std::ostream& out, std::ostream& err) {
    try {
        std::vector<InstrumentFile> files;
        for (const std::string& path : line.jobs) files.push_back(ReadInstrumentFile(path));
        PointMapping mapping;
        if (!line.points.empty()) {
            mapping = ParsePointMapping(line.points);
        } else {
            // Without --points the ids are the letters themselves: any other
            // id of a record is refused, naming its line and every id found.
            for (const InstrumentFile& file : files) {
                if (!file.record) continue;
                try {
                    mapping = IdentityMapping(*file.record);
                } catch (const InputError& e) {
                    throw InputError("仪器数据文件 " + file.name + " " + e.what());
                }
            }
            if (mapping.empty())
                for (int p = 0; p < 4; ++p) mapping[std::string(1, static_cast<char>('A' + p))] = p;
        }
        const ImportedBook imported = ImportBook(files, mapping);
        out << ImportedBookText(imported);
        return 0;
    } catch (const KorvanetError& e) {
        out.flush();
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace korvanet
