// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/csv_points.h"

#include <algorithm>
#include <array>

#include "compute/field_book_file.h"
#include "compute/text_lines.h"
#include "core/number_text.h"

namespace korvanet {
namespace {

std::string Trimmed(std::string_view s) { return std::string(TrimmedLine(s)); }

bool Skipped(const std::string& line) { return line.empty() || line[0] == '#'; }

char SeparatorOf(const std::string& line) {
    if (line.find('\t') != std::string::npos) return '\t';
    if (line.find(';') != std::string::npos) return ';';
    return ',';
}

std::vector<std::string> Fields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(
            Trimmed(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    while (!fields.empty() && fields.back().empty()) fields.pop_back();  // a trailing separator
    return fields;
}

enum Column { kId, kX, kY, kH, kColumns };

// The column a header cell names, or -1.
int ColumnNamed(const std::string& cell) {
    static const std::array<std::vector<std::string>, kColumns> names = {{
        {"点名", "点号", "name", "Name", "NAME", "id", "ID"},
        {"x", "X", "N", "北", "北坐标"},
        {"y", "Y", "E", "东", "东坐标"},
        {"h", "H", "高程", "Z", "z"},
    }};
    for (int c = 0; c < kColumns; ++c) {
        const auto& list = names[static_cast<std::size_t>(c)];
        if (std::find(list.begin(), list.end(), cell) != list.end()) return c;
    }
    return -1;
}

}  // namespace

bool LooksLikePointCsv(const std::string& text) {
    for (const std::string_view raw : TextLines(text)) {
        const std::string line = Trimmed(raw);
        if (!Skipped(line)) return Fields(line, SeparatorOf(line)).size() >= 3;
    }
    return false;
}

std::vector<CsvPoint> ReadPointCsv(const std::string& text, std::vector<std::string>& notes) {
    std::vector<CsvPoint> points;
    std::array<int, kColumns> at = {0, 1, 2, 3};
    std::size_t width = 0;  // the fields a header names; 0: no header
    char separator = 0;
    int number = 0;
    for (const std::string_view raw : TextLines(text)) {
        ++number;
        const std::string line = Trimmed(raw);
        if (Skipped(line)) continue;
        const auto refuse = [&](const std::string& why) { throw FieldBookLineError(number, why); };
        const bool first = separator == 0;
        if (first) separator = SeparatorOf(line);
        const std::vector<std::string> fields = Fields(line, separator);
        if (first && fields.size() >= 2 && !ReadNumber(fields[1]).IsNumber()) {
            at = {-1, -1, -1, -1};
            std::vector<std::string> unused;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const int c = ColumnNamed(fields[i]);
                if (c < 0) {
                    unused.push_back(fields[i]);
                    continue;
                }
                if (at[static_cast<std::size_t>(c)] >= 0) refuse("表头中 \"" + fields[i] + "\" 这一列重复了");
                at[static_cast<std::size_t>(c)] = static_cast<int>(i);
            }
            if (at[kId] < 0 || at[kX] < 0 || at[kY] < 0) {
                refuse(
                    "表头应说明 点名 (点名/点号/name)、x (x/X/N/北) 和 y (y/Y/E/东) 各在哪一列, 高程 "
                    "(h/H/高程) 可有可无");
            }
            width = fields.size();
            if (!unused.empty()) {
                std::string list;
                for (const std::string& u : unused) list += (list.empty() ? "" : "、") + u;
                notes.push_back("坐标文件中的列 " + list + " 未用");
            }
            continue;
        }
        if (width == 0 && (fields.size() < 3 || fields.size() > 4)) {
            refuse("这一行有 " + std::to_string(fields.size()) +
                   " 个值; 没有表头时每行应是 点名,x,y 或 点名,x,y,h (其他列序请加一行表头, 如 "
                   "点名,编码,E,N,H)");
        }
        if (width != 0 && fields.size() > width) {
            refuse("这一行有 " + std::to_string(fields.size()) + " 个值, 比表头的 " + std::to_string(width) +
                   " 列多");
        }
        const auto field = [&](int c) -> std::string {
            const int i = at[static_cast<std::size_t>(c)];
            return i >= 0 && static_cast<std::size_t>(i) < fields.size() ? fields[static_cast<std::size_t>(i)]
                                                                         : "";
        };
        CsvPoint point;
        point.line = number;
        point.id = field(kId);
        if (point.id.empty()) refuse("这一行没有点名");
        const auto coordinate = [&](const std::string& value, const std::string& what) {
            const NumberReading reading = ReadNumber(value);
            if (!reading.IsNumber()) refuse(NotANumberMessage(value, reading, point.id + " 的" + what));
            return reading.value;
        };
        point.xText = field(kX);
        point.yText = field(kY);
        point.x = coordinate(point.xText, "x");
        point.y = coordinate(point.yText, "y");
        point.heightText = field(kH);
        if (!point.heightText.empty()) point.height = coordinate(point.heightText, "高程");
        for (const CsvPoint& other : points) {
            if (other.id == point.id)
                refuse("点 " + point.id + " 在第 " + std::to_string(other.line) + " 行已经给出");
        }
        points.push_back(point);
    }
    return points;
}

}  // namespace korvanet
