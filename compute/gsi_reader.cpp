// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/gsi_reader.h"

#include <charconv>
#include <map>
#include <set>

#include "compute/field_book_file.h"
#include "compute/text_lines.h"

// The units a word's sixth character names:
//   0 m, last digit 1 mm            6 m, last digit 0.1 mm
//   1 ft, last digit 0.001 ft       7 ft, last digit 0.0001 ft
//   8 m, last digit 0.01 mm
//   2 gon, 5 decimals               3 decimal degrees, 5 decimals
//   4 DDD.MMSSs, 5 implied decimals (+0000000003545100: 35 deg 45' 10.0")
//   5 mil, 4 decimals: 6400 mil to the circle (the NATO mil), so that
//     6400.0000 still fits the eight characters of GSI-8.
// Feet are the international foot, 0.3048 m exactly.  Every length becomes
// the exact decimal text of its metres, every angle its exact arc seconds
// rounded to 0.01".

namespace korvanet {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Word {
    int wi = 0;
    std::string name;  // "21", "531": as the notes name it
    char unit = '.';
    char sign = '+';
    std::string data;
    int place = 0;  // its place in the block, from 1
};

class GsiReader {
public:
    InstrumentRecord Read(const std::string& text) {
        for (const std::string_view line : TextLines(text)) {
            ++line_;
            const std::string block(TrimmedLine(line));
            if (!block.empty()) Block(block);
        }
        Notes();
        return record_;
    }

private:
    [[noreturn]] void Refuse(const std::string& why) const { throw FieldBookLineError(line_, why); }
    [[noreturn]] void Refuse(const Word& w, const std::string& why) const {
        Refuse("第 " + std::to_string(w.place) + " 个字 (WI " + w.name + ") " + why);
    }

    void Block(const std::string& block) {
        const bool sixteen = block[0] == '*';
        const std::string format = sixteen ? "GSI-16" : "GSI-8";
        if (record_.format.empty()) record_.format = format;
        if (record_.format != format)
            Refuse("这一块是 " + format + ", 文件前面是 " + record_.format + "; 一个文件只能用一种");
        const std::size_t size = sixteen ? 23 : 15;
        std::map<int, Word> words;
        std::size_t i = sixteen ? 1 : 0;
        int place = 0;
        while (i < block.size()) {
            if (block[i] == ' ') {
                ++i;
                continue;
            }
            ++place;
            const std::string raw = block.substr(i, size);
            const auto refuse = [&](const std::string& why) {
                Refuse("第 " + std::to_string(place) + " 个字 \"" + raw + "\" " + why);
            };
            if (raw.size() < size || (i + size < block.size() && block[i + size] != ' ')) {
                refuse("不是 " + format + " 的字: 应是 字索引 2 位、信息 4 位、符号、" +
                       std::to_string(size - 7) + " 位数据, 后跟一个空格");
            }
            if (!IsDigit(raw[0]) || !IsDigit(raw[1])) refuse("不是 GSI 的字: 开头两位应是字索引 (WI)");
            if (raw[6] != '+' && raw[6] != '-') refuse("的第 7 个字符应是符号 + 或 -");
            Word w;
            w.wi = (raw[0] - '0') * 10 + (raw[1] - '0');
            // Position 3 carries no information but for the block number of
            // WI 11; a digit there makes a three-digit word index (531 ...).
            w.name = raw.substr(0, w.wi != 11 && IsDigit(raw[2]) ? 3 : 2);
            if (w.name.size() == 3) w.wi = 0;
            w.unit = raw[5];
            w.sign = raw[6];
            w.data = raw.substr(7);
            w.place = place;
            for (char c : w.data)
                if (c < '!' || c > '~') refuse("的数据含有不是字母、数字或符号的字符");
            if (w.wi != 0 && words.count(w.wi)) refuse("的字索引 WI " + w.name + " 在这一块中重复了");
            if (w.wi == 0) {
                ++skipped_[w.name];
            } else {
                words[w.wi] = w;
            }
            i += size;
        }
        Interpret(words);
    }

    static bool Has(const std::map<int, Word>& words, int wi) { return words.count(wi) != 0; }

