// SPDX-License-Identifier: GPL-3.0-or-later
// Units of the table: coordinates in metres, mean errors and ellipse axes in
// millimetres, azimuths of the axes in degrees from north towards east, angle
// biases in arc seconds and side biases in millimetres.

#include "tools/design_batch.h"

#include <ostream>
#include <string>

#include "adjust/design_class_checks.h"
#include "compute/adjustment_report.h"
#include "compute/design_file.h"
#include "compute/figure_drawing.h"
#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "compute/job_json.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "tools/batch_output.h"

namespace korvanet {
namespace {

constexpr const char* kLetters[4] = {"A", "B", "C", "D"};

std::string CheckValue(const ClassCheck& c, double value) {
    if (c.kind == "weakest_side" || c.kind == "measured_sides") return OneInText(value);
    if (c.kind == "smallest_angle") return FixedText(value, 2) + "°";
    return FixedText(value, 2) + "″";
}

const char* CheckName(std::string_view kind) {
    if (kind == "expected_closure") return "期望三角形闭合差";
    if (kind == "smallest_angle") return "最小角";
    if (kind == "weakest_side") return "最弱边相对中误差";
    if (kind == "measured_sides") return "测边相对中误差";
    return "其他";
}

void PrintClassChecks(const QualityCheck& q, const OrderClass& c, std::ostream& out) {
    const ClassCompliance compliance = CheckDesignOrderClass(q.figure, c, q.tolerance);
    out << "\n等级检核 (精度估算): " << c.name << " (" << c.standard
        << (c.clause.empty() ? "" : " " + c.clause) << ")\n检核项\t项目\t估算值\t限值\t结果\t说明\n";
    for (const ClassCheck& check : compliance.checks)
        out << CheckName(check.kind) << '\t' << check.item << '\t' << CheckValue(check, check.value) << '\t'
            << CheckValue(check, check.limit) << '\t' << (check.passed ? "通过" : "未通过") << '\t'
            << check.note << '\n';
    out << "结论 (精度估算): " << (compliance.compliant ? "按设计可以达到 " : "按设计达不到 ") << c.name
        << '\n';
}

}  // namespace

void PrintDesignText(const DesignRun& design, const OrderClass* orderClass, std::ostream& out) {
    if (design.run.failure || !design.run.quality) return;
    const QualityCheck& q = *design.run.quality;
    const FigureSummary& f = q.figure;
    out << "精度估算 (设计, 尚未观测): 各项精度由计划的测角中误差 σ0 = " << FixedText(q.unit, 2)
        << "″ 按图形和权估算, 不是平差结果\n图形:";
    for (const PointCheck& p : q.points)
        out << ' ' << kLetters[p.point] << ' ' << p.name << (p.known ? " (已知)" : "");
    out << "\n\n点位精度 (先验)\n点\t点名\tmx/mm\tmy/mm\tM/mm\ta/mm\tb/mm\tφ/°\n";
    for (const PointCheck& p : q.points) {
        if (!p.precision) continue;
        const PointPrecision& m = *p.precision;
        out << kLetters[p.point] << '\t' << p.name << '\t' << FixedText(m.sx, 2) << '\t' << FixedText(m.sy, 2)
            << '\t' << FixedText(m.sp, 2) << '\t' << FixedText(m.ellipse.a, 2) << '\t'
            << FixedText(m.ellipse.b, 2) << '\t' << FixedText(m.ellipse.azimuth, 1) << '\n';
    }
    out << "\n边长精度 (先验)\n边\t起止\t边长/m\tσs/mm\t相对中误差\t方位角中误差/″\n";
    for (const SidePrecision& s : f.sides)
        out << "S(" << s.index << ")\t" << kLetters[s.from] << '-' << kLetters[s.to] << '\t'
            << FixedText(s.adjusted, 3) << '\t' << FixedText(s.sigma, 2) << '\t' << OneInText(s.relative)
            << '\t' << FixedText(s.azimuthSigma, 2) << '\n';
    if (!f.sides.empty())
        out << "最弱边: S(" << f.Weakest().index << "), 相对中误差 " << OneInText(f.Weakest().relative)
            << '\n';
    out << "\n相对误差椭圆 (先验)\n点对\ta/mm\tb/mm\tφ/°\t点间中误差/mm\n";
    for (const RelativeEllipse& e : f.relativeEllipses)
        out << kLetters[e.from] << '-' << kLetters[e.to] << '\t' << FixedText(e.a, 2) << '\t'
            << FixedText(e.b, 2) << '\t' << FixedText(e.azimuth, 1) << '\t' << FixedText(e.meanError, 2)
            << '\n';
    out << "\n多余观测分量与可靠性 (∇ = 4.13 σ0 √(q/r))\n观测值\tr\t∇\t外部可靠性/mm\n";
    for (const ObservationCheck& o : q.observations) {
        const char* unit = o.kind == ObservationKind::Side ? " mm" : "″";
        out << ObservationName(o) << '\t' << FixedText(o.redundancy, 3) << '\t'
            << (o.mdb ? FixedText(*o.mdb, 2) + unit : "-") << '\t'
            << (o.external ? FixedText(*o.external, 2) : "-") << '\n';
    }
    out << "\n最小角: B(" << f.smallestAngle << ") = " << FixedText(f.smallestAngleDegrees, 4) << "°\n";
    if (orderClass != nullptr) PrintClassChecks(q, *orderClass, out);
}

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
            design = RunDesign(ReadDesignFile(ReadJobFileBytes(file)));
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
        } else {
            PrintDesignText(design, c, out);
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
