// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/text_raw_reader.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "compute/field_book_file.h"
#include "compute/text_lines.h"
#include "core/number_text.h"

namespace korvanet {
namespace {

constexpr double kFullCircle = 1296000;  // arc seconds

// One line of the file parted into its record name (upper case) and fields.
struct RawLine {
    int number = 0;
    std::string name;
    std::string rest;  // all after the name, trimmed (a NOTE's text)
    std::vector<std::string> fields;
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The record name is the run of letters the line begins with; a blank or a
// comma parts it from the first field.  "STAST001" (name and point run
// together) has no such parting and is no record: which letters belong to
// the point cannot be known.
std::optional<RawLine> SplitLine(std::string_view text, int number) {
    RawLine line;
    line.number = number;
    std::size_t i = 0;
    while (i < text.size() && IsLetter(text[i])) {
        line.name += static_cast<char>(text[i] >= 'a' ? text[i] - 'a' + 'A' : text[i]);
        ++i;
    }
    if (line.name.empty()) return std::nullopt;
    if (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != ',') return std::nullopt;
    if (i < text.size() && text[i] == ',') ++i;
    line.rest = std::string(TrimmedLine(text.substr(i)));
    if (!line.rest.empty()) {
        std::string_view rest = line.rest;
        for (;;) {
            const std::size_t comma = rest.find(',');
            line.fields.emplace_back(TrimmedLine(rest.substr(0, comma)));
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    return line;
}

bool IsStation(const std::string& name) { return name == "STA" || name == "STN"; }
bool IsPointing(const std::string& name) {
    return name == "BS" || name == "SD" || name == "SA" || name == "SS";
}
bool IsObservation(const std::string& name) { return name == "HVD" || name == "HV" || name == "SD"; }
bool IsCoordinates(const std::string& name) { return name == "XYZ" || name == "NEZ" || name == "ENZ"; }
// Records that hold what the job is, not what was observed.
bool IsJobRecord(const std::string& name) {
    return name == "JOB" || name == "DATE" || name == "NAME" || name == "INST" || name == "NOTE";
}

std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : ", ") + w;
    return out;
}

class RawReader {
public:
    InstrumentRecord Read(const std::string& text) {
        record_.format = "文本原始数据";
        int number = 0;
        for (std::string_view raw : TextLines(text)) {
            ++number;
            const std::string_view trimmed = TrimmedLine(raw);
            if (trimmed.empty()) continue;
            const std::optional<RawLine> line = SplitLine(trimmed, number);
            if (!line) {
                throw FieldBookLineError(number,
                                         "不是一条记录: 行首应是记录名 (STA、SD、HVD ...), 后跟空格或逗号");
            }
            Take(*line);
        }
        Close(nullptr);
        Notes();
        return record_;
    }

private:
    enum class Awaiting { Nothing, StationCoordinates, PointingValues, ShotCoordinates };

    [[noreturn]] static void Refuse(const RawLine& line, const std::string& why) {
        throw FieldBookLineError(line.number, why);
    }

    void Take(const RawLine& line) {
        const std::string& name = line.name;
        if (awaiting_ == Awaiting::PointingValues && IsObservation(name)) return Observation(line);
        if (awaiting_ == Awaiting::StationCoordinates && name == "XYZ") return StationCoordinates(line);
        if (awaiting_ == Awaiting::ShotCoordinates && IsCoordinates(name)) {
            Numbers(line, 3, "坐标");
            awaiting_ = Awaiting::Nothing;
            return;
        }
        // Refused where they stand, before what the line before lacked.
        if (name == "HD") {
            Refuse(line,
                   "HD 记录 (水平角, 平距, 高差) 未读入: 没有天顶距分不出盘左盘右, 平距也不是斜距; "
                   "请在仪器上按斜距 (HVD) 导出");
        }
        if (name == "OFFSET") Refuse(line, "OFFSET 偏心观测未读入: 偏心照准不是对点本身的观测");
        if (name == "UNITS") {
            Refuse(
                line,
                "UNITS 记录未读入: 无法确认文件的角度与距离单位; 请在仪器上设为米和度分秒, 导出后删去这一行");
        }
        Close(&line);
        if (IsStation(name)) return Station(line);
        if (IsPointing(name)) return Pointing(line);
        if (name == "SC") return Shot(line);
        if (name == "BKB") return Backsight(line);
        if (IsJobRecord(name)) {
            skipped_.push_back(name + " (第 " + std::to_string(line.number) + " 行)");
            return;
        }
        if (name == "ATMOS" || name == "SCALE") {
            record_.notes.push_back("第 " + std::to_string(line.number) + " 行 " + name + " " + line.rest +
                                    (name == "ATMOS" ? " (气象)" : " (比例因子)") +
                                    " 未读入: 斜距按仪器记录的值读入, 是否已加改正以仪器设置为准");
            return;
        }
        if (IsObservation(name)) Refuse(line, name + " 观测值行前面没有点名行 (BS、SD、SA、SS)");
        if (IsCoordinates(name)) Refuse(line, name + " 坐标行前面没有测站 (STA) 或坐标测量 (SC) 行");
        Refuse(line, "不认识的记录 " + name);
    }

