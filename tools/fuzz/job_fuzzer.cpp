// SPDX-License-Identifier: GPL-3.0-or-later
// A libFuzzer target: any bytes as a job file, through the batch tool's own
// path (decoding, the Compute command on a fresh record, every text output).
// A job may fail, but only as a KorvanetError with its message; anything
// else escaping, a sanitizer report or a completed job without a report is
// a fault.
//
// A completed job also goes through every writer, and what they wrote is
// read back: the HTML report (with the steps) and the drawing are
// well-formed and have the very elements they have when every point is
// named "P" (so no element came from a name); the CSV has one record per
// table row, each as wide as its table, and no cell a spreadsheet would run;
// the design file of the job's figure reads back to the same design, and
// that design's report is well-formed as well.
//
// The same bytes are a field book too: refused only with the line and why;
// a book that is read writes back to a text that reads back to the same
// book, reduces without throwing, and gives a JSON object that parses whole
// and a computation sheet.
//
// And an instrument's file: refused only with a KorvanetError; a file that
// is read makes a book, without a mapping beyond A to D, whose text reads
// back as a field book to the same book and which reduces.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "compute/adjustment_report.h"
#include "compute/design_file.h"
#include "compute/design_run.h"
#include "compute/field_book_file.h"
#include "compute/field_book_json.h"
#include "compute/field_book_report.h"
#include "compute/field_book_run.h"
#include "compute/figure_drawing.h"
#include "compute/instrument_import.h"
#include "core/korvanet_error.h"
#include "report/document_csv.h"
#include "report/document_html.h"
#include "report/document_text.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"
#include "tools/batch_output.h"
#include "tools/fuzz/written_documents.h"

