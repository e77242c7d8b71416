// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/field_book_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "adjust/quadrilateral.h"
#include "compute/job_file_reader.h"
#include "compute/job_text.h"
#include "core/number_text.h"
#include "entry/value_rules.h"

namespace korvanet {
namespace {

using quadrilateral::kAngleRays;
using quadrilateral::kPointLetters;

constexpr double kFullCircle = 1296000;  // arc seconds
constexpr double kHalfCircle = 648000;
// A face-right reading more than this off the opposite of its face-left one,
// or a zenith pair whose sum is this far from 360 degrees, is a misread or
// mistyped reading, not an instrument error.
constexpr double kBlunder = 3600;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Letter(int point) { return kPointLetters[static_cast<std::size_t>(point)]; }

// The letters of a station's three other points: "B、C、D".
std::string OthersOf(int station) {
    std::string out;
    for (int p = 0; p < 4; ++p) {
        if (p == station) continue;
        if (!out.empty()) out += "、";
        out += Letter(p);
    }
    return out;
}

int PointOfLetter(std::string_view word) {
    for (int p = 0; p < 4; ++p) {
        if (word == kPointLetters[static_cast<std::size_t>(p)]) return p;
    }
    return -1;
}

// The figure's angle at `at` from `from` to `to`, 0 when it has none.
int FigureAngle(int at, int from, int to) {
    for (int k = 1; k <= 8; ++k) {
        const auto& rays = kAngleRays[static_cast<std::size_t>(k)];
        if (rays.at == at && rays.from == from && rays.to == to) return k;
    }
    return 0;
}

// "∠1 (B→C) 和 ∠8 (C→D)": the angles a station has.
std::string AnglesAt(int at) {
    std::string out;
    for (int k = 1; k <= 8; ++k) {
        const auto& rays = kAngleRays[static_cast<std::size_t>(k)];
        if (rays.at != at) continue;
        if (!out.empty()) out += " 和 ";
        out += "∠" + std::to_string(k) + " (" + Letter(rays.from) + "→" + Letter(rays.to) + ")";
    }
    return out;
}

// Arc seconds into (-180 deg, 180 deg].
double Turn(double seconds) {
    double s = std::fmod(seconds, kFullCircle);
    if (s < 0) s += kFullCircle;
    return s > kHalfCircle ? s - kFullCircle : s;
}

// The words of a line, its comment cut off.
std::vector<std::string> WordsOf(std::string_view line) {
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

// Where a record began, for the refusals judged when it ends.
struct OpenSet {
    int line = 0;
    std::vector<int> lineNumbers;
    bool closed = false;  // its last line repeats the first target
};

class BookReader {
public:
    FieldBook Read(const std::string& text) {
        int number = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            ++number;
            line_ = number;
            words_ = WordsOf(std::string_view(text).substr(start, end - start));
            if (!words_.empty()) Line();
            start = end + 1;
        }
        line_ = number;
        EndRecord();
        if (book_.orient && book_.points[3].x) {
            throw FieldBookLineError(orientLine_,
                                     "D 已有坐标, 是已知点, 不用 orient; 只有 D 待定 (- -) 时才给 T0 和 Q1");
        }
        return book_;
    }

private:
    [[noreturn]] void Refuse(const std::string& why) const { throw FieldBookLineError(line_, why); }

    const std::string& Key() const { return words_[0]; }

    void Count(std::size_t values, const std::string& what) const {
        if (words_.size() != values + 1) {
            Refuse(Key() + " 后面应有 " + std::to_string(values) + " 个值 (" + what + "), 这一行有 " +
                   std::to_string(words_.size() - 1) + " 个");
        }
    }

    void Once(bool already) const {
        if (already) Refuse(Key() + " 在手簿中只能有一行, 这是第二行");
    }

    FieldNumber Number(const std::string& text, const std::string& what) const {
        const NumberReading reading = ReadNumber(text);
        if (!reading.IsNumber()) Refuse(NotANumberMessage(text, reading, what) + ", 应是一个数值");
        return {text, reading.value};
    }

    FieldNumber AtLeastZero(const std::string& text, const std::string& what) const {
        FieldNumber n = Number(text, what);
        if (!(n.value >= 0)) Refuse(what + Quoted(text) + "不能是负数");
        return n;
    }

    FieldNumber Packed(const std::string& text, const std::string& what) const {
        std::string why;
        const std::optional<double> seconds = ReadPackedReading(text, why);
        if (!seconds) Refuse(what + Quoted(text) + ": " + why);
        return {text, *seconds};
    }

    std::array<FieldNumber, 2> Pair(const std::string& first, const std::string& second) const {
        Count(2, first + "、" + second);
        return {Number(words_[1], first), Number(words_[2], second)};
    }

    int PointWord(const std::string& word, const std::string& what) const {
        const int p = PointOfLetter(word);
        if (p < 0) Refuse(what + " " + Quoted(word) + "不是点名字母 A、B、C、D 之一");
        return p;
    }

    void Line() {
        const std::string& key = Key();
        if (PointOfLetter(key) >= 0) return Target();
        if (key == "set") return Set();
        if (key == "station") return Station();
        if (key == "distance") return Distance();
        if (key == "read" || key == "zenith" || key == "heights" || key == "met") return DistancePart();
        // A mistyped line is refused for itself, before it ends the set or
        // the record it interrupts (which would then be told as too short).
        static constexpr std::array<std::string_view, 10> kHeaderKeys = {
            "tolerance", "point",     "orient",     "theodolite", "class",
            "edm",       "constants", "atmosphere", "surface",    "projection"};
        if (std::find(kHeaderKeys.begin(), kHeaderKeys.end(), key) == kHeaderKeys.end()) {
            Refuse("不认识的关键字 " + Quoted(key) +
                   "; 关键字是 "
                   "tolerance、point、orient、theodolite、class、edm、constants、atmosphere、surface、"
                   "projection、station、set、distance、read、zenith、heights、met, 测回中的一行以目标字母 "
                   "A、B、C、"
                   "D 开头");
        }
        EndRecord();
        if (key == "tolerance") return Tolerance();
        if (key == "point") return Point();
        if (key == "orient") return Orient();
        if (key == "theodolite") return Theodolite();
        if (key == "class") {
            Once(!book_.orderClass.empty());
            Count(1, "等级名");
            book_.orderClass = words_[1];
            return;
        }
        if (key == "edm") {
            Once(book_.edm.has_value());
            Count(2, "测距仪标称精度 a (mm) 和 b (mm/km)");
            book_.edm = {AtLeastZero(words_[1], "测距仪标称精度 a"),
                         AtLeastZero(words_[2], "测距仪标称精度 b")};
            return;
        }
        if (key == "constants") {
            Once(book_.constants.has_value());
            book_.constants = Pair("加常数 K (mm)", "乘常数 R (mm/km)");
            return;
        }
        if (key == "atmosphere") {
            Once(book_.atmosphere.has_value());
            book_.atmosphere = Pair("气象公式的 A", "气象公式的 B");
            return;
        }
        if (key == "surface") {
            Once(book_.surface.has_value());
            Count(1, "归算面高程 H (m)");
            book_.surface = Number(words_[1], "归算面高程");
            return;
        }
        if (key == "projection") {
            Once(book_.projection);
            Count(0, "projection 不带数值");
            book_.projection = true;
        }
    }

    void Tolerance() {
        Once(book_.tolerance.has_value());
        Count(1, "测角中误差, 秒");
        if (Refusal refusal = CheckTolerance(words_[1])) Refuse(*refusal);
        book_.tolerance = Number(words_[1], "规范测角限差");
    }

    void Point() {
        if (words_.size() != 5 && words_.size() != 6) {
            Refuse("point 后面应是 点字母 点名 x y [高程], 这一行有 " + std::to_string(words_.size() - 1) +
                   " 个值");
        }
        const int p = PointWord(words_[1], "point 的点");
        FieldPoint& point = book_.points[static_cast<std::size_t>(p)];
        if (point.given) Refuse(Letter(p) + " 点已在第 " + std::to_string(pointLine_[p]) + " 行给出");
        if (Refusal refusal = CheckPointName(words_[2], p)) Refuse(*refusal);
        const bool xKnown = words_[3] != "-", yKnown = words_[4] != "-";
        if (xKnown != yKnown) Refuse(Letter(p) + " 点的 x 和 y 应都是数值, 或都是 - (不知道)");
        if (xKnown && (p == 1 || p == 2)) {
            Refuse(Letter(p) + " 点总是待定点, 坐标应写 - -");
        }
        if (!xKnown && p == 0) Refuse("A 点是已知点, 必须给出 x 和 y");
        if (xKnown) {
            point.x = Number(words_[3], Letter(p) + " 点的 x");
            point.y = Number(words_[4], Letter(p) + " 点的 y");
            if (p == 3 && ReadsAsZero(words_[3]) && ReadsAsZero(words_[4])) {
                Refuse("D 点的坐标 0 0 在作业中表示 D 待定; 待定的 D 请写 - -");
            }
            if (p == 3) {
                if (Refusal refusal = CheckHalfZeroD(words_[3], words_[4])) Refuse(*refusal);
            }
        }
        if (words_.size() == 6) point.height = Number(words_[5], Letter(p) + " 点的高程");
        point.name = words_[2];
        point.given = true;
        pointLine_[p] = line_;
    }

    void Orient() {
        Once(book_.orient.has_value());
        Count(2, "外方位角 T0 和定向角 Q1, 度.分秒");
        const FieldNumber t0 = Packed(words_[1], "外方位角 T0 ");
        const std::string& q1 = words_[2];
        const bool negative = q1.starts_with('-');
        FieldNumber q = Packed(negative ? q1.substr(1) : q1, "定向角 Q1 ");
        q.text = q1;
        if (negative) q.value = -q.value;
        book_.orient = {t0, q};
        orientLine_ = line_;
    }

    void Theodolite() {
        Once(book_.theodolite.has_value());
        Count(1, "经纬仪等级, 秒");
        const FieldNumber n = Number(words_[1], "经纬仪等级");
        if (n.value != 1 && n.value != 2 && n.value != 6) {
            Refuse("经纬仪等级" + Quoted(words_[1]) + "应是 1、2 或 6 (秒级)");
        }
        book_.theodolite = n;
    }

    void Station() {
        EndRecord();
        Count(1, "测站点字母");
        const int p = PointWord(words_[1], "测站");
        for (const FieldStation& s : book_.stations) {
            if (s.point == p)
                Refuse("测站 " + Letter(p) + " 已在前面观测过; 一个测站的各测回请写在同一个 station 之下");
        }
        book_.stations.push_back({p, {}});
        inStation_ = true;
    }

    void Set() {
        EndSet();
        EndDistance();
        Count(0, "set 不带数值, 测回的各行写在它下面");
        if (!inStation_) Refuse("set 之前应先有 station 行, 说明在哪个测站观测");
        book_.stations.back().sets.emplace_back();
        set_ = OpenSet{line_, {}, false};
        inSet_ = true;
    }

    void Target() {
        if (!inSet_) Refuse("目标行 " + Quoted(Key()) + " 应写在 station 和 set 之下");
        FieldStation& station = book_.stations.back();
        FieldSet& set = station.sets.back();
        Count(2, "盘左读数和盘右读数, 度.分秒");
        const int target = PointOfLetter(Key());
        if (target == station.point) {
            Refuse("目标 " + Letter(target) + " 就是测站本身, 应是 " + OthersOf(station.point) + " 之一");
        }
        if (set_.closed) {
            Refuse("本测回在第 " + std::to_string(set_.lineNumbers.back()) +
                   " 行已归零到起始目标, 归零行应是测回的最后一行");
        }
        for (std::size_t i = 0; i < set.lines.size(); ++i) {
            if (set.lines[i].target != target) continue;
            if (i != 0) {
                Refuse("目标 " + Letter(target) + " 在本测回中已有 (第 " +
                       std::to_string(set_.lineNumbers[i]) + " 行); 只有最后一行可以重复起始目标 (归零)");
            }
            set_.closed = true;
        }
        FieldDirectionLine line{target, Packed(words_[1], "盘左读数 "), Packed(words_[2], "盘右读数 ")};
        const double twoC = Turn(line.left.value - line.right.value - kHalfCircle);
        if (std::abs(twoC) > kBlunder) {
            Refuse("盘右读数 " + words_[2] + " 与盘左读数 " + words_[1] + " 相差不是约 180 度 (2C = " +
                   std::to_string(static_cast<long>(std::lround(twoC))) + " 秒, 超过 1 度): 读数有误");
        }
        set.lines.push_back(line);
        set_.lineNumbers.push_back(line_);
    }

    void Distance() {
        EndRecord();
        Count(2, "测站点和目标点的字母");
        const int from = PointWord(words_[1], "测距的测站");
        const int to = PointWord(words_[2], "测距的目标");
        if (from == to)
            Refuse("测距的目标 " + Letter(to) + " 就是测站本身, 应是 " + OthersOf(from) + " 之一");
        FieldDistance record;
        record.from = from;
        record.to = to;
        book_.distances.push_back(record);
        distanceLine_ = line_;
        inDistance_ = true;
    }

    void DistancePart() {
        EndSet();
        const std::string& key = Key();
        if (!inDistance_) Refuse(key + " 应写在 distance 行之下");
        FieldDistance& record = book_.distances.back();
        if (key == "read") {
            if (words_.size() < 3 || words_.size() > 5) {
                Refuse("read 是一个测回的斜距读数, 应有 2 至 4 个, 这一行有 " +
                       std::to_string(words_.size() - 1) + " 个");
            }
            std::vector<FieldNumber> readings;
            for (std::size_t i = 1; i < words_.size(); ++i) {
                FieldNumber r = Number(words_[i], "斜距读数");
                if (!(r.value > 0)) Refuse("斜距读数" + Quoted(words_[i]) + "必须大于 0 (米)");
                readings.push_back(r);
            }
            record.sets.push_back(readings);
        } else if (key == "zenith") {
            if (record.zenith) Refuse("这个测距记录已有 zenith 行");
            Count(2, "盘左和盘右的天顶距读数, 度.分秒");
            const FieldNumber left = Packed(words_[1], "盘左天顶距 "),
                              right = Packed(words_[2], "盘右天顶距 ");
            if (std::abs(left.value + right.value - kFullCircle) > kBlunder) {
                Refuse("盘左天顶距 " + words_[1] + " 与盘右天顶距 " + words_[2] +
                       " 之和离 360 度超过 1 度 (指标差超过 30 分): 读数有误");
            }
            record.zenith = {left, right};
        } else if (key == "heights") {
            if (record.heights) Refuse("这个测距记录已有 heights 行");
            Count(2, "仪器高和棱镜高, 米");
            record.heights = {AtLeastZero(words_[1], "仪器高"), AtLeastZero(words_[2], "棱镜高")};
        } else {
            if (record.met) Refuse("这个测距记录已有 met 行");
            Count(2, "温度 (°C) 和气压 (hPa)");
            const FieldNumber t = Number(words_[1], "温度"), p = Number(words_[2], "气压");
            if (!(t.value >= -50 && t.value <= 60))
                Refuse("温度" + Quoted(words_[1]) + "应在 -50 至 60 °C 之间");
            if (!(p.value >= 500 && p.value <= 1100)) {
                Refuse("气压" + Quoted(words_[2]) +
                       "应在 500 至 1100 hPa 之间 (以 hPa 为单位, 不是 mmHg 或 kPa)");
            }
            record.met = {t, p};
        }
    }

    // A header line, a station or a distance ends the station in hand.
    void EndRecord() {
        EndSet();
        EndDistance();
        inStation_ = false;
    }

    void EndDistance() {
        if (!inDistance_) return;
        inDistance_ = false;
        if (book_.distances.back().sets.empty()) {
            throw FieldBookLineError(distanceLine_, "这个测距记录没有 read 行 (斜距读数)");
        }
    }

    void EndSet() {
        if (!inSet_) return;
        inSet_ = false;
        const FieldStation& station = book_.stations.back();
        const FieldSet& set = station.sets.back();
        const int at = station.point;
        const auto refuse = [&](const std::string& why) { throw FieldBookLineError(set_.line, why); };
        if (set.lines.size() < 2)
            refuse("这个测回只有 " + std::to_string(set.lines.size()) + " 行; 一个测回至少要照准两个目标");
        const bool angle = set.lines.size() == 2;
        if (angle) {
            const int from = set.lines[0].target, to = set.lines[1].target;
            if (FigureAngle(at, from, to) == 0) {
                refuse("测回法的一个测回从 " + Letter(from) + " 到 " + Letter(to) + ", 不是测站 " +
                       Letter(at) + " 的角; 测站 " + Letter(at) + " 的角是 " + AnglesAt(at) +
                       " (从第一个目标顺时针到第二个)");
            }
        }
        if (station.sets.size() < 2) return;
        const FieldSet& first = station.sets.front();
        const bool firstAngle = first.lines.size() == 2;
        if (angle != firstAngle) {
            refuse(std::string("测站 ") + Letter(at) + " 的第一个测回是" +
                   (firstAngle ? "测回法" : "方向观测法") + ", 这个测回是" +
                   (angle ? "测回法 (两个目标)" : "方向观测法 (三行或更多)") + "; 一个测站只能用一种方法");
        }
        if (!angle && set.lines.front().target != first.lines.front().target) {
            refuse("方向观测法的各测回应从同一个目标开始: 第一个测回从 " +
                   Letter(first.lines.front().target) + " 开始, 这个测回从 " +
                   Letter(set.lines.front().target) + " 开始");
        }
    }

    FieldBook book_;
    std::vector<std::string> words_;
    int line_ = 0;
    int pointLine_[4] = {0, 0, 0, 0};
    int orientLine_ = 0;
    bool inStation_ = false;
    bool inSet_ = false;
    OpenSet set_;
    bool inDistance_ = false;
    int distanceLine_ = 0;
};

// A packed reading's digits before and after its point.
struct PackedParts {
    std::string_view whole, fraction;
};

std::optional<PackedParts> PartsOf(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) ++i;
    PackedParts parts{text.substr(0, i), {}};
    if (i < text.size() && text[i] == '.') {
        const std::size_t start = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        parts.fraction = text.substr(start, i - start);
    }
    if (i != text.size() || parts.whole.size() + parts.fraction.size() == 0) return std::nullopt;
    return parts;
}

void Append(std::string& out, const std::string& key, std::initializer_list<const FieldNumber*> values) {
    out += key;
    for (const FieldNumber* v : values) out += " " + v->text;
    out += "\n";
}

void AppendPair(std::string& out, const std::string& key,
                const std::optional<std::array<FieldNumber, 2>>& pair) {
    if (pair) Append(out, key, {&(*pair)[0], &(*pair)[1]});
}

}  // namespace