    // Ends what the line before `next` began; a pointing must have had its
    // values, a coordinate shot its coordinates.
    void Close(const RawLine* next) {
        const Awaiting was = awaiting_;
        awaiting_ = Awaiting::Nothing;
        const std::string after =
            next ? "下一行是 " + next->name + " 而不是" : std::string("文件在这里结束, 没有");
        if (was == Awaiting::PointingValues) {
            throw FieldBookLineError(header_,
                                     headerName_ + " 记录后面缺少观测值行: " + after + " HVD、HV 或 SD");
        }
        if (was == Awaiting::ShotCoordinates) {
            throw FieldBookLineError(header_, "SC 记录后面缺少坐标行: " + after + " NEZ、ENZ 或 XYZ");
        }
    }

    void Expect(Awaiting what, const RawLine& line) {
        awaiting_ = what;
        header_ = line.number;
        headerName_ = line.name;
    }

    // Name, height and code: what every record's first line holds.
    std::optional<double> NameHeightCode(const RawLine& line, const std::string& heightWhat) {
        if (line.fields.empty() || line.fields[0].empty()) Refuse(line, line.name + " 记录没有点名");
        if (line.fields.size() > 3) {
            Refuse(line, line.name + " 记录应是 点名,高,编码, 这一行有 " +
                             std::to_string(line.fields.size()) + " 个字段");
        }
        if (line.fields.size() >= 3 && !line.fields[2].empty() &&
            std::find(codes_.begin(), codes_.end(), line.fields[2]) == codes_.end()) {
            codes_.push_back(line.fields[2]);
        }
        if (line.fields.size() < 2 || line.fields[1].empty()) return std::nullopt;
        return Number(line, line.fields[1], heightWhat);
    }

    static double Number(const RawLine& line, const std::string& text, const std::string& what) {
        const NumberReading reading = ReadNumber(text);
        if (!reading.IsNumber()) Refuse(line, NotANumberMessage(text, reading, what) + ", 应是一个数值");
        return reading.value;
    }

    static void Numbers(const RawLine& line, std::size_t count, const std::string& what) {
        if (line.fields.size() != count) {
            Refuse(line, line.name + " 后面应有 " + std::to_string(count) + " 个" + what + "值, 这一行有 " +
                             std::to_string(line.fields.size()) + " 个");
        }
        for (const std::string& field : line.fields) Number(line, field, what);
    }

    // A packed reading in arc seconds, kept to 0.01".
    static double Reading(const RawLine& line, const std::string& text, const std::string& what) {
        std::string why;
        const std::optional<double> seconds = ReadPackedReading(text, why);
        if (!seconds) Refuse(line, what + " \"" + text + "\": " + why);
        const double kept = std::round(*seconds * 100) / 100;
        return kept >= kFullCircle ? kept - kFullCircle : kept;
    }

    void Station(const RawLine& line) {
        InstrumentStation station;
        station.line = line.number;
        station.instrumentHeight = NameHeightCode(line, "仪器高");
        station.id = line.fields[0];
        record_.stations.push_back(station);
        Expect(Awaiting::StationCoordinates, line);
    }