namespace {

using korvanet::fuzz::CsvRecords;
using korvanet::fuzz::ElementsOf;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// The same run with every point named "P".
struct Plain {
    korvanet::SurveyState state;
    korvanet::QualityCheck quality;
};
Plain PlainNamed(const korvanet::SurveyState& state, const korvanet::QualityCheck& quality) {
    Plain p{state, quality};
    for (std::string& name : p.state.PointNames) name = "P";
    for (korvanet::PointCheck& point : p.quality.points) point.name = "P";
    return p;
}

// A spreadsheet runs a cell that begins with = or @ (or a tab or a line
// end before one), and a sign before anything but a figure.
bool Inert(const std::string& cell) {
    if (cell.empty()) return true;
    const char first = cell[0];
    if (first == '=' || first == '@' || first == '\t' || first == '\r') return false;
    if (first != '+' && first != '-') return true;
    return cell.find_first_not_of("0123456789.eE+-\xC2\xB0\xE2\x80\xB2\xB3") == std::string::npos;
}

void CheckCsv(const korvanet::AdjustmentDocument& document) {
    const auto records = CsvRecords(korvanet::DocumentCsv(document));
    Require(records.has_value());
    std::size_t r = 0;
    for (const korvanet::DocumentSection& section : document.sections) {
        for (const korvanet::DocumentBlock& block : section.blocks) {
            if (block.kind != korvanet::DocumentBlock::Kind::Table) continue;
            const korvanet::DocumentTable& table = block.table;
            for (std::size_t row = 0; row <= table.rows.size(); ++row, ++r) {
                Require(r < records->size() && (*records)[r].size() == table.columns.size() + 1);
                Require((*records)[r][0] == (row == 0 ? "表" : table.name));
                for (const std::string& cell : (*records)[r]) Require(Inert(cell));
            }
        }
    }
    Require(r == records->size());
}

void CheckDocument(const korvanet::AdjustmentDocument& document, const korvanet::AdjustmentDocument& plain) {
    const auto elements = ElementsOf(korvanet::DocumentHtml(document), true);
    Require(elements.has_value() && elements == ElementsOf(korvanet::DocumentHtml(plain), true));
    CheckCsv(document);
}

void CheckWriters(const korvanet::SurveyState& state, const korvanet::QualityCheck& quality) {
    const Plain plain = PlainNamed(state, quality);
    for (bool relative : {false, true}) {
        const auto drawn = ElementsOf(korvanet::FigureSvg(quality, relative), false);
        Require(drawn.has_value() &&
                drawn == ElementsOf(korvanet::FigureSvg(plain.quality, relative), false));
    }
    korvanet::ReportOptions options;
    options.job = "fuzz";
    options.date = "2026-01-01";
    options.steps = true;
    CheckDocument(korvanet::JobReportDocument(state, quality, options),
                  korvanet::JobReportDocument(plain.state, plain.quality, options));

    // The figure as a design, when the design table would take its names.
    korvanet::Design design;
    design.tolerance = quality.tolerance;
    design.dKnown = quality.points[3].known;
    for (int p = 0; p < 4; ++p) {
        const korvanet::PointCheck& point = quality.points[static_cast<std::size_t>(p)];
        if (korvanet::CheckDesignPointName(point.name, p)) return;
        design.points[static_cast<std::size_t>(p)] = {point.name, point.x, point.y};
    }
    try {
        const korvanet::Design back = korvanet::ReadDesignFile(korvanet::DesignFileText(design));
        Require(back.tolerance == design.tolerance && back.dKnown == design.dKnown);
        for (std::size_t p = 0; p < 4; ++p) {
            Require(back.points[p].name == design.points[p].name && back.points[p].x == design.points[p].x &&
                    back.points[p].y == design.points[p].y);
        }
    } catch (const korvanet::InputError&) {
        // Only a figure the design cannot take is refused.
        Require(korvanet::CheckDesignFigure(design).has_value());
        return;
    }
    const korvanet::DesignRun run = korvanet::RunDesign(design);
    if (!run.run.quality) return;
    const Plain plainDesign = PlainNamed(run.state, *run.run.quality);
    options.steps = false;
    CheckDocument(korvanet::DesignReportDocument(run.state, *run.run.quality, options),
                  korvanet::DesignReportDocument(plainDesign.state, plainDesign.quality, options));
}

void CheckFieldBook(const std::string& bytes) {
    korvanet::FieldBook book;
    try {
        book = korvanet::ReadFieldBook(bytes);
    } catch (const korvanet::FieldBookLineError& e) {
        Require(e.line() >= 1 && !e.why().empty());
        return;
    }
    Require(korvanet::ReadFieldBook(korvanet::FieldBookText(book)) == book);
    korvanet::FieldBookRun run;
    try {
        run = korvanet::RunFieldBook(book, korvanet::OrderClassTable{});
    } catch (const korvanet::InputError&) {
        Require(!book.orderClass.empty());  // only a class the (empty) table lacks
        return;
    }
    const std::string line = korvanet::FieldBookJson(run, "fuzz");
    Require(line.find('\n') == std::string::npos && nlohmann::json::accept(line));
    Require(!korvanet::DocumentText(korvanet::FieldBookDocument(run, "fuzz")).empty());
}

void CheckImport(const std::string& bytes) {
    korvanet::ImportedBook imported;
    try {
        const std::vector<korvanet::InstrumentFile> files = {korvanet::ReadInstrumentBytes(bytes, "fuzz")};
        korvanet::PointMapping mapping = {{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}};
        if (files[0].record) mapping = korvanet::IdentityMapping(*files[0].record);
        imported = korvanet::ImportBook(files, mapping);
    } catch (const korvanet::KorvanetError& e) {
        Require(*e.what() != '\0');
        return;
    }
    // Anything thrown from here on escapes: the book made is always one.
    Require(korvanet::ReadFieldBook(korvanet::ImportedBookText(imported)) == imported.book);
    korvanet::RunFieldBook(imported.book, korvanet::OrderClassTable{});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (korvanet::BatchMode mode :
         {korvanet::BatchMode::Report, korvanet::BatchMode::Fields, korvanet::BatchMode::Transcript}) {
        std::ostringstream out, err;
        const bool ok = korvanet::RunBatchJob(bytes, korvanet::TextOutputFor(mode), "", out, err);
        // A job that fails says why and prints no report; one that
        // completes shows something in every mode.
        if (!ok && err.str().empty()) __builtin_trap();
        if (ok && out.str().empty()) __builtin_trap();
        if (!ok && mode == korvanet::BatchMode::Report && !out.str().empty()) __builtin_trap();
    }
    // The JSON object of any job, completed or not, parses back whole.
    std::ostringstream out, err;
    korvanet::RunBatchJob(bytes, korvanet::JsonOutput("fuzz"), "", out, err);
    const std::string line = out.str();
    if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) __builtin_trap();
    if (!nlohmann::json::accept(line)) __builtin_trap();

    // Every writer on a completed job.
    std::ostringstream none;
    korvanet::RunBatchJob(
        bytes,
        [](const korvanet::FinishedJob& job, std::ostream&) {
            if (job.run.quality) CheckWriters(job.state, *job.run.quality);
        },
        "", none, none);
    CheckFieldBook(bytes);
    CheckImport(bytes);
    return 0;
}