std::optional<double> ReadPackedReading(const std::string& text, std::string& why) {
    const std::optional<PackedParts> parts = PartsOf(text);
    if (!parts) {
        const bool negative = text.starts_with('-') && PartsOf(std::string_view(text).substr(1));
        why = negative ? "读数不能是负数" : "不是按 度.分秒 写的读数 (例如 60.23365 是 60 度 23 分 36.5 秒)";
        return std::nullopt;
    }
    const std::string_view whole = parts->whole, fraction = parts->fraction;
    // Whole degrees beyond three digits (after leading zeros) are 360 or more.
    std::size_t lead = 0;
    while (lead + 1 < whole.size() && whole[lead] == '0') ++lead;
    long degrees = 0;
    if (whole.size() - lead > 3) {
        degrees = 360;
    } else if (!whole.empty()) {
        std::from_chars(whole.data() + lead, whole.data() + whole.size(), degrees);
    }
    if (degrees >= 360) {
        why = "读数必须小于 360 度";
        return std::nullopt;
    }
    // A missing digit counts as 0: "90.1" is 90 degrees 10 minutes.
    const auto digit = [&](std::size_t k) { return k < fraction.size() ? fraction[k] - '0' : 0; };
    const int minutes = digit(0) * 10 + digit(1);
    const int seconds = digit(2) * 10 + digit(3);
    if (minutes >= 60 || seconds >= 60) {
        why = std::string(minutes >= 60 ? "分是 " + std::to_string(minutes)
                                        : "秒是 " + std::to_string(seconds)) +
              ": 读数按 度.分秒 记, 小数点后头两位是分, 其后是秒, 分和秒都必须小于 60";
        return std::nullopt;
    }
    // The whole arc seconds and the typed decimals of the seconds, read as one
    // decimal text: the nearest double to the reading as typed.
    std::string exact = std::to_string(degrees * 3600 + minutes * 60 + seconds);
    if (fraction.size() > 4) exact += "." + std::string(fraction.substr(4));
    double value = 0;
    std::from_chars(exact.data(), exact.data() + exact.size(), value);
    why.clear();
    return value;
}

