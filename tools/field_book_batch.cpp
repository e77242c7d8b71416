// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/field_book_batch.h"

#include <ostream>

#include "compute/adjustment_report.h"
#include "compute/field_book_file.h"
#include "compute/field_book_json.h"
#include "compute/field_book_report.h"
#include "compute/job_file_reader.h"
#include "core/korvanet_error.h"
#include "report/document_text.h"
#include "tools/batch_job_runner.h"
#include "tools/batch_output.h"
#include "tools/export_batch.h"

namespace korvanet {

FieldBookRun ReadAndRunFieldBook(const std::string& path, const std::string& orderClass,
                                 const OrderClassTable& table, std::string* notice) {
    FieldBook book = ReadFieldBookFile(path, notice);
    if (!orderClass.empty()) book.orderClass = orderClass;
    return RunFieldBook(book, table);
}

std::string FieldBookJobBytes(const FieldBookRun& run) {
    std::string bytes;
    if (run.job)
        for (const std::string& answer : *run.job) bytes += answer + '\n';
    return bytes;
}

std::string MissingMessage(const FieldBookRun& run) {
    std::string list;
    for (const std::string& item : run.missing) list += (list.empty() ? "" : ", ") + item;
    return "外业手簿不完整, 作业还缺: " + list;
}

int RunFieldBookFiles(const BatchCommandLine& line, const OrderClassTable& table, std::ostream& out,
                      std::ostream& err) {
    const bool json = line.mode == BatchMode::Json;
    const bool several = line.jobs.size() > 1;
    int status = 0;
    for (std::size_t i = 0; i < line.jobs.size(); ++i) {
        const std::string& file = line.jobs[i];
        const std::string name = JobFileName(file);
        const std::string label = several ? name + ": " : "";
        // JSON Lines need no headers: every object names its book.
        if (several && !json) out << (i == 0 ? "" : "\n") << "==> " << name << " <==\n";
        FieldBookRun run;
        try {
            std::string notice;
            run = ReadAndRunFieldBook(file, line.orderClass, table, &notice);
            if (!notice.empty()) err << label << notice << '\n';
        } catch (const KorvanetError& e) {
            if (json) out << FailedFieldBookJson(file, e.what()) << '\n';
            out.flush();
            err << label << e.what() << '\n';
            status = 1;
            continue;
        }
        if (json) {
            out << FieldBookJson(run, file) << '\n';
        } else if (line.mode == BatchMode::Report) {
            out << DocumentText(FieldBookDocument(run, name));
        } else if (!run.job) {
            // The job and its report need every value: an incomplete book gives neither.
            out.flush();
            err << label << MissingMessage(run) << '\n';
            status = 1;
        } else if (line.mode == BatchMode::Job) {
            out << FieldBookJobBytes(run);
        } else if (ModeExports(line.mode)) {
            PointHeights heights;
            for (int p = 0; p < 4; ++p)
                if (run.book.points[p].height) heights[p] = run.book.points[p].height->value;
            if (!RunBatchJob(FieldBookJobBytes(run), ExportOutput(line, heights), label, out, err))
                status = 1;
        } else if (ModeWritesReport(line.mode)) {
            const ReportOptions options{
                name,         TodayText(), run.orderClass ? &*run.orderClass : nullptr,
                table.source, line.steps,  &run};
            if (!RunBatchJob(FieldBookJobBytes(run), ReportOutput(line.mode, line.outputPath, options), label,
                             out, err))
                status = 1;
        }
    }
    return status;
}

}  // namespace korvanet
