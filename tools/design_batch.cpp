// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/design_batch.h"

#include <ostream>
#include <string>

#include "compute/adjustment_report.h"
#include "compute/class_check_texts.h"
#include "compute/design_file.h"
#include "compute/figure_drawing.h"
#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "compute/job_json.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "report/document_text.h"
#include "tools/batch_output.h"
#include "tools/export_batch.h"

namespace korvanet {

int RunDesignFiles(const BatchCommandLine& line, const std::optional<OrderClass>& orderClass,
                   const std::string& classSource, std::ostream& out, std::ostream& err) {
    const bool json = line.mode == BatchMode::Json;
    const bool several = line.jobs.size() > 1;
    const OrderClass* c = orderClass ? &*orderClass : nullptr;
    int status = 0;
    for (std::size_t i = 0; i < line.jobs.size(); ++i) {
        const std::string& file = line.jobs[i];
        const std::string name = file == "-" ? "标准输入" : file;
        const std::string label = several ? name + ": " : "";
        if (several && !json) out << (i == 0 ? "" : "\n") << "==> " << name << " <==\n";
        DesignRun design;
        try {
            // The same bounded, checked reading as a job file's.
            design = RunDesign(ReadDesignFile(ReadDesignFileBytes(file)));
        } catch (const KorvanetError& e) {
            design.run.failure = e.what();
        }
        if (json) {
            out << DesignJson(file, design.run, c) << '\n';
        } else if (line.mode == BatchMode::Svg) {
            if (!design.run.failure && design.run.quality) {
                try {
                    WriteFileWhole(line.outputPath, FigureSvg(*design.run.quality));
                    err << "图形已写入 " << line.outputPath << '\n';
                } catch (const KorvanetError& e) {
                    design.run.failure = "无法保存图形 " + line.outputPath + ": " + e.what();
                }
            }
        } else if (ModeExports(line.mode)) {
            if (!design.run.failure && design.run.quality) {
                try {
                    WriteExportFile(
                        line.mode, line.outputPath,
                        ExportFileBytes(line.mode, line.gbk, design.state, *design.run.quality, {}), err);
                } catch (const KorvanetError& e) {
                    design.run.failure = e.what();
                }
            }
        } else if (ModeWritesReport(line.mode)) {
            if (!design.run.failure && design.run.quality) {
                try {
                    const AdjustmentDocument document = DesignReportDocument(
                        design.state, *design.run.quality, {name, TodayText(), c, classSource, false});
                    WriteReportFile(line.outputPath, ReportFileBytes(line.mode, document));
                } catch (const KorvanetError& e) {
                    design.run.failure = e.what();
                }
            }
        } else if (!design.run.failure && design.run.quality) {
            out << DocumentText(DesignReportDocument(design.state, *design.run.quality,
                                                     {name, TodayText(), c, classSource, false}));
        }
        if (design.run.failure) {
            out.flush();
            err << label << "精度估算中止: " << *design.run.failure << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace korvanet
