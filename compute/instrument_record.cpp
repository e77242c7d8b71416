// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/instrument_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "adjust/quadrilateral.h"
#include "compute/field_book_file.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

using quadrilateral::kPointLetters;

constexpr double kHalfCircle = 648000;  // arc seconds

std::string Letter(int point) { return kPointLetters[static_cast<std::size_t>(point)]; }

// An angle of the record (arc seconds, already on 0.01") as a packed reading:
// d.mmss with the hundredths of a second only where they are not zero.
FieldNumber PackedOf(double seconds) {
    const long long h = std::llround(seconds * 100);
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%02lld%02lld%02lld", h / 360000, h / 6000 % 60, h / 100 % 60,
                  h % 100);
    std::string packed = text;
    while (packed.size() > packed.find('.') + 5 && packed.back() == '0') packed.pop_back();
    return {packed, static_cast<double>(h) / 100};
}

// Metres as the shortest text that reads back to the same value: the
// readers make every length from its exact decimal text, so this gives
// that text back.
FieldNumber MetresOf(double metres) {
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, metres, std::chars_format::fixed);
    return {std::string(text, end.ptr), metres};
}

std::string IdList(const std::vector<std::string>& ids) {
    std::string out;
    for (const std::string& id : ids) out += (out.empty() ? "" : "、") + id;
    return out;
}

// A book holding only `part` written out and read back: the book's own
// rules judge the part, and a part that does not read back as it was (a
// name with a blank, say) is refused too.
void CheckPart(const FieldBook& part, int line) {
    try {
        if (ReadFieldBook(FieldBookText(part)) == part) return;
    } catch (const FieldBookLineError& e) {
        throw FieldBookLineError(line, e.why());
    }
    throw FieldBookLineError(line, "点号或数值含有空格或 #, 写进手簿后读不回原样");
}

// The pointings of one set, in the order they were made.
struct PointingSet {
    std::vector<const InstrumentPointing*> all, faceI, faceII;
};

std::vector<PointingSet> SetsOf(const InstrumentStation& station) {
    std::vector<PointingSet> sets;
    for (const InstrumentPointing& p : station.pointings) {
        if (!p.zenith) {
            throw FieldBookLineError(p.line, "照准 " + p.target + " 没有天顶距 (V), 分不出盘左盘右");
        }
        const bool faceII = *p.zenith > kHalfCircle;
        if (!faceII && (sets.empty() || !sets.back().faceII.empty())) sets.emplace_back();
        if (faceII && sets.empty()) {
            throw FieldBookLineError(
                p.line, "盘右照准 " + p.target + " 之前没有盘左照准: 一个测回先盘左照准各目标, 再盘右照准");
        }
        PointingSet& set = sets.back();
        set.all.push_back(&p);
        (faceII ? set.faceII : set.faceI).push_back(&p);
    }
    return sets;
}

// The k-th pointing of `target` among `face` (k from 0), or none.
const InstrumentPointing* Nth(const std::vector<const InstrumentPointing*>& face, const std::string& target,
                              int k) {
    for (const InstrumentPointing* p : face) {
        if (p->target == target && k-- == 0) return p;
    }
    return nullptr;
}

// How many pointings of the same target come before `pointing` in `face`.
int Occurrence(const std::vector<const InstrumentPointing*>& face, const InstrumentPointing* pointing) {
    int k = 0;
    for (const InstrumentPointing* p : face) {
        if (p == pointing) break;
        if (p->target == pointing->target) ++k;
    }
    return k;
}

// The face-II pointing that goes on one line of the book with the k-th
// face-I pointing of `target`.  Face II turns back the way face I came, and
// the book is filled the same way, its face-II column from the foot up: so
// the k-th face-I pointing of a target pairs with its k-th face-II pointing
// counted in the book's order, which is the k-th from the end of face II.
// Only the first target, pointed again to close the round, is pointed more
// than once a face; its opening line carries face II's closing reading, as
// on paper, so that every 2C is the one the surveyor's own book shows.
// Both faces point at the target equally often (checked before).
const InstrumentPointing* FaceIIPartner(const PointingSet& set, const std::string& target, int k) {
    const auto times = std::count_if(set.faceII.begin(), set.faceII.end(),
                                     [&](const InstrumentPointing* p) { return p->target == target; });
    return Nth(set.faceII, target, static_cast<int>(times) - 1 - k);
}

