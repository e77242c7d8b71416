// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/instrument_import.h"

#include <algorithm>
#include <cmath>

#include "adjust/quadrilateral.h"
#include "compute/field_book_file.h"
#include "compute/gsi_reader.h"
#include "compute/job_text.h"
#include "compute/text_raw_reader.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

using quadrilateral::kPointLetters;

std::string Letter(int point) { return kPointLetters[static_cast<std::size_t>(point)]; }

std::string FileName(const std::string& name) { return "仪器数据文件 " + name; }

// The line of the text that is not blank, from 1, or 1 for an empty text.
int FirstLine(const std::string& text) {
    int number = 1;
    for (char c : text) {
        if (c == '\n') {
            ++number;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            return number;
        }
    }
    return 1;
}

std::string CoordinatesText(const FieldPoint& p) {
    return p.x ? "x " + p.x->text + ", y " + p.y->text : std::string("没有坐标");
}

// The id that `mapping` gives to figure point `p` among `ids`, or empty.
std::string IdOf(const PointMapping& mapping, int p, const std::vector<std::string>& ids) {
    for (const std::string& id : ids) {
        const auto it = mapping.find(id);
        if (it != mapping.end() && it->second == p) return id;
    }
    return "";
}

// A CSV point as the figure's point `p`: B and C are always to be
// determined, so only their heights are taken.
FieldPoint PointOfCsv(const CsvPoint& csv, int p, std::vector<std::string>& comments) {
    FieldPoint point;
    point.given = true;
    point.name = csv.id;
    if (csv.height) point.height = FieldNumber{csv.heightText, *csv.height};
    if (p == 1 || p == 2) {
        comments.push_back(Letter(p) + " (" + csv.id + ") 是待定点, 坐标文件第 " + std::to_string(csv.line) +
                           " 行的坐标未用");
    } else {
        point.x = FieldNumber{csv.xText, csv.x};
        point.y = FieldNumber{csv.yText, csv.y};
    }
    FieldBook part;
    part.points[static_cast<std::size_t>(p)] = point;
    try {
        if (ReadFieldBook(FieldBookText(part)) == part) return point;
    } catch (const FieldBookLineError& e) {
        throw FieldBookLineError(csv.line, e.why());
    }
    throw FieldBookLineError(csv.line, "点名 \"" + csv.id + "\" 含有空格或 #, 写进手簿后读不回原样");
}

bool SameCoordinates(const FieldPoint& a, const FieldPoint& b) {
    return a.x.has_value() == b.x.has_value() &&
           (!a.x || (a.x->value == b.x->value && a.y->value == b.y->value));
}

}  // namespace

InstrumentFile ReadInstrumentBytes(const std::string& bytes, const std::string& name) {
    InstrumentFile file;
    file.name = name;
    std::string text;
    try {
        text = DecodeJobText(bytes, &file.notice, "仪器数据文件");
    } catch (const KorvanetError& e) {
        throw InputError("无法读取" + FileName(name) + ": " + e.what());
    }
    try {
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
            throw InputError("无法读取" + FileName(name) + ": 文件是空的");
        }
        if (LooksLikeGsi(text)) {
            file.record = ReadGsi(text);
        } else if (LooksLikeTextRaw(text)) {
            file.record = ReadTextRaw(text);
        } else if (LooksLikePointCsv(text)) {
            file.points = ReadPointCsv(text, file.notes);
        } else {
            throw FieldBookLineError(
                FirstLine(text),
                "不认识这个文件的格式; 能导入的有: 徕卡 GSI-8/GSI-16 (每行一块, 如 "
                "*110001+..., 21.324+...), 国产全站仪的文本原始数据 (STA、BS、SS ... 记录), "
                "和 点名,x,y[,h] 的坐标文件 (逗号、制表符或分号分隔)");
        }
    } catch (const FieldBookLineError& e) {
        throw InputError(FileName(name) + " " + e.what());
    }
    return file;
}

InstrumentFile ReadInstrumentFile(const std::string& path) {
    return ReadInstrumentBytes(ReadInstrumentFileBytes(path), JobFileName(path));
}

std::vector<std::string> ImportIds(const std::vector<InstrumentFile>& files) {
    std::vector<std::string> ids;
    const auto add = [&](const std::string& id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    };
    for (const InstrumentFile& file : files) {
        if (file.record)
            for (const std::string& id : RecordIds(*file.record)) add(id);
        for (const CsvPoint& point : file.points) add(point.id);
    }
    return ids;
}

