// korvanet-batch: re-runs a Compute job without the window.
//
// A job is the list of answers a surveyor would type into the value prompts of
// one Compute run, one per line, in the order the prompts come; every
// confirmation prompt is answered by Enter.  The job runs through the same
// Compute command as the window, with a scripted prompter and a recording
// display.

#include <QGuiApplication>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "korvanet_error.h"
#include "report_layout.h"
#include "report_printer.h"
#include "report_text.h"
#include "job_file.h"
#include "job_run.h"
#include "survey_state.h"

namespace {

constexpr const char* kUsage =
    "usage: korvanet-batch [--fields | --transcript | --pdf FILE] JOB\n"
    "\n"
    "Runs one Compute job headless.  JOB is a UTF-8 text file with one answer per\n"
    "line, in the order of the value prompts (tolerance; x, y of A; x, y of D;\n"
    "T0 and Q1 only when D is not a known point; names of A, B, C, D; angles 1 to 8;\n"
    "sides 1 to n); every confirmation is answered by Enter.  '-' reads standard input.\n"
    "\n"
    "  (no option)      print the report as text\n"
    "  --fields         print NAME=TEXT for every text box the run wrote\n"
    "  --transcript     print the dialogue of the run\n"
    "  --pdf FILE       write the printed report as a PDF to FILE\n";

enum class Output { Report, Fields, Transcript, Pdf };

struct Options {
    Output output = Output::Report;
    std::string pdfPath;
    std::string job;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool haveJob = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--fields" || a == "--transcript" || a == "--pdf") {
            if (options.output != Output::Report) return false;  // one output at a time
            if (a == "--fields") options.output = Output::Fields;
            if (a == "--transcript") options.output = Output::Transcript;
            if (a == "--pdf") {
                if (i + 1 >= args.size()) return false;
                options.output = Output::Pdf;
                options.pdfPath = args[++i];
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return false;
        } else {
            if (haveJob) return false;
            options.job = a;
            haveJob = true;
        }
    }
    return haveJob;
}

bool ReadJob(const std::string& path, std::string& text) {
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

void PrintFields(const korvanet::RecordingDisplay& display) {
    for (const std::string& box : display.Order()) {
        std::cout << box << '=' << display.Text(box) << '\n';
    }
}

void PrintTranscript(const korvanet::ScriptedPrompter& prompter, bool lastUnanswered) {
    const auto& dialogue = prompter.Dialogue();
    for (std::size_t i = 0; i < dialogue.size(); ++i) {
        std::cout << "?\t" << dialogue[i].title << '\t' << dialogue[i].message << '\n';
        if (lastUnanswered && i + 1 == dialogue.size()) break;
        std::cout << ">\t" << dialogue[i].answer << '\n';
    }
}

// A PDF needs fonts, and fonts need a GUI application; without a display the
// offscreen platform serves.
int WritePdf(const korvanet::SurveyState& state, const std::string& path, int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    korvanet::WriteReportPdf(korvanet::BuildReport(state), path);
    std::cerr << "报告已写入 " << path << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    std::string jobText;
    if (!ReadJob(options.job, jobText)) {
        std::cerr << "无法读取作业文件: " << options.job << '\n';
        return 1;
    }

    korvanet::RecordingDisplay display;
    korvanet::SurveyState state;
    korvanet::JobRun run = korvanet::RunJob(korvanet::SplitJobLines(jobText), state, display);
    if (run.failure) {
        if (options.output == Output::Fields) PrintFields(display);
        if (options.output == Output::Transcript) PrintTranscript(run.prompter, run.ranOutOfAnswers);
        std::cout.flush();
        std::cerr << "计算中止: " << *run.failure << '\n';
        return 1;
    }

    try {
        switch (options.output) {
            case Output::Fields:
                PrintFields(display);
                break;
            case Output::Transcript:
                PrintTranscript(run.prompter, false);
                break;
            case Output::Report:
                std::cout << korvanet::RenderReportText(korvanet::BuildReport(state));
                break;
            case Output::Pdf:
                return WritePdf(state, options.pdfPath, argc, argv);
        }
    } catch (const korvanet::KorvanetError& e) {
        std::cerr << "打印中止: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