class RecordBook {
public:
    RecordBook(const InstrumentRecord& record, const PointMapping& mapping, std::vector<std::string>& notes)
        : record_(record), mapping_(mapping), notes_(notes), ids_(RecordIds(record)) {}

    FieldBook Make() {
        for (const InstrumentStation& station : record_.stations) Station(station);
        for (FieldDistance& d : distances_) book_.distances.push_back(d);
        if (!book_.distances.empty()) {
            book_.constants = {FieldNumber{"0", 0}, FieldNumber{"0", 0}};
            notes_.push_back(
                "斜距是仪器记录的, 仪器已加上它设置的气象改正 (ppm) 和棱镜常数: 手簿写 constants 0 0, 不写 "
                "met");
        }
        return book_;
    }

private:
    int PointOf(const std::string& id, int line, const std::string& role) const {
        const auto it = mapping_.find(id);
        if (it == mapping_.end()) {
            throw FieldBookLineError(
                line,
                role + "的点号 " + id + " 没有对应图形的点 A、B、C、D; 文件中的点号有: " + IdList(ids_));
        }
        return it->second;
    }

    // A day's file holds more than the figure: a station the mapping leaves
    // out is no station of the figure, and a target it leaves out no
    // direction of it.  Both are left out of the book, and the book says so.
    // The first target of a set is its zero direction: without it the set's
    // other directions would silently be turned to another one, so it must
    // be mapped.
    void Station(const InstrumentStation& station) {
        if (!mapping_.count(station.id)) {
            notes_.push_back("第 " + std::to_string(station.line) + " 行的测站 " + station.id +
                             " 不在点号对应中, 它的 " + std::to_string(station.pointings.size()) +
                             " 次照准未读入");
            return;
        }
        const int at = PointOf(station.id, station.line, "测站");
        Point(station, at);
        if (station.pointings.empty()) {
            notes_.push_back("第 " + std::to_string(station.line) + " 行在 " + station.id +
                             " 上设站后没有照准");
            return;
        }
        auto found = std::find_if(book_.stations.begin(), book_.stations.end(),
                                  [&](const FieldStation& s) { return s.point == at; });
        if (found == book_.stations.end()) {
            book_.stations.push_back({at, {}});
            found = book_.stations.end() - 1;
        } else {
            notes_.push_back("第 " + std::to_string(station.line) + " 行在 " + station.id +
                             " 上再次设站, 其测回接在前面的测回之后");
        }
        const std::size_t stationIndex = static_cast<std::size_t>(found - book_.stations.begin());
        std::vector<std::pair<int, std::size_t>> records;  // target -> its distance record
        bool firstSet = true;
        for (PointingSet set : SetsOf(station)) {
            LeaveOutUnmapped(station, set);
            FieldSet lines;
            for (const InstrumentPointing* right : set.faceII) {
                const int k = Occurrence(set.faceII, right);
                if (!Nth(set.faceI, right->target, k)) {
                    throw FieldBookLineError(right->line, "盘右第 " + std::to_string(k + 1) + " 次照准 " +
                                                              right->target +
                                                              " 在本测回的盘左没有对应的照准");
                }
            }
            for (const InstrumentPointing* left : set.faceI) {
                const int target = PointOf(left->target, left->line, "照准目标");
                const int k = Occurrence(set.faceI, left);
                if (!Nth(set.faceII, left->target, k)) {
                    throw FieldBookLineError(left->line, "盘左第 " + std::to_string(k + 1) + " 次照准 " +
                                                             left->target + " 在本测回的盘右没有对应的照准");
                }
                const InstrumentPointing* right = FaceIIPartner(set, left->target, k);
                lines.lines.push_back({target, PackedOf(left->horizontal), PackedOf(right->horizontal)});
            }
            book_.stations[stationIndex].sets.push_back(lines);
            FieldBook part;
            part.stations = {book_.stations[stationIndex]};
            CheckPart(part, set.faceI.front()->line);
            Distances(station, at, set, records, firstSet);
            firstSet = false;
        }
    }

