// SPDX-License-Identifier: GPL-3.0-or-later
// The field book's computation sheet and the report's field sections, laid
// out as the paper 手簿 and its computation sheet are.  Units: readings,
// mean readings, directions and angles in degrees, minutes and seconds;
// 2C, closures, spreads and half-set differences in arc seconds; distances
// in metres to 0.1 mm, their corrections and spreads in mm; the projection
// distortion in mm/km.

#include "compute/field_book_report.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adjust/quadrilateral.h"
#include "compute/field_check_texts.h"
#include "core/display_text.h"
#include "core/korvanet_version.h"
#include "entry/job_layout.h"

namespace korvanet {
namespace {

using quadrilateral::kAngleRays;
using quadrilateral::kPointLetters;
using quadrilateral::kSideEnds;

std::string Letter(int point) { return kPointLetters[static_cast<std::size_t>(point)]; }

std::string PointLabel(const FieldBook& book, int point) {
    const std::string& name = book.points[static_cast<std::size_t>(point)].name;
    return Letter(point) + (name.empty() ? "" : " " + name);
}

std::string SideLabel(int side) {
    const auto& ends = kSideEnds[static_cast<std::size_t>(side)];
    return Letter(ends.from) + "-" + Letter(ends.to);
}

// ---- the items the reduction names its checks by ----
//
// A direction set "A 第1测回" (its closures "A 第1测回 盘左" and "… 盘右"),
// a direction "A→C", an angle "∠1" and its set "∠1 第2测回", a distance
// record "A→B", a side "S(1) A-B".

std::string SetItem(int point, std::size_t set) {
    return Letter(point) + " 第" + std::to_string(set + 1) + "测回";
}
std::string RayItem(int from, int to) { return Letter(from) + "→" + Letter(to); }
std::string AngleItem(int angle) { return "∠" + std::to_string(angle); }
std::string SideItem(int side) { return "S(" + std::to_string(side) + ") " + SideLabel(side); }

// The checks of a run, looked up by what they judge.
class Checks {
public:
    explicit Checks(const std::vector<FieldCheck>& all) : all_(all) {}

    // The `occurrence`-th check of `kind` on `item` (a distance measured
    // twice the same way gives two records of the same name), or none.
    const FieldCheck* Find(FieldCheckKind kind, const std::string& item, int occurrence = 0) const {
        for (const FieldCheck& c : all_)
            if (c.kind == kind && c.item == item && occurrence-- == 0) return &c;
        return nullptr;
    }

    std::vector<const FieldCheck*> OfKinds(std::initializer_list<FieldCheckKind> kinds) const {
        std::vector<const FieldCheck*> out;
        for (const FieldCheck& c : all_)
            if (std::find(kinds.begin(), kinds.end(), c.kind) != kinds.end()) out.push_back(&c);
        return out;
    }

