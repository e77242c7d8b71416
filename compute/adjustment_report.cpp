// SPDX-License-Identifier: GPL-3.0-or-later
// The sections of the adjustment report, in the order a surveyor hands them
// in.  Units: observed and adjusted angles in degrees, minutes and seconds;
// corrections, w-test biases (∇) in arc seconds for angles and millimetres
// for sides; sides and coordinates in metres; mean errors and ellipse axes
// in millimetres; ellipse azimuths in decimal degrees from north towards east.

#include "compute/adjustment_report.h"

#include <cmath>
#include <ctime>
#include <string_view>

#include "adjust/blunder_advice.h"
#include "adjust/quadrilateral.h"
#include "compute/blunder_advice_texts.h"
#include "compute/class_check_texts.h"
#include "compute/field_book_report.h"
#include "compute/figure_drawing.h"
#include "compute/report_steps.h"
#include "core/display_text.h"
#include "core/korvanet_version.h"

namespace korvanet {
namespace {

constexpr const auto& kLetters = quadrilateral::kPointLetters;

std::string PointLabel(const PointCheck& p) {
    return std::string(kLetters[p.point]) + (p.name.empty() ? "" : " " + p.name);
}

std::string Optional(const std::optional<double>& value, int decimals) {
    return value ? FixedText(*value, decimals) : "-";
}

bool IsAngle(const ObservationCheck& o) { return o.kind != ObservationKind::Side; }

// An observation's value as the surveyor reads it: an angle in d°m′s″, a side in metres.
std::string ObservationValue(const ObservationCheck& o, double value) {
    return IsAngle(o) ? DegreesMinutesSecondsText(value, 2) : FixedText(value, 4);
}

const PointCheck* LargestPointError(const QualityCheck& q) {
    const PointCheck* largest = nullptr;
    for (const PointCheck& p : q.points)
        if (p.precision && (largest == nullptr || p.precision->sp > largest->precision->sp)) largest = &p;
    return largest;
}

// ---- 概况 ----

DocumentTable OverviewTable(const QualityCheck& q, const ReportOptions& o, bool design,
                            const ClassCompliance* compliance) {
    DocumentTable t;
    t.name = "概况";
    t.columns = {{"项目", ""}, {"内容", ""}};
    auto add = [&](std::string item, std::string value, bool flagged = false) {
        t.rows.push_back({std::move(item), std::move(value)});
        t.flagged.push_back(flagged);
    };
    add("作业", o.job);
    add("日期", o.date);
    add("程序", std::string("Korvanet ") + kVersion);
    if (o.orderClass != nullptr) {
        const OrderClass& c = *o.orderClass;
        add("等级", c.name + " (" + c.standard + (c.clause.empty() ? "" : " " + c.clause) + ")");
    } else {
        add("等级", "未选择");
    }
    if (design) {
        add("计划测角中误差 σ0 (″)", FixedText(q.unit, 2));
        add("说明", "精度估算: 各项精度由计划的测角中误差按图形和权估算, 不是平差结果");
    } else {
        add("测角中误差 σ0 (″)", FixedText(q.tolerance, 2) + " (先验单位权中误差)");
        add("验后单位权中误差 m0 (″)", FixedText(q.m0, 2));
        add("整体检验 T = [pvv]/σ0²",
            FixedText(q.global.statistic, 3) + " (临界值 " + FixedText(q.global.critical, 3) +
                ", χ² 自由度 9, 95 %): " + (q.global.passed ? "通过" : "未通过"),
            !q.global.passed);
    }
    std::string known, determined;
    for (const PointCheck& p : q.points) {
        std::string& list = p.known ? known : determined;
        list += (list.empty() ? "" : ", ") + PointLabel(p);
    }
    add("已知点", known);
    add("待定点", determined);
    add("观测值个数", std::to_string(q.observations.size()));
    add("条件个数 (多余观测数)",
        std::to_string(q.redundancy) + " (两个三角形闭合条件和 7 个独立条件方程; w(7), w(9) 由其余条件推出)");
    if (const PointCheck* p = LargestPointError(q))
        add("最大点位中误差 (mm)", FixedText(p->precision->sp, 2) + " (" + PointLabel(*p) + ")");
    if (!q.figure.sides.empty()) {
        const SidePrecision& s = q.figure.Weakest();
        add("最弱边", "S(" + std::to_string(s.index) + ") " + kLetters[s.from] + "-" + kLetters[s.to] + ", " +
                          OneInText(s.relative));
    }
    if (!design) {
        const ObservationCheck* s = q.Suspect();
        add("可疑观测值", s ? ObservationName(*s) + " (w = " + Optional(s->w, 2) + ")" : "无", s != nullptr);
    }
    if (compliance != nullptr)
        add(design ? "按设计能否达到等级" : "符合等级", compliance->compliant ? "是" : "否",
            !compliance->compliant);
    return t;
}

// ---- 闭合差 ----

std::string MisclosureLabel(const MisclosureCheck& m) {
    const std::string number = std::to_string(m.index);
    return m.kind == MisclosureKind::Triangle ? "三角形 " + number + " 闭合差" : "w(" + number + ")";
}

DocumentTable MisclosureTable(const QualityCheck& q) {
    DocumentTable t;
    t.name = "闭合差";
    t.columns = {{"闭合差", ""}, {"数值", ""}, {"单位", ""}, {"中误差", ""}, {"限值 (2 倍中误差)", ""},
                 {"超限", ""}};
    for (const MisclosureCheck& m : q.misclosures) {
        t.rows.push_back({MisclosureLabel(m), FixedText(m.value, 2), m.seconds ? "″" : "mm",
                          FixedText(m.meanError, 2), FixedText(m.limit, 2), m.exceeded ? "超限" : "否"});
        t.flagged.push_back(m.exceeded);
    }
    return t;
}

DocumentTable TriangleTable(const QualityCheck& q, const OrderClass* c) {
    DocumentTable t;
    t.name = "三角形闭合差";
    t.columns = {{"三角形", ""}, {"闭合差", "″"}, {"限值", "″"}, {"超限", ""}};
    for (const TriangleClosure& tri : q.figure.triangles) {
        const bool limited = c != nullptr && c->triangleClosure.has_value();
        const bool exceeded = limited && std::fabs(tri.closure) > *c->triangleClosure;
        t.rows.push_back({std::string(tri.name), FixedText(tri.closure, 2),
                          limited ? FixedText(*c->triangleClosure, 1) : "-",
                          limited ? (exceeded ? "超限" : "否") : "-"});
        t.flagged.push_back(exceeded);
    }
    return t;
}

// ---- 观测值 ----

DocumentTable ObservationTable(const QualityCheck& q, bool design) {
    DocumentTable t;
    t.name = "观测值";
    if (design) {
        t.columns = {{"观测量", ""},
                     {"设计值", ""},
                     {"单位", ""},
                     {"多余观测分量 r", ""},
                     {"可发现的最小粗差 ∇", ""},
                     {"外部可靠性", "mm"}};
    } else {
        t.columns = {{"观测量", ""},           {"观测值", ""},
                     {"改正数", ""},           {"平差值", ""},
                     {"单位 (改正数, ∇)", ""}, {"多余观测分量 r", ""},
                     {"w 检验", ""},           {"可发现的最小粗差 ∇", ""},
                     {"外部可靠性", "mm"},     {"标记", ""}};
    }
    const ObservationCheck* suspect = design ? nullptr : q.Suspect();
    for (const ObservationCheck& o : q.observations) {
        const std::string unit = IsAngle(o) ? "″" : "mm";
        if (design) {
            t.rows.push_back({ObservationName(o), ObservationValue(o, o.observed), unit,
                              FixedText(o.redundancy, 3), Optional(o.mdb, 2), Optional(o.external, 2)});
            t.flagged.push_back(false);
            continue;
        }
        const bool rejected = o.w && std::fabs(*o.w) > kWTestCritical;
        std::string mark = &o == suspect ? "可疑" : rejected ? "超限" : "";
        t.rows.push_back({ObservationName(o), ObservationValue(o, o.observed), FixedText(o.residual, 2),
                          ObservationValue(o, o.adjusted), unit, FixedText(o.redundancy, 3), Optional(o.w, 2),
                          Optional(o.mdb, 2), Optional(o.external, 2), mark});
        t.flagged.push_back(!mark.empty());
    }
    return t;
}

// ---- 粗差探测与方差分量 ----

DocumentSection BlunderSection(const QualityCheck& q) {
    const BlunderAdvice advice = AdviseOnBlunders(q);
    DocumentTable t;
    t.name = "去掉观测后的 m0";
    t.columns = {{"观测量", ""}, {"w 检验", ""}, {"去掉后 m0", "″"}};
    for (std::size_t i = 0; i < q.observations.size(); ++i) {
        const ObservationCheck& o = q.observations[i];
        t.rows.push_back({ObservationName(o), Optional(o.w, 2), Optional(advice.m0Without[i], 2)});
        t.flagged.push_back(false);
    }
    DocumentSection s{"粗差探测与方差分量",
                      {ParagraphBlock(M0WithoutExplanation()), TableBlock(std::move(t))}};
    for (const std::string& line : SnoopingLines(advice.snooping)) s.blocks.push_back(ParagraphBlock(line));
    for (const std::string& line : VarianceLines(advice.variance)) s.blocks.push_back(ParagraphBlock(line));
    return s;
}

// ---- 点位精度 ----

DocumentTable PointTable(const QualityCheck& q) {
    DocumentTable t;
    t.name = "点位精度";
    t.columns = {{"点", ""},         {"点名", ""},       {"类别", ""},     {"x", "m"},
                 {"y", "m"},         {"mx", "mm"},       {"my", "mm"},     {"点位中误差", "mm"},
                 {"长半轴 a", "mm"}, {"短半轴 b", "mm"}, {"长轴方位", "°"}};
    for (const PointCheck& p : q.points) {
        std::vector<std::string> row = {kLetters[p.point], p.name, p.known ? "已知" : "待定",
                                        FixedText(p.x, 4), FixedText(p.y, 4)};
        if (p.precision) {
            const PointPrecision& m = *p.precision;
            for (double v : {m.sx, m.sy, m.sp, m.ellipse.a, m.ellipse.b}) row.push_back(FixedText(v, 2));
            row.push_back(FixedText(m.ellipse.azimuth, 2));
        } else {
            row.insert(row.end(), 6, "-");
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

// ---- 边长与方位 ----

DocumentTable SideTable(const QualityCheck& q) {
    DocumentTable t;
    t.name = "边长与方位";
    t.columns = {{"边", ""},           {"起止点", ""},        {"平差边长", "m"},
                 {"边长中误差", "mm"}, {"相对中误差", "1/N"}, {"方位角中误差", "″"}};
    for (std::size_t i = 0; i < q.figure.sides.size(); ++i) {
        const SidePrecision& s = q.figure.sides[i];
        t.rows.push_back({"S(" + std::to_string(s.index) + ")",
                          std::string(kLetters[s.from]) + "-" + kLetters[s.to], FixedText(s.adjusted, 4),
                          FixedText(s.sigma, 2), OneInText(s.relative), FixedText(s.azimuthSigma, 2)});
        t.flagged.push_back(i == q.figure.weakest);
    }
    return t;
}

// ---- 点间精度 ----

DocumentTable RelativeTable(const QualityCheck& q) {
    DocumentTable t;
    t.name = "点间精度";
    t.columns = {
        {"点对", ""}, {"长半轴 a", "mm"}, {"短半轴 b", "mm"}, {"长轴方位", "°"}, {"点间中误差", "mm"}};
    for (const RelativeEllipse& e : q.figure.relativeEllipses)
        t.rows.push_back({std::string(kLetters[e.from]) + "-" + kLetters[e.to], FixedText(e.a, 2),
                          FixedText(e.b, 2), FixedText(e.azimuth, 2), FixedText(e.meanError, 2)});
    return t;
}

// ---- 规范检核 ----

DocumentSection ClassSection(const OrderClass& c, const ClassCompliance& compliance, bool design,
                             const std::string& source) {
    DocumentSection s{"规范检核", {}};
    s.blocks.push_back(ParagraphBlock((design ? "按设计估算的各项精度对照 " : "平差结果对照 ") + c.name +
                                      " 的限值 (" + c.standard + (c.clause.empty() ? "" : " " + c.clause) +
                                      ")。"));
    if (!source.empty()) s.blocks.push_back(ParagraphBlock("等级表: " + source));
    DocumentTable t;
    t.name = "规范检核";
    t.columns = {{"检核项", ""}, {"数值", ""}, {"限值", ""}, {"结果", ""}, {"说明", ""}};
    for (const ClassCheck& check : compliance.checks) {
        t.rows.push_back({CheckItemText(check), CheckValueText(check), CheckLimitText(check),
                          check.passed ? "通过" : "未通过", check.note});
        t.flagged.push_back(!check.passed);
    }
    s.blocks.push_back(TableBlock(std::move(t)));
    if (!compliance.notChecked.empty())
        s.blocks.push_back(
            ParagraphBlock("该等级没有给出限值, 未检核: " + NotCheckedText(compliance) + "。"));
    s.blocks.push_back(ParagraphBlock(
        design ? (compliance.compliant ? "结论: 按设计可以达到 " : "结论: 按设计达不到 ") + c.name + "。"
               : (compliance.compliant ? "结论: 符合 " : "结论: 不符合 ") + c.name + "。"));
    return s;
}

// ---- 成果表 ----

DocumentTable CoordinateTable(const QualityCheck& q) {
    DocumentTable t;
    t.name = "成果表";
    t.columns = {{"点名", ""}, {"x", "m"}, {"y", "m"}, {"点位中误差", "mm"}, {"备注", ""}};
    for (const PointCheck& p : q.points)
        t.rows.push_back({p.name.empty() ? kLetters[p.point] : p.name, FixedText(p.x, 3), FixedText(p.y, 3),
                          p.precision ? FixedText(p.precision->sp, 1) : "-", p.known ? "已知点" : "平差值"});
    return t;
}

DocumentSection Section(std::string heading, std::vector<DocumentBlock> blocks) {
    return DocumentSection{std::move(heading), std::move(blocks)};
}

std::string Subtitle(const ReportOptions& o) {
    return "作业 " + o.job + " · " + o.date + " · Korvanet " + kVersion;
}

}  // namespace

AdjustmentDocument JobReportDocument(const SurveyState& state, const QualityCheck& q,
                                     const ReportOptions& o) {
    AdjustmentDocument doc;
    doc.title = "平差报告";
    doc.subtitle = Subtitle(o);
    std::optional<ClassCompliance> compliance;
    if (o.orderClass != nullptr) compliance = CheckOrderClass(q, *o.orderClass);
    // A figure reduced from a field book is handed in with its field work first.
    if (o.fieldBook != nullptr) doc.sections = FieldBookReportSections(*o.fieldBook);
    doc.sections.push_back(
        Section("概况", {TableBlock(OverviewTable(q, o, false, compliance ? &*compliance : nullptr))}));
    doc.sections.push_back(Section(
        "闭合差",
        {ParagraphBlock("图形的两个三角形闭合差和条件方程的闭合差 w(1)…w(9), 限值为其先验中误差的 2 倍; "
                        "w(1) 以秒计, w(2)…w(9) 以毫米计。"),
         TableBlock(MisclosureTable(q)), ParagraphBlock("等级检核的四个三角形 (观测角之和减 180°):"),
         TableBlock(TriangleTable(q, o.orderClass))}));
    doc.sections.push_back(Section(
        "观测值",
        {ParagraphBlock("改正数 = 平差值 - 观测值; w 检验的临界值为 3.29 (α = 0.1 %); "
                        "∇ = 4.13 σ0 √(q/r) 为可发现的最小粗差, 外部可靠性为该粗差引起的最大点位移动。"),
         TableBlock(ObservationTable(q, false))}));
    doc.sections.push_back(BlunderSection(q));
    doc.sections.push_back(Section("点位精度", {TableBlock(PointTable(q))}));
    doc.sections.push_back(Section("边长与方位", {TableBlock(SideTable(q))}));
    doc.sections.push_back(Section("点间精度", {TableBlock(RelativeTable(q))}));
    if (compliance) doc.sections.push_back(ClassSection(*o.orderClass, *compliance, false, o.classSource));
    if (o.steps) doc.sections.push_back(StepsSection(WorkComputationSteps(q.solved, state)));
    doc.sections.push_back(Section(
        "图",
        {FigureBlock(FigureSvg(q, true), "平差后的图形, 点位误差椭圆和相对误差椭圆 (虚线) 按图中比例放大")}));
    doc.sections.push_back(Section("成果表", {TableBlock(CoordinateTable(q))}));
    return doc;
}

AdjustmentDocument DesignReportDocument(const SurveyState&, const QualityCheck& q, const ReportOptions& o) {
    AdjustmentDocument doc;
    doc.title = "精度估算报告";
    doc.subtitle = Subtitle(o);
    std::optional<ClassCompliance> compliance;
    if (o.orderClass != nullptr) compliance = CheckOrderClass(q, *o.orderClass);
    doc.sections.push_back(
        Section("概况", {TableBlock(OverviewTable(q, o, true, compliance ? &*compliance : nullptr))}));
    doc.sections.push_back(Section("观测值", {ParagraphBlock("设计值由点的座标反算; ∇ = 4.13 σ0 √(q/r)。"),
                                              TableBlock(ObservationTable(q, true))}));
    doc.sections.push_back(Section("点位精度", {TableBlock(PointTable(q))}));
    doc.sections.push_back(Section("边长与方位", {TableBlock(SideTable(q))}));
    doc.sections.push_back(Section("点间精度", {TableBlock(RelativeTable(q))}));
    if (compliance) doc.sections.push_back(ClassSection(*o.orderClass, *compliance, true, o.classSource));
    doc.sections.push_back(
        Section("图", {FigureBlock(FigureSvg(q, true),
                                   "设计的图形, 先验点位误差椭圆和相对误差椭圆 (虚线) 按图中比例放大")}));
    doc.sections.push_back(Section("成果表", {TableBlock(CoordinateTable(q))}));
    return doc;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
    return buffer;
}

}  // namespace korvanet