FieldBook ReadFieldBook(const std::string& text) { return BookReader().Read(text); }

std::string FieldBookText(const FieldBook& book) {
    std::string out;
    if (book.tolerance) Append(out, "tolerance", {&*book.tolerance});
    for (int p = 0; p < 4; ++p) {
        const FieldPoint& point = book.points[static_cast<std::size_t>(p)];
        if (!point.given) continue;
        out += "point " + Letter(p) + " " + point.name;
        out += point.x ? " " + point.x->text + " " + point.y->text : std::string(" - -");
        if (point.height) out += " " + point.height->text;
        out += "\n";
    }
    AppendPair(out, "orient", book.orient);
    if (book.theodolite) Append(out, "theodolite", {&*book.theodolite});
    if (!book.orderClass.empty()) out += "class " + book.orderClass + "\n";
    AppendPair(out, "edm", book.edm);
    AppendPair(out, "constants", book.constants);
    AppendPair(out, "atmosphere", book.atmosphere);
    if (book.surface) Append(out, "surface", {&*book.surface});
    if (book.projection) out += "projection\n";
    for (const FieldStation& station : book.stations) {
        out += "\nstation " + Letter(station.point) + "\n";
        for (const FieldSet& set : station.sets) {
            out += "set\n";
            for (const FieldDirectionLine& line : set.lines)
                Append(out, Letter(line.target), {&line.left, &line.right});
        }
    }
    for (const FieldDistance& record : book.distances) {
        out += "\ndistance " + Letter(record.from) + " " + Letter(record.to) + "\n";
        for (const std::vector<FieldNumber>& readings : record.sets) {
            out += "read";
            for (const FieldNumber& r : readings) out += " " + r.text;
            out += "\n";
        }
        AppendPair(out, "zenith", record.zenith);
        AppendPair(out, "heights", record.heights);
        AppendPair(out, "met", record.met);
    }
    return out;
}

FieldBook ReadFieldBookFile(const std::string& path, std::string* notice) {
    const std::string bytes = ReadFieldBookFileBytes(path);
    const std::string name = "外业手簿 " + JobFileName(path);
    std::string text;
    try {
        text = DecodeJobText(bytes, notice, "外业手簿");
    } catch (const KorvanetError& e) {
        throw InputError("无法读取" + name + ": " + e.what());
    }
    try {
        return ReadFieldBook(text);
    } catch (const FieldBookLineError& e) {
        throw InputError(name + " " + e.what());
    }
}

}  // namespace korvanet