    void LeaveOutUnmapped(const InstrumentStation& station, PointingSet& set) {
        const InstrumentPointing* first = set.faceI.front();
        if (!mapping_.count(first->target)) {
            throw FieldBookLineError(first->line, "测回的起始方向 " + first->target +
                                                      " 不在点号对应中; 起始方向是本测回各方向的零方向, "
                                                      "请把它对应到图形的一个点");
        }
        std::vector<std::string> left;
        const auto unmapped = [&](const InstrumentPointing* p) {
            if (mapping_.count(p->target)) return false;
            if (std::find(left.begin(), left.end(), p->target) == left.end()) left.push_back(p->target);
            return true;
        };
        for (auto* face : {&set.all, &set.faceI, &set.faceII}) std::erase_if(*face, unmapped);
        for (const std::string& id : left) {
            notes_.push_back("测站 " + station.id + " 第 " + std::to_string(first->line) +
                             " 行起的测回: 照准点 " + id + " 不在点号对应中, 它的方向未读入");
        }
    }

    // Every slope distance to a target in one set is one reading of that
    // set's `read` line of the distance from the station to the target.
    void Distances(const InstrumentStation& station, int at, const PointingSet& set,
                   std::vector<std::pair<int, std::size_t>>& records, bool firstSet) {
        std::vector<std::string> done;
        for (const InstrumentPointing* first : set.faceI) {
            const std::string& id = first->target;
            if (std::find(done.begin(), done.end(), id) != done.end()) continue;
            done.push_back(id);
            std::vector<FieldNumber> readings;
            const InstrumentPointing* measured = nullptr;
            for (const InstrumentPointing* p : set.all) {
                if (p->target != id || !p->slope) continue;
                if (readings.size() == 4) {
                    throw FieldBookLineError(p->line,
                                             "本测回对 " + id +
                                                 " 已有 4 个斜距, 这是第 5 个; 手簿的一个测回只记 2 至 4 "
                                                 "个读数");
                }
                if (!measured) measured = p;
                readings.push_back(MetresOf(*p->slope));
            }
            if (readings.empty()) continue;
            if (readings.size() == 1) {
                notes_.push_back("第 " + std::to_string(measured->line) + " 行: 本测回对 " + id +
                                 " 只有 1 个斜距, 手簿的一个测回要 2 至 4 个读数, 未记入");
                continue;
            }
            const int to = PointOf(id, first->line, "照准目标");
            auto rec =
                std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.first == to; });
            if (rec == records.end()) {
                FieldDistance d;
                d.from = at;
                d.to = to;
                const InstrumentPointing* left = Nth(set.faceI, id, 0);
                const InstrumentPointing* right = FaceIIPartner(set, id, 0);
                d.zenith = {PackedOf(*left->zenith), PackedOf(*right->zenith)};
                if (station.instrumentHeight && measured->reflectorHeight) {
                    d.heights = {MetresOf(*station.instrumentHeight), MetresOf(*measured->reflectorHeight)};
                } else if (station.instrumentHeight || measured->reflectorHeight) {
                    notes_.push_back("测站 " + station.id + " 到 " + id + ": 只记录了" +
                                     (station.instrumentHeight ? "仪器高" : "棱镜高") + ", 不写 heights 行");
                }
                if (!firstSet) {
                    notes_.push_back("测站 " + station.id + " 到 " + id + " 的天顶距取自第 " +
                                     std::to_string(left->line) + " 行起的测回 (第一个测过距离的测回)");
                }
                distances_.push_back(d);
                rec = records.insert(records.end(), {to, distances_.size() - 1});
            }
            FieldDistance& d = distances_[rec->second];
            d.sets.push_back(readings);
            FieldBook part;
            part.distances = {d};
            CheckPart(part, measured->line);
        }
    }

    // A station's recorded coordinates give its point; B and C are always
    // to be determined, so only their heights are kept.
    void Point(const InstrumentStation& station, int p) {
        FieldPoint& point = book_.points[static_cast<std::size_t>(p)];
        if (point.given) return;
        point.given = true;
        point.name = station.id;
        if (station.height) point.height = MetresOf(*station.height);
        if (station.east && station.north) {
            if (p == 1 || p == 2) {
                notes_.push_back(Letter(p) + " (" + station.id + ") 是待定点, 第 " +
                                 std::to_string(station.line) + " 行记录的测站坐标未用");
            } else {
                point.x = MetresOf(*station.north);
                point.y = MetresOf(*station.east);
            }
        }
        if (p == 0 && !point.x) {
            point = FieldPoint{};  // A is known: without its coordinates it has no line yet
            return;
        }
        FieldBook part;
        part.points[static_cast<std::size_t>(p)] = point;
        CheckPart(part, station.line);
    }

    const InstrumentRecord& record_;
    const PointMapping& mapping_;
    std::vector<std::string>& notes_;
    std::vector<std::string> ids_;
    FieldBook book_;
    std::vector<FieldDistance> distances_;
};

}  // namespace

