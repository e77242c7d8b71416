// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of korvanet-batch: one output mode, then the jobs.
//
// A new mode is one enumerator here, one option in ParseBatchCommandLine and
// the usage text, and one output function in batch_output (or, like --pdf, a
// program of its own that korvanet-batch hands the job to).

#include <optional>
#include <string>
#include <vector>

namespace korvanet {

enum class BatchMode {
    Report,      // no option: the report as text
    Fields,      // --fields: NAME=TEXT for every box the run wrote
    Transcript,  // --transcript: the dialogue of the run
    Pdf,         // --pdf FILE: the printed report as a PDF, by korvanet-pdf (one job)
    Json,        // --json: the quality check as JSON, one object per job and line
    Svg,         // --svg FILE: the adjusted figure drawn to scale (one job)
    Html,        // --html FILE: the adjustment report as an HTML document (one job)
    Odt,         // --odt FILE: the same as OpenDocument text, by korvanet-pdf (one job)
    Csv,         // --csv FILE: the report's tables for a spreadsheet (one job)
    Job,         // --job (with --fieldbook): the book's job, one answer a line (one book)
    Import,      // --import: field books made from instrument files (GSI, text raw, CSV of points)
    Cass,        // --cass FILE: the points as a CASS coordinate file (one job)
    Dxf,         // --dxf FILE: the figure as a DXF drawing (one job)
    GamaXml,     // --gama-xml FILE: the figure as a gama-local input file (one job)
};

struct BatchCommandLine {
    BatchMode mode = BatchMode::Report;
    std::string outputPath;         // the file of a mode that writes one (--pdf, --svg, --html ...)
    std::vector<std::string> jobs;  // in the order given; "-" is standard input
    std::string orderClass;    // --class NAME (--json, the reports, --fieldbook): the class to check against
    bool steps = false;        // --steps: the reports with the steps of the computation
    bool listClasses = false;  // --classes: list the table of order classes
    bool design = false;       // --design: the files are designs (精度估算), not jobs
    bool fieldBook = false;    // --fieldbook: the files are field books (外业手簿, .kvf), not jobs
    std::string points;        // --points A=ID,B=ID,... (--import): which file ids are the figure's points
    bool gbk = false;          // --encoding gbk (--cass): the file in GBK, else UTF-8
    bool showVersion = false;
    bool showHelp = false;
};

// The usage text, printed for --help and after every usage error.
extern const char* const kBatchUsage;

// Parses the arguments after the program name.  On a usage error returns
// nothing and puts the reason (Chinese, one line) in `problem`.
std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& problem);

// Whether a mode writes one file and so takes exactly one job.
bool ModeTakesOneJob(BatchMode mode);

// Whether a mode writes the adjustment report (--html, --odt, --csv).
bool ModeWritesReport(BatchMode mode);

// Whether a mode writes the figure for another program (--cass, --dxf, --gama-xml).
bool ModeExports(BatchMode mode);

// The running program's own file (through /proc/self/exe), for what is
// installed beside it; empty when it cannot be told.
std::string RunningProgramPath();

}  // namespace korvanet