    const std::vector<FieldCheck>& All() const { return all_; }

private:
    const std::vector<FieldCheck>& all_;
};

bool Failed(const FieldCheck* c) { return c != nullptr && c->passed.has_value() && !*c->passed; }

void AddIf(std::vector<const FieldCheck*>& list, const FieldCheck* c) {
    if (c != nullptr) list.push_back(c);
}

// ---- number texts ----

// Decimal degrees in d°m′s″.
std::string Dms(double degrees, int secondDecimals) {
    return DegreesMinutesSecondsText(degrees, secondDecimals);
}

// The decimals of the seconds a packed reading was typed with: "60.23365" has one.
int TypedSecondDecimals(const std::string& packed) {
    const std::size_t point = packed.find('.');
    if (point == std::string::npos) return 0;
    const int decimals = static_cast<int>(packed.size() - point - 1) - 4;
    return std::clamp(decimals, 0, 4);
}

std::string Reading(const FieldNumber& reading) {
    return Dms(reading.value / 3600, TypedSecondDecimals(reading.text));
}

std::string Seconds(double arcSeconds) { return FixedText(arcSeconds, 1); }
std::string Metres(double metres) { return FixedText(metres, 4); }
std::string Millimetres(double mm) { return FixedText(mm, 1); }
std::string OptionalMillimetres(const std::optional<double>& mm) { return mm ? Millimetres(*mm) : "-"; }

// ---- checks as a table ----

DocumentTable ChecksTable(std::string name, const std::vector<const FieldCheck*>& checks) {
    DocumentTable t;
    t.name = std::move(name);
    t.columns = {{"项目", ""}, {"检核", ""}, {"值", ""}, {"限差", ""}, {"结论", ""}, {"说明", ""}};
    for (const FieldCheck* c : checks) {
        t.rows.push_back({FieldCheckKindName(c->kind), c->item, FieldCheckValueText(*c),
                          FieldCheckLimitText(*c), FieldCheckVerdictText(*c), c->note});
        t.flagged.push_back(Failed(c));
    }
    return t;
}

// ---- 水平方向观测 ----

const FieldStation* BookStation(const FieldBook& book, int point) {
    for (const FieldStation& s : book.stations)
        if (s.point == point) return &s;
    return nullptr;
}

// 方向观测法: the paper 手簿's table of one station, and the checks of its sets and directions.
void DirectionStation(const FieldBook& book, const ReducedStation& rs, const FieldStation& fs,
                      const Checks& checks, std::vector<DocumentBlock>& blocks) {
    DocumentTable t;
    t.name = "测站 " + PointLabel(book, rs.point) + " 方向观测";
    t.columns = {{"测站", ""},        {"测回", ""},          {"目标", ""},
                 {"盘左", "°′″"},     {"盘右", "°′″"},       {"2C", "″"},
                 {"平均读数", "°′″"}, {"归零方向值", "°′″"}, {"各测回平均方向值", "°′″"}};
    std::vector<const FieldCheck*> stationChecks;
    const std::size_t sets = std::min(rs.sets.size(), fs.sets.size());
    for (std::size_t s = 0; s < sets; ++s) {
        const ReducedSet& set = rs.sets[s];
        const std::string item = SetItem(rs.point, s);
        const FieldCheck* left = checks.Find(FieldCheckKind::HalfRoundClosure, item + " 盘左");
        const FieldCheck* right = checks.Find(FieldCheckKind::HalfRoundClosure, item + " 盘右");
        const FieldCheck* twoC = checks.Find(FieldCheckKind::TwoCRange, item);
        AddIf(stationChecks, left);
        AddIf(stationChecks, right);
        AddIf(stationChecks, twoC);
        const bool setFailed = Failed(left) || Failed(right) || Failed(twoC);
        const bool closed = set.closureLeft.has_value();
        const std::size_t lines = std::min(set.lines.size(), fs.sets[s].lines.size());
        for (std::size_t i = 0; i < lines; ++i) {
            const ReducedLine& line = set.lines[i];
            const FieldDirectionLine& typed = fs.sets[s].lines[i];
            const bool closing = closed && i + 1 == lines;
            std::string average;
            bool spreadFailed = false;
            if (s == 0 && !closing) {
                for (const ReducedDirection& d : rs.directions)
                    if (d.target == line.target) average = Dms(d.reduced, 2);
                spreadFailed = Failed(checks.Find(FieldCheckKind::SetSpread, RayItem(rs.point, line.target)));
            }
            t.rows.push_back({s == 0 && i == 0 ? PointLabel(book, rs.point) : "",
                              i == 0 ? std::to_string(s + 1) : "", Letter(line.target), Reading(typed.left),
                              Reading(typed.right), Seconds(line.twoC), Dms(line.mean, 1),
                              closing ? "" : Dms(line.reduced, 1), average});
            t.flagged.push_back(setFailed || spreadFailed);
        }
    }
    for (const ReducedDirection& d : rs.directions)
        AddIf(stationChecks, checks.Find(FieldCheckKind::SetSpread, RayItem(rs.point, d.target)));
    blocks.push_back(TableBlock(std::move(t)));
    if (!stationChecks.empty())
        blocks.push_back(TableBlock(ChecksTable("测站 " + Letter(rs.point) + " 限差", stationChecks)));
}

// 测回法: each angle's sets, two lines a set as on paper: the readings to
// the first target, then to the second with the half-set angles.
void AngleStation(const FieldBook& book, const ReducedStation& rs, const FieldStation& fs,
                  const Checks& checks, std::vector<DocumentBlock>& blocks) {
    DocumentTable t;
    t.name = "测站 " + PointLabel(book, rs.point) + " 测回法";
    t.columns = {{"角", ""},
                 {"测回", ""},
                 {"目标", ""},
                 {"盘左读数", "°′″"},
                 {"盘右读数", "°′″"},
                 {"盘左 β_L", "°′″"},
                 {"盘右 β_R", "°′″"},
                 {"半测回差", "″"},
                 {"一测回角值", "°′″"},
                 {"各测回平均角值", "°′″"}};
    std::vector<const FieldCheck*> stationChecks;
    for (const StationAngle& a : rs.angles) {
        const FieldCheck* spread = checks.Find(FieldCheckKind::AngleSetSpread, AngleItem(a.angle));
        std::size_t next = 0;  // the book's sets, searched in order for this angle's
        for (std::size_t n = 0; n < a.sets.size(); ++n) {
            const AngleSetReduction& set = a.sets[n];
            const FieldSet* typed = nullptr;
            for (; next < fs.sets.size() && typed == nullptr; ++next) {
                const auto& lines = fs.sets[next].lines;
                if (lines.size() == 2 && lines[0].target == set.from && lines[1].target == set.to)
                    typed = &fs.sets[next];
            }
            const FieldCheck* half = checks.Find(FieldCheckKind::HalfSetDifference,
                                                 AngleItem(a.angle) + " 第" + std::to_string(n + 1) + "测回");
            AddIf(stationChecks, half);
            const bool failed = Failed(half) || Failed(spread);
            auto readings = [&](int line) -> std::pair<std::string, std::string> {
                if (typed == nullptr) return {"-", "-"};
                return {Reading(typed->lines[static_cast<std::size_t>(line)].left),
                        Reading(typed->lines[static_cast<std::size_t>(line)].right)};
            };
            const auto [fromLeft, fromRight] = readings(0);
            const auto [toLeft, toRight] = readings(1);
            t.rows.push_back({n == 0 ? AngleItem(a.angle) : "", std::to_string(n + 1), Letter(set.from),
                              fromLeft, fromRight, "", "", "", "", ""});
            t.rows.push_back({"", "", Letter(set.to), toLeft, toRight, Dms(set.left, 1), Dms(set.right, 1),
                              Seconds(set.halfDifference), Dms(set.angle, 1),
                              n == 0 ? Dms(a.degrees, 2) : ""});
            t.flagged.insert(t.flagged.end(), 2, failed);
        }
        AddIf(stationChecks, spread);
    }
    blocks.push_back(TableBlock(std::move(t)));
    if (!stationChecks.empty())
        blocks.push_back(TableBlock(ChecksTable("测站 " + Letter(rs.point) + " 限差", stationChecks)));
}

// The figure's eight angles as the stations give them.
DocumentTable AngleTable(const FieldReduction& r) {
    DocumentTable t;
    t.name = "观测角";
    t.columns = {{"角", ""}, {"测站", ""}, {"方向", ""}, {"角值", "°′″"}, {"角值", "d.mmss"}};
    for (int k = 1; k <= 8; ++k) {
        const auto& rays = kAngleRays[static_cast<std::size_t>(k)];
        const auto& value = r.angles[static_cast<std::size_t>(k)];
        t.rows.push_back({AngleItem(k), Letter(rays.at), RayItem(rays.from, rays.to),
                          value ? Dms(*value, 2) : "-", value ? PackedAngleText(*value, 2) : "-"});
    }
    return t;
}

std::string ClassText(const FieldBookRun& run) {
    if (!run.orderClass) return "未选等级, 各项限差只列出不检核 (投影长度变形除外)";
    const OrderClass& c = *run.orderClass;
    return "等级 " + c.name + ", 对照其外业限差";
}

std::vector<DocumentBlock> DirectionBlocks(const FieldBookRun& run, const Checks& checks) {
    std::vector<DocumentBlock> blocks;
    const FieldInstruments in = InstrumentsOf(run.book);
    blocks.push_back(ParagraphBlock("经纬仪 " + std::to_string(in.theodolite) + "″ 级; " + ClassText(run) +
                                    "。2C = 盘左 - (盘右 ± 180°), 平均读数 = 盘左 - 2C/2; "
                                    "有归零方向时以起始方向两次平均读数的平均值为零方向。"));
    for (const ReducedStation& rs : run.reduction.stations) {
        const FieldStation* fs = BookStation(run.book, rs.point);
        if (fs == nullptr) continue;
        std::string method = "方向观测法, " + std::to_string(fs->sets.size()) + " 测回";
        if (!rs.directionMethod) {
            method = "测回法";
            for (const StationAngle& a : rs.angles)
                method += ", " + AngleItem(a.angle) + " " + std::to_string(a.sets.size()) + " 测回";
        }
        blocks.push_back(ParagraphBlock("测站 " + PointLabel(run.book, rs.point) + ": " + method + "。"));
        if (rs.directionMethod)
            DirectionStation(run.book, rs, *fs, checks, blocks);
        else
            AngleStation(run.book, rs, *fs, checks, blocks);
    }
    if (run.reduction.stations.empty()) blocks.push_back(ParagraphBlock("手簿中还没有测站的观测。"));
    blocks.push_back(ParagraphBlock("由各测站的方向值 (或测回法角值) 得到图形的八个观测角:"));
    blocks.push_back(TableBlock(AngleTable(run.reduction)));
    return blocks;
}

// ---- 测距 ----

std::string SurfaceText(const FieldBook& book) {
    std::string text =
        book.surface ? "归算到高程面 H_P = " + FixedText(book.surface->value, 3) + " m" : "不归算到高程面";
    text += book.projection ? ", 归算到高斯投影面" : ", 不作高斯投影改正";
    return text;
}

std::string HeightsText(const FieldBook& book) {
    std::string text;
    for (int p = 0; p < 4; ++p) {
        const auto& h = book.points[static_cast<std::size_t>(p)].height;
        text += (text.empty() ? "" : ", ") + Letter(p) + " " + (h ? FixedText(h->value, 3) + " m" : "-");
    }
    return text;
}

// The checks of a distance record: its reading spread and its set spread.
struct RecordChecks {
    const FieldCheck* reading = nullptr;
    const FieldCheck* sets = nullptr;
    bool Exceeded() const { return Failed(reading) || Failed(sets); }
};

std::vector<RecordChecks> RecordChecksOf(const FieldBook& book, const Checks& checks) {
    std::vector<RecordChecks> out;
    for (std::size_t i = 0; i < book.distances.size(); ++i) {
        const FieldDistance& d = book.distances[i];
        int earlier = 0;  // records of the same name before this one
        for (std::size_t j = 0; j < i; ++j)
            earlier += book.distances[j].from == d.from && book.distances[j].to == d.to ? 1 : 0;
        const std::string item = RayItem(d.from, d.to);
        out.push_back({checks.Find(FieldCheckKind::ReadingSpread, item, earlier),
                       checks.Find(FieldCheckKind::DistanceSetSpread, item, earlier)});
    }
    return out;
}

// The records as measured: each set's readings, its mean and spread, and
// the record's zenith or heights and its weather on its first line.
DocumentTable RecordTable(const FieldBook& book, const std::vector<RecordChecks>& recordChecks) {
    std::size_t most = 0;  // readings in the longest set
    for (const FieldDistance& d : book.distances)
        for (const auto& readings : d.sets) most = std::max(most, readings.size());
    DocumentTable t;
    t.name = "测距观测";
    t.columns = {{"测距边", ""}, {"测回", ""}};
    for (std::size_t k = 0; k < most; ++k) t.columns.push_back({"读数 " + std::to_string(k + 1), "m"});
    t.columns.insert(t.columns.end(), {{"测回平均", "m"},
                                       {"读数较差", "mm"},
                                       {"天顶距 盘左", "°′″"},
                                       {"天顶距 盘右", "°′″"},
                                       {"仪器高", "m"},
                                       {"棱镜高", "m"},
                                       {"温度", "°C"},
                                       {"气压", "hPa"}});
    for (std::size_t i = 0; i < book.distances.size(); ++i) {
        const FieldDistance& d = book.distances[i];
        for (std::size_t s = 0; s < d.sets.size(); ++s) {
            const auto& readings = d.sets[s];
            const bool first = s == 0;
            std::vector<std::string> row = {first ? RayItem(d.from, d.to) : "", std::to_string(s + 1)};
            double sum = 0, low = readings.empty() ? 0 : readings.front().value, high = low;
            for (const FieldNumber& r : readings) {
                row.push_back(r.text);
                sum += r.value;
                low = std::min(low, r.value);
                high = std::max(high, r.value);
            }
            row.resize(2 + most);
            row.push_back(readings.empty() ? "-" : Metres(sum / static_cast<double>(readings.size())));
            row.push_back(Millimetres((high - low) * 1000));
            auto pair = [&](const auto& values, std::size_t k, auto text) -> std::string {
                if (!first) return "";
                return values ? text((*values)[k]) : "-";
            };
            auto asTyped = [](const FieldNumber& n) { return n.text; };
            for (std::string cell :
                 {pair(d.zenith, 0, Reading), pair(d.zenith, 1, Reading), pair(d.heights, 0, asTyped),
                  pair(d.heights, 1, asTyped), pair(d.met, 0, asTyped), pair(d.met, 1, asTyped)})
                row.push_back(std::move(cell));
            t.rows.push_back(std::move(row));
            t.flagged.push_back(i < recordChecks.size() && recordChecks[i].Exceeded());
        }
    }
    return t;
}

// Each record step by step, from the mean slope distance to the plane.
DocumentTable ReductionTable(const FieldBook& book, const FieldReduction& r,
                             const std::vector<RecordChecks>& recordChecks) {
    DocumentTable t;
    t.name = "测距归算";
    t.columns = {{"测距边", ""},     {"测回数", ""},           {"平均斜距 S̄", "m"}, {"读数较差", "mm"},
                 {"测回较差", "mm"}, {"常数改正 K+R·S̄", "mm"}, {"气象改正", "mm"},  {"平距 D", "m"},
                 {"高程归算", "mm"}, {"投影改正", "mm"},       {"归算边长", "m"}};
    for (std::size_t i = 0; i < r.distances.size(); ++i) {
        const ReducedDistance& d = r.distances[i];
        const bool met = i < book.distances.size() && book.distances[i].met.has_value();
        t.rows.push_back({RayItem(d.from, d.to), std::to_string(d.sets), Metres(d.meanSlope),
                          Millimetres(d.readingSpread), OptionalMillimetres(d.setSpread),
                          Millimetres(d.constants), met ? Millimetres(d.meteorological) : "-",
                          Metres(d.horizontal), OptionalMillimetres(d.height),
                          OptionalMillimetres(d.projection), Metres(d.reduced)});
        t.flagged.push_back(i < recordChecks.size() && recordChecks[i].Exceeded());
    }
    return t;
}

// The sides: each way, their difference against 2 (a + b D), the mean.
DocumentTable SideTable(const FieldReduction& r, const Checks& checks) {
    DocumentTable t;
    t.name = "边长";
    t.columns = {{"边", ""},         {"起止点", ""},          {"往测", "m"}, {"返测", "m"},
                 {"往返较差", "mm"}, {"限差 2(a+b·D)", "mm"}, {"结论", ""},  {"边长", "m"}};
    for (const ReducedSide& side : r.sides) {
        const FieldCheck* c = checks.Find(FieldCheckKind::ForwardBack, SideItem(side.index));
        const std::string verdict = c != nullptr ? FieldCheckVerdictText(*c) : "单向观测";
        t.rows.push_back({"S(" + std::to_string(side.index) + ")", SideLabel(side.index),
                          side.forward ? Metres(*side.forward) : "-", side.back ? Metres(*side.back) : "-",
                          c != nullptr ? FieldCheckFigure(*c) : OptionalMillimetres(side.difference),
                          OptionalMillimetres(side.limit), verdict, Metres(side.reduced)});
        t.flagged.push_back(Failed(c));
    }
    return t;
}

std::vector<DocumentBlock> DistanceBlocks(const FieldBookRun& run, const Checks& checks) {
    const FieldBook& book = run.book;
    const FieldReduction& r = run.reduction;
    const FieldInstruments in = InstrumentsOf(book);
    std::vector<DocumentBlock> blocks;
    blocks.push_back(ParagraphBlock(
        "测距仪标称精度 " + ShortestText(in.edmA) + " mm + " + ShortestText(in.edmB) +
        " mm/km; 加常数 K = " + ShortestText(in.constantK) + " mm, 乘常数 R = " + ShortestText(in.constantR) +
        " mm/km; 气象改正 ppm = " + ShortestText(in.atmosphereA) + " - " + ShortestText(in.atmosphereB) +
        "·p/(1 + 0.003661·t); " + SurfaceText(book) + "。点的高程: " + HeightsText(book) + "。"));
    if (book.distances.empty()) {
        blocks.push_back(ParagraphBlock("手簿中还没有测距记录。"));
        return blocks;
    }
    const std::vector<RecordChecks> recordChecks = RecordChecksOf(book, checks);
    blocks.push_back(TableBlock(RecordTable(book, recordChecks)));
    blocks.push_back(ParagraphBlock(
        "S1 = S̄ + K + R·S̄, S2 = S1 (1 + ppm·10⁻⁶); 平距由天顶距 (指标差 i = (L + R - 360°)/2, D = S2 sin(L - "
        "i)) "
        "或高差 (D = √(S2² - Δh²)) 求得; 高程归算 D (H_P - H_m)/R, 投影改正 D_H (y_m²/(2R²) + Δy²/(24R²)), "
        "R = 6371 km。"));
    blocks.push_back(TableBlock(ReductionTable(book, r, recordChecks)));
    const std::vector<const FieldCheck*> recordLimits =
        checks.OfKinds({FieldCheckKind::ReadingSpread, FieldCheckKind::DistanceSetSpread});
    if (!recordLimits.empty()) blocks.push_back(TableBlock(ChecksTable("测距限差", recordLimits)));
    blocks.push_back(ParagraphBlock("各边取往测与返测归算边长的平均值; 往返较差的限差为 2(a + b·D):"));
    blocks.push_back(TableBlock(SideTable(r, checks)));
    if (r.knownAD) {
        std::string text = "D 为已知点: 由 A、D 座标反算 A-D = " + Metres(*r.knownAD) + " m";
        for (const ReducedSide& side : r.sides)
            if (side.index == 6)
                text += "; 实测 A-D 归算为 " + Metres(side.reduced) + " m, 差 " +
                        Millimetres((side.reduced - *r.knownAD) * 1000) + " mm (检核已知点, 不参加平差)";
        blocks.push_back(ParagraphBlock(text + "。"));
    }
    const std::vector<const FieldCheck*> distortion = checks.OfKinds({FieldCheckKind::ProjectionDistortion});
    if (!distortion.empty()) {
        blocks.push_back(ParagraphBlock("投影长度变形 |(H_P - H_m)/R + y_m²/(2R²)|, 每公里不超过 25 mm:"));
        blocks.push_back(TableBlock(ChecksTable("投影长度变形", distortion)));
    } else {
        blocks.push_back(ParagraphBlock("没有给出归算高程面和高斯投影, 投影长度变形未计算。"));
    }
    if (r.compensatingSurface)
        blocks.push_back(ParagraphBlock("有边的投影长度变形超过 25 mm/km: 建议采用抵偿高程面 H_P = " +
                                        FixedText(*r.compensatingSurface, 1) +
                                        " m (H_P = H_m - y_m²/(2R))。"));
    return blocks;
}

// ---- 限差检核 ----

// The book's verdict: against its class, and the first check over its limit.
std::string VerdictText(const FieldBookRun& run, const Checks& checks) {
    const FieldCheck* first = nullptr;
    int unjudged = 0;
    for (const FieldCheck& c : checks.All()) {
        if (first == nullptr && Failed(&c)) first = &c;
        unjudged += c.passed ? 0 : 1;
    }
    std::string verdict;
    if (run.orderClass && run.compliant) {
        // A check the class gives no limit for is not a pass: the verdict says how many were left.
        const std::string passed = unjudged == 0 ? "各项外业限差合格" : "已检核的外业限差均合格";
        const std::string left =
            unjudged == 0 ? "" : " (" + std::to_string(unjudged) + " 项该等级无限差, 未检核)";
        verdict = *run.compliant ? "结论: " + passed + ", 符合 " + run.orderClass->name + left + "。"
                                 : "结论: 不符合 " + run.orderClass->name + " 的外业限差。";
    } else {
        verdict = "结论: 未选等级, 外业限差未检核";
        verdict += first != nullptr ? "; 投影长度变形超限。" : "。";
    }
    if (first != nullptr)
        verdict += " 第一项超限: " + FieldCheckKindName(first->kind) + " " + first->item + " " +
                   FieldCheckValueText(*first) + " (限差 " + FieldCheckLimitText(*first) + ")。";
    return verdict;
}

DocumentSection CheckSection(const FieldBookRun& run, const Checks& checks) {
    DocumentSection s{"限差检核", {}};
    std::vector<const FieldCheck*> all;
    int failed = 0, unjudged = 0;
    for (const FieldCheck& c : checks.All()) {
        all.push_back(&c);
        unjudged += c.passed ? 0 : 1;
        failed += Failed(&c) ? 1 : 0;
    }
    s.blocks.push_back(ParagraphBlock("共 " + std::to_string(all.size()) +
                                      " 项检核: " + std::to_string(failed) + " 项超限, " +
                                      std::to_string(unjudged) + " 项未检核。"));
    if (!all.empty()) s.blocks.push_back(TableBlock(ChecksTable("限差检核", all)));
    s.blocks.push_back(ParagraphBlock(VerdictText(run, checks)));
    return s;
}

// ---- 作业 ----

std::string AnswerLabel(const JobAnswer& answer) {
    const std::string n = std::to_string(answer.number);
    switch (answer.value) {
        case FigureValue::Tolerance:
            return "测角中误差 σ0 (″)";
        case FigureValue::XOfA:
            return "A 点纵座标 x (m)";
        case FigureValue::YOfA:
            return "A 点横座标 y (m)";
        case FigureValue::XOfD:
            return "D 点纵座标 x (m)";
        case FigureValue::YOfD:
            return "D 点横座标 y (m)";
        case FigureValue::AzimuthT0:
            return "起始方位角 T0 (d.mmss)";
        case FigureValue::OrientationQ1:
            return "外方位定向角 Q1 (d.mmss)";
        case FigureValue::PointName:
            return Letter(answer.number) + " 点点名";
        case FigureValue::ObservedAngle:
            return "观测角 ∠" + n + " (d.mmss)";
        case FigureValue::ObservedSide:
            return "边长 S(" + n + ") " + SideLabel(answer.number) + " (m)";
    }
    return "";
}

DocumentSection JobSection(const FieldBookRun& run) {
    DocumentSection s{"作业", {}};
    if (!run.job) {
        std::string lacks;
        for (const std::string& m : run.missing) lacks += (lacks.empty() ? "" : "; ") + FieldMissingText(m);
        s.blocks.push_back(
            ParagraphBlock("手簿还不能给出作业, 尚缺: " + (lacks.empty() ? "-" : lacks) + "。"));
        return s;
    }
    const bool dKnown = run.book.points[3].x.has_value();
    s.blocks.push_back(ParagraphBlock("由手簿得到的作业, 依次为送入观测数据的 " +
                                      std::to_string(AnswersAsked(dKnown)) + " 个值 (" +
                                      (dKnown ? "D 为已知点" : "D 为待定点, 其座标记为 0") + "):"));
    DocumentTable t;
    t.name = "作业";
    t.columns = {{"序号", ""}, {"项目", ""}, {"值", ""}};
    std::size_t i = 0;
    for (const JobAnswer& answer : kJobAnswers) {
        if (!IsAsked(answer, dKnown)) continue;
        if (i >= run.job->size()) break;
        t.rows.push_back({std::to_string(i + 1), AnswerLabel(answer), (*run.job)[i]});
        ++i;
    }
    s.blocks.push_back(TableBlock(std::move(t)));
    return s;
}

}  // namespace

AdjustmentDocument FieldBookDocument(const FieldBookRun& run, const std::string& bookName) {
    const Checks checks(run.reduction.checks);
    AdjustmentDocument doc;
    doc.title = "外业手簿计算";
    doc.subtitle = "外业手簿 " + bookName + " · Korvanet " + kVersion;
    doc.sections.push_back({"水平方向观测记录计算", DirectionBlocks(run, checks)});
    doc.sections.push_back({"测距记录与归算", DistanceBlocks(run, checks)});
    doc.sections.push_back(CheckSection(run, checks));
    doc.sections.push_back(JobSection(run));
    return doc;
}

std::vector<DocumentSection> FieldBookReportSections(const FieldBookRun& run) {
    const Checks checks(run.reduction.checks);
    std::vector<DocumentSection> sections;
    sections.push_back({"水平方向观测手簿", DirectionBlocks(run, checks)});
    // The report's reader sees the field work's verdict before its figures.
    sections.front().blocks.insert(
        sections.front().blocks.begin(),
        ParagraphBlock("观测角和边长由外业手簿归算, 各项外业限差的检核见下。" + VerdictText(run, checks)));
    sections.push_back({"测距记录与归算", DistanceBlocks(run, checks)});
    return sections;
}

}  // namespace korvanet