std::vector<std::string> RecordIds(const InstrumentRecord& record) {
    std::vector<std::string> ids;
    const auto add = [&](const std::string& id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    };
    for (const InstrumentStation& station : record.stations) {
        add(station.id);
        for (const InstrumentPointing& p : station.pointings) add(p.target);
    }
    return ids;
}

PointMapping ParsePointMapping(const std::string& text) {
    PointMapping mapping;
    bool letters[4] = {false, false, false, false};
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        while (!item.empty() && blank(item.front())) item.erase(item.begin());
        while (!item.empty() && blank(item.back())) item.pop_back();
        const std::size_t eq = item.find('=');
        const std::string letter = eq == std::string::npos ? item : item.substr(0, eq);
        const std::string id = eq == std::string::npos ? "" : item.substr(eq + 1);
        const auto p = std::find(kPointLetters.begin(), kPointLetters.end(), letter);
        if (eq == std::string::npos || p == kPointLetters.end() || id.empty()) {
            throw InputError("点号对应 \"" + item +
                             "\" 应写成 字母=点号, 字母是 A、B、C、D 之一, 如 A=K1,B=K2,C=K3,D=K4");
        }
        const int point = static_cast<int>(p - kPointLetters.begin());
        if (letters[point]) throw InputError("点号对应中 " + letter + " 出现了两次");
        if (mapping.count(id)) throw InputError("点号 " + id + " 在点号对应中出现了两次");
        letters[point] = true;
        mapping[id] = point;
        start = end + 1;
    }
    return mapping;
}

PointMapping IdentityMapping(const InstrumentRecord& record) {
    const std::vector<std::string> ids = RecordIds(record);
    PointMapping mapping;
    for (int p = 0; p < 4; ++p) mapping[Letter(p)] = p;
    const auto refuse = [&](int line, const std::string& id) {
        throw FieldBookLineError(line, "点号 " + id + " 不是 A、B、C、D; 文件中的点号有: " + IdList(ids) +
                                           "; 请给出点号对应 (--points A=点号,B=点号,C=点号,D=点号)");
    };
    for (const InstrumentStation& station : record.stations) {
        if (!mapping.count(station.id)) refuse(station.line, station.id);
        for (const InstrumentPointing& p : station.pointings)
            if (!mapping.count(p.target)) refuse(p.line, p.target);
    }
    return mapping;
}

FieldBook BookFromRecord(const InstrumentRecord& record, const PointMapping& mapping,
                         std::vector<std::string>& notes) {
    return RecordBook(record, mapping, notes).Make();
}

}  // namespace korvanet
