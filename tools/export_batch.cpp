// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/export_batch.h"

#include <iostream>
#include <ostream>

#include "compute/file_writer.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// What the messages call the file of each mode.
const char* ExportKind(BatchMode mode) {
    switch (mode) {
        case BatchMode::Cass:
            return "CASS 座标文件";
        case BatchMode::Dxf:
            return "DXF 图";
        default:
            return "Gama XML 文件";
    }
}

}  // namespace

std::string ExportFileBytes(BatchMode mode, bool gbk, const SurveyState& state, const QualityCheck& quality,
                            const PointHeights& heights) {
    switch (mode) {
        case BatchMode::Cass:
            return CassCoordinateFile(quality, heights, gbk ? CassEncoding::Gbk : CassEncoding::Utf8);
        case BatchMode::Dxf:
            return FigureDxf(quality);
        default:
            return GamaLocalXml(state, quality);
    }
}

void WriteExportFile(BatchMode mode, const std::string& path, const std::string& bytes, std::ostream& err) {
    try {
        WriteFileWhole(path, bytes);
    } catch (const KorvanetError& e) {
        throw KorvanetError(std::string("无法保存 ") + ExportKind(mode) + " " + path + ": " + e.what());
    }
    err << ExportKind(mode) << "已写入 " << path << '\n';
}

JobOutput ExportOutput(const BatchCommandLine& line, PointHeights heights) {
    return [mode = line.mode, gbk = line.gbk, path = line.outputPath, heights](const FinishedJob& job,
                                                                               std::ostream&) {
        if (job.run.failure || !job.run.quality) return;
        WriteExportFile(mode, path, ExportFileBytes(mode, gbk, job.state, *job.run.quality, heights),
                        std::cerr);
    };
}

}  // namespace korvanet