    // A length in metres, from the exact decimal text of its unit.
    double Length(const Word& w) const {
        long long n = Digits(w);
        std::string digits;
        int decimals = 0;
        switch (w.unit) {
            case '0':
                decimals = 3;
                break;
            case '6':
                decimals = 4;
                break;
            case '8':
                decimals = 5;
                break;
            case '1':
            case '7':
                feet_ = true;
                decimals = w.unit == '1' ? 7 : 8;
                if (n >= 1000000000000000LL) Refuse(w, "的数值过大");
                n *= 3048;
                break;
            default:
                Refuse(
                    w,
                    "的单位 '" + std::string(1, w.unit) +
                        "' 不是长度单位 (0 米 mm、6 米 0.1 mm、8 米 0.01 mm、1 英尺 0.001、7 英尺 0.0001)");
        }
        digits = std::to_string(n);
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
        if (w.sign == '-') digits.insert(0, "-");
        double value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return value;
    }

    // An angle in arc seconds to 0.01".
    double Angle(const Word& w) const {
        const long long n = Digits(w);
        if (w.sign == '-') Refuse(w, "的角度是负数");
        long long hundredths = 0;
        switch (w.unit) {
            case '2':  // 0.00001 gon = 0.0324"
                if (n >= 40000000) Refuse(w, "的角度不小于 400 gon");
                hundredths = (n * 324 + 50) / 100;
                break;
            case '3':  // 0.00001 deg = 0.036"
                if (n >= 36000000) Refuse(w, "的角度不小于 360 度");
                hundredths = (n * 36 + 5) / 10;
                break;
            case '4': {
                const long long degrees = n / 100000, minutes = n / 1000 % 100, seconds = n / 10 % 100;
                if (degrees >= 360) Refuse(w, "的角度不小于 360 度");
                if (minutes >= 60 || seconds >= 60) Refuse(w, "的 度.分秒 中分或秒不小于 60");
                hundredths = degrees * 360000 + minutes * 6000 + seconds * 100 + n % 10 * 10;
                break;
            }
            case '5':  // 0.0001 mil = 0.02025"
                mil_ = true;
                if (n >= 64000000) Refuse(w, "的角度不小于 6400 mil");
                hundredths = (n * 2025 + 500) / 1000;
                break;
            default:
                Refuse(w, "的单位 '" + std::string(1, w.unit) +
                              "' 不是角度单位 (2 gon、3 十进制度、4 度.分秒、5 mil)");
        }
        return static_cast<double>(hundredths) / 100;
    }

    long long Digits(const Word& w) const {
        std::size_t lead = 0;
        while (lead < w.data.size() && w.data[lead] == '0') ++lead;
        for (char c : w.data)
            if (!IsDigit(c)) Refuse(w, "的数据 \"" + w.data + "\" 不是数字");
        if (w.data.size() - lead > 15) Refuse(w, "的数值过大");
        long long n = 0;
        for (std::size_t k = lead; k < w.data.size(); ++k) n = n * 10 + (w.data[k] - '0');
        return n;
    }

    std::string Id(const std::map<int, Word>& words, const std::string& what) const {
        if (!Has(words, 11)) Refuse(what + "没有点号 (WI 11)");
        const std::string& data = words.at(11).data;
        std::size_t lead = 0;
        while (lead + 1 < data.size() && data[lead] == '0') ++lead;
        return data.substr(lead);
    }

    void Interpret(const std::map<int, Word>& words) {
        for (const auto& [wi, w] : words) {
            if (wi == 51 || wi == 58 || wi == 59) {
                std::string value = w.data;
                std::size_t lead = 0;
                while (lead + 1 < value.size() && value[lead] == '0' && IsDigit(value[lead + 1])) ++lead;
                corrections_.insert("WI " + w.name + " " + std::string(1, w.sign) + value.substr(lead));
            }
        }
        const bool pointing = Has(words, 21);
        const bool setup = Has(words, 84) || Has(words, 85) || Has(words, 86) || Has(words, 88);
        if (Has(words, 87)) reflector_ = Length(words.at(87));
        if (!pointing && setup) return Station(words);
        std::set<int> used = {11, 51, 58, 59, 87};
        if (pointing) {
            Pointing(words);
            used.insert({21, 22, 31, 32, 88});
        }
        for (const auto& [wi, w] : words)
            if (!used.count(wi)) ++skipped_[w.name];
    }