    void StationCoordinates(const RawLine& line) {
        Numbers(line, 3, "坐标");
        awaiting_ = Awaiting::Nothing;
        record_.notes.push_back("第 " + std::to_string(line.number) + " 行 XYZ: 测站 " +
                                record_.stations.back().id +
                                " 的坐标未读入 (各机型 X、Y 是东是北不一), 已知点请在手簿的 point 行给出");
    }

    void Pointing(const RawLine& line) {
        if (record_.stations.empty()) Refuse(line, line.name + " 记录之前没有测站记录 (STA)");
        InstrumentPointing pointing;
        pointing.line = line.number;
        pointing.reflectorHeight = NameHeightCode(line, "目标高");
        pointing.target = line.fields[0];
        if (line.name == "BS") {
            record_.notes.push_back("第 " + std::to_string(line.number) + " 行 BS: 后视 " + pointing.target +
                                    " 的照准作为一个方向读入");
        }
        record_.stations.back().pointings.push_back(pointing);
        Expect(Awaiting::PointingValues, line);
    }

    void Observation(const RawLine& line) {
        const std::size_t count = line.name == "HV" ? 2 : 3;
        const std::string what = count == 2 ? "水平角, 竖直角" : "水平角, 竖直角, 斜距";
        if (line.fields.size() != count) {
            Refuse(line, line.name + " 观测值行应是 " + what + ", 这一行有 " +
                             std::to_string(line.fields.size()) + " 个值");
        }
        InstrumentPointing& pointing = record_.stations.back().pointings.back();
        pointing.horizontal = Reading(line, line.fields[0], "水平角");
        pointing.zenith = Reading(line, line.fields[1], "竖直角 (天顶距)");
        if (count == 3) {
            const double slope = Number(line, line.fields[2], "斜距");
            if (!(slope > 0)) Refuse(line, "斜距 \"" + line.fields[2] + "\" 不是一次测距: 应大于 0");
            pointing.slope = slope;
        }
        awaiting_ = Awaiting::Nothing;
    }

    void Shot(const RawLine& line) {
        NameHeightCode(line, "目标高");
        record_.notes.push_back("第 " + std::to_string(line.number) + " 行 SC " + line.fields[0] +
                                ": 坐标测量只记了坐标, 没有角度和斜距, 未读入");
        Expect(Awaiting::ShotCoordinates, line);
    }

    void Backsight(const RawLine& line) {
        if (line.fields.empty() || line.fields[0].empty()) Refuse(line, "BKB 记录没有后视点名");
        if (line.fields.size() > 3) {
            Refuse(line, "BKB 记录应是 后视点名 和两个角度, 这一行有 " + std::to_string(line.fields.size()) +
                             " 个字段");
        }
        for (std::size_t k = 1; k < line.fields.size(); ++k) {
            if (!line.fields[k].empty()) Reading(line, line.fields[k], "BKB 的角度");
        }
        record_.notes.push_back("第 " + std::to_string(line.number) + " 行 BKB: 后视 " + line.fields[0] +
                                " 的定向 (方位角与置盘读数) 不是观测, 未读入");
    }

    void Notes() {
        if (!skipped_.empty()) record_.notes.push_back("跳过非观测记录: " + Joined(skipped_));
        if (!codes_.empty()) record_.notes.push_back("编码未用: " + Joined(codes_));
    }

    InstrumentRecord record_;
    Awaiting awaiting_ = Awaiting::Nothing;
    int header_ = 0;
    std::string headerName_;
    std::vector<std::string> skipped_;
    std::vector<std::string> codes_;
};

}  // namespace

bool LooksLikeTextRaw(const std::string& text) {
    int number = 0;
    for (std::string_view raw : TextLines(text)) {
        ++number;
        const std::string_view trimmed = TrimmedLine(raw);
        if (trimmed.empty()) continue;
        const std::optional<RawLine> line = SplitLine(trimmed, number);
        // Upper case as the instruments write it: a field book's lower-case
        // keywords never read as a record.
        if (!line || trimmed.substr(0, line->name.size()) != line->name) return false;
        const std::string& name = line->name;
        return IsStation(name) || IsJobRecord(name) || name == "UNITS" || name == "SCALE" || name == "ATMOS";
    }
    return false;
}

InstrumentRecord ReadTextRaw(const std::string& text) { return RawReader().Read(text); }

}  // namespace korvanet