ImportedBook ImportBook(const std::vector<InstrumentFile>& files, const PointMapping& mapping) {
    ImportedBook out;
    FieldBook& book = out.book;
    std::vector<std::string>& comments = out.comments;
    std::array<std::string, 4> stationFile;  // the file each station came from
    for (const InstrumentFile& file : files) {
        comments.push_back("由" + FileName(file.name) + " 导入 (" +
                           (file.record ? file.record->format : std::string("点名,x,y 坐标")) + ")");
        if (!file.notice.empty()) comments.push_back(file.notice);
        if (!file.record) continue;
        std::vector<std::string> notes = file.record->notes;
        FieldBook part;
        try {
            part = BookFromRecord(*file.record, mapping, notes);
        } catch (const FieldBookLineError& e) {
            throw InputError(FileName(file.name) + " " + e.what());
        }
        comments.insert(comments.end(), notes.begin(), notes.end());
        for (const FieldStation& station : part.stations) {
            std::string& from = stationFile[static_cast<std::size_t>(station.point)];
            if (!from.empty()) {
                throw InputError(FileName(file.name) + ": 测站 " + Letter(station.point) + " 在" +
                                 FileName(from) + " 中已经有了; 同一个测站的观测请只从一个文件导入");
            }
            from = file.name;
            book.stations.push_back(station);
        }
        book.distances.insert(book.distances.end(), part.distances.begin(), part.distances.end());
        if (part.constants) book.constants = part.constants;
        for (std::size_t p = 0; p < 4; ++p) {
            if (part.points[p].given && (!book.points[p].given || (!book.points[p].x && part.points[p].x)))
                book.points[p] = part.points[p];
        }
    }
    // Known points from the lists: they hold over what a station recorded.
    for (const InstrumentFile& file : files) {
        std::vector<std::string> unused;
        for (const CsvPoint& csv : file.points) {
            const auto it = mapping.find(csv.id);
            if (it == mapping.end()) {
                unused.push_back(csv.id);
                continue;
            }
            const int p = it->second;
            FieldPoint point;
            try {
                point = PointOfCsv(csv, p, comments);
            } catch (const FieldBookLineError& e) {
                throw InputError(FileName(file.name) + " " + e.what());
            }
            FieldPoint& held = book.points[static_cast<std::size_t>(p)];
            if (held.given && held.x && !SameCoordinates(held, point)) {
                comments.push_back(Letter(p) + " (" + csv.id + "): 坐标文件" + file.name + " 第 " +
                                   std::to_string(csv.line) + " 行 (" + CoordinatesText(point) +
                                   ") 与之前的 (" + CoordinatesText(held) + ") 不同, 用坐标文件的");
            }
            if (held.given && held.height && point.height && held.height->value != point.height->value) {
                comments.push_back(Letter(p) + " (" + csv.id + ") 的高程: 用坐标文件的 " +
                                   point.height->text + ", 不用 " + held.height->text);
            }
            if (!point.height && held.height) point.height = held.height;
            held = point;
        }
        comments.insert(comments.end(), file.notes.begin(), file.notes.end());
        if (!unused.empty()) {
            std::string list;
            for (std::size_t i = 0; i < unused.size() && i < 10; ++i) list += (i ? "、" : "") + unused[i];
            if (unused.size() > 10) list += " 等";
            comments.push_back(file.name + " 中 " + std::to_string(unused.size()) +
                               " 个点不是图形的点, 未用: " + list);
        }
    }
    // What the files could not tell.
    const std::vector<std::string> ids = ImportIds(files);
    const std::string a = IdOf(mapping, 0, ids), d = IdOf(mapping, 3, ids);
    if (!a.empty() && !book.points[0].given) {
        comments.push_back("A (" + a + ") 是已知点, 文件中没有它的坐标: 请补上 point A " + a + " x y");
    }
    if (!d.empty() && !book.points[3].given) {
        book.points[3].given = true;
        book.points[3].name = d;
    }
    if (book.points[3].given && !book.points[3].x) {
        comments.push_back(
            "D (" + book.points[3].name +
            ") 文件中没有坐标, 按待定点写 (- -); D 是已知点时请补上它的坐标, 待定时请给出 orient");
    }
    for (int p = 1; p <= 2; ++p) {
        const std::string id = IdOf(mapping, p, ids);
        FieldPoint& point = book.points[static_cast<std::size_t>(p)];
        if (!id.empty() && !point.given) {
            point.given = true;
            point.name = id;
        }
    }
    return out;
}

std::string ImportedBookText(const ImportedBook& imported) {
    std::string out;
    for (const std::string& comment : imported.comments) out += "# " + comment + "\n";
    return out + FieldBookText(imported.book);
}

FieldBook MergeImportedBook(const FieldBook& open, const FieldBook& imported) {
    FieldBook merged = open;
    for (std::size_t p = 0; p < 4; ++p) {
        const FieldPoint& point = imported.points[p];
        if (point.given && (point.x || !merged.points[p].given)) merged.points[p] = point;
    }
    for (const FieldStation& station : imported.stations) {
        auto held = std::find_if(merged.stations.begin(), merged.stations.end(),
                                 [&](const FieldStation& s) { return s.point == station.point; });
        if (held != merged.stations.end()) {
            *held = station;
        } else {
            merged.stations.push_back(station);
        }
    }
    const auto replaced = [&](const FieldDistance& d) {
        return std::any_of(imported.distances.begin(), imported.distances.end(),
                           [&](const FieldDistance& i) { return i.from == d.from && i.to == d.to; });
    };
    std::erase_if(merged.distances, replaced);
    if (!imported.distances.empty()) {
        const FieldInstruments typed = InstrumentsOf(open);
        if (!merged.distances.empty() && (typed.constantK != 0 || typed.constantR != 0)) {
            throw InputError("导入的斜距已由仪器加上加常数和乘常数, 而手簿中其余的测距记录要用 constants " +
                             open.constants->at(0).text + " " + open.constants->at(1).text +
                             ": 一本手簿只有一组常数; 请先把其余记录的常数改正好, 或把 constants 改为 0 0");
        }
        merged.distances.insert(merged.distances.end(), imported.distances.begin(), imported.distances.end());
        merged.constants = imported.constants;
    }
    return merged;
}

}  // namespace korvanet