    void Station(const std::map<int, Word>& words) {
        InstrumentStation station;
        station.line = line_;
        station.id = Id(words, "设站的块");
        if (Has(words, 88)) station.instrumentHeight = Length(words.at(88));
        if (Has(words, 84)) station.east = Length(words.at(84));
        if (Has(words, 85)) station.north = Length(words.at(85));
        if (Has(words, 86)) station.height = Length(words.at(86));
        if (station.east.has_value() != station.north.has_value())
            Refuse("测站坐标只有 " + std::string(station.east ? "E (WI 84)" : "N (WI 85)") + ", 缺另一个");
        for (const auto& [wi, w] : words)
            if (wi != 11 && wi != 84 && wi != 85 && wi != 86 && wi != 87 && wi != 88 && wi != 51 &&
                wi != 58 && wi != 59)
                ++skipped_[w.name];
        record_.stations.push_back(station);
    }

    void Pointing(const std::map<int, Word>& words) {
        if (record_.stations.empty()) {
            Refuse(
                "照准 (WI 21) 之前没有设站: 文件中应先有一块带测站点号和 WI 84、85、86 或 88 (测站坐标、"
                "仪器高) 而不带 WI 21 的设站块, 才知道在哪个测站观测");
        }
        InstrumentStation& station = record_.stations.back();
        InstrumentPointing p;
        p.line = line_;
        p.target = Id(words, "照准的块");
        p.horizontal = Angle(words.at(21));
        if (Has(words, 22)) p.zenith = Angle(words.at(22));
        if (Has(words, 31)) {
            p.slope = Length(words.at(31));
            if (!(*p.slope > 0)) Refuse(words.at(31), "的斜距不大于 0");
        }
        if (Has(words, 32)) {
            if (!p.slope) {
                record_.notes.push_back("第 " + std::to_string(line_) +
                                        " 行只有平距 (WI 32), 没有斜距 (WI 31): 平距不能当作斜距归算, 未用");
            } else {
                ++horizontalBesideSlope_;
            }
        }
        p.reflectorHeight = reflector_;
        if (Has(words, 88)) {
            const double height = Length(words.at(88));
            if (!station.instrumentHeight) {
                station.instrumentHeight = height;
            } else if (*station.instrumentHeight != height) {
                record_.notes.push_back("第 " + std::to_string(line_) +
                                        " 行的仪器高与设站时的不同, 用设站时的");
            }
        }
        station.pointings.push_back(p);
    }

    void Notes() {
        if (!skipped_.empty()) {
            int count = 0;
            std::string list;
            for (const auto& [name, n] : skipped_) {
                count += n;
                list += (list.empty() ? "" : ", ") + std::string("WI ") + name + " ×" + std::to_string(n);
            }
            record_.notes.push_back("跳过 " + std::to_string(count) + " 个未用的字 (" + list + ")");
        }
        if (horizontalBesideSlope_ > 0) {
            record_.notes.push_back("跳过 " + std::to_string(horizontalBesideSlope_) +
                                    " 个平距 (WI 32): 距离用同一块的斜距 (WI 31) 归算");
        }
        if (!corrections_.empty()) {
            std::string list;
            for (const std::string& c : corrections_) list += (list.empty() ? "" : ", ") + c;
            record_.notes.push_back("仪器记录的 ppm 和棱镜常数: " + list);
        }
        if (feet_) record_.notes.push_back("长度以英尺记录, 按国际英尺 1 ft = 0.3048 m 精确换算为米");
        if (mil_) record_.notes.push_back("角度以密位 (mil) 记录, 按 6400 mil = 360 度换算");
    }

    InstrumentRecord record_;
    int line_ = 0;
    std::optional<double> reflector_;
    std::map<std::string, int> skipped_;
    std::set<std::string> corrections_;
    int horizontalBesideSlope_ = 0;
    mutable bool feet_ = false, mil_ = false;
};

}  // namespace

bool LooksLikeGsi(const std::string& text) {
    for (std::string_view line : TextLines(text)) {
        line = TrimmedLine(line);
        if (!line.empty()) {
            if (line[0] == '*') line.remove_prefix(1);
            return line.size() >= 7 && IsDigit(line[0]) && IsDigit(line[1]) &&
                   (line[6] == '+' || line[6] == '-');
        }
    }
    return false;
}

InstrumentRecord ReadGsi(const std::string& text) { return GsiReader().Read(text); }

}  // namespace korvanet
