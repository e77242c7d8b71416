// SPDX-License-Identifier: GPL-3.0-or-later
// Where the reduction of a field book goes in the window's cells: each
// set's 2C, means and reduced directions on the rows its lines were typed
// in, the station's directions on its first set's rows, the 测回法 angles on
// each set's second line, each distance record's steps on its first row;
// and each check on the cell of the value it judges.
#include <algorithm>

#include "app/field_book_document.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

QString Seconds(double value) { return QString::fromStdString(FixedText(value, 1)) + QStringLiteral("″"); }
QString Angle(double degrees) { return QString::fromStdString(DegreesMinutesSecondsText(degrees, 1)); }
QString Fixed(double value, int decimals) { return QString::fromStdString(FixedText(value, decimals)); }
QString Fixed(const std::optional<double>& value, int decimals) {
    return value ? Fixed(*value, decimals) : QString();
}

// The number written after `marker` in a check's item ("第2测回", "∠3", "S(4)"); 0 when there is none.
int NumberAfter(const QString& item, const QString& marker) {
    const qsizetype at = item.indexOf(marker);
    if (at < 0) return 0;
    int number = 0;
    for (qsizetype i = at + marker.size(); i < item.size() && item[i].isDigit(); ++i)
        number = number * 10 + item[i].digitValue();
    return number;
}

// The point a letter of an item names (A..D at `at`), or -1.
int PointAt(const QString& item, qsizetype at) {
    if (at < 0 || at >= item.size()) return -1;
    const char16_t c = item[at].unicode();
    return c >= u'A' && c <= u'D' ? c - u'A' : -1;
}

}  // namespace

int FieldBookDocument::SideOf(const FieldCheck& check) {
    if (check.kind != FieldCheckKind::ForwardBack && check.kind != FieldCheckKind::ProjectionDistortion)
        return 0;
    return NumberAfter(QString::fromStdString(check.item), QStringLiteral("S("));
}

void FieldBookDocument::placeComputed() {
    using namespace direction_column;
    const FieldReduction& r = run_->reduction;
    auto put = [this](BookTable table, int row, int column, const QString& text) {
        if (!text.isEmpty()) computed_.insert(Key(table, row, column), text);
    };
    for (SetRows& sr : setRows_) {
        const ReducedStation* station = nullptr;
        for (const ReducedStation& s : r.stations)
            if (s.point == sr.point) station = &s;
        if (station == nullptr || sr.rows.empty()) continue;
        const BookTable table = StationTable(sr.point);
        if (station->directionMethod) {
            if (sr.set >= static_cast<int>(station->sets.size())) continue;
            const ReducedSet& set = station->sets[static_cast<std::size_t>(sr.set)];
            const bool closed = set.closureLeft.has_value();
            for (std::size_t l = 0; l < sr.rows.size() && l < set.lines.size(); ++l) {
                const int row = sr.rows[l];
                const ReducedLine& line = set.lines[l];
                const bool closing = closed && l + 1 == set.lines.size();
                put(table, row, TwoC, Fixed(line.twoC, 1));
                put(table, row, Mean, Angle(line.mean));
                if (!closing) put(table, row, Reduced, Angle(line.reduced));
                if (sr.set == 0 && !closing) {
                    for (const ReducedDirection& d : station->directions) {
                        if (d.target != line.target) continue;
                        put(table, row, StationMean, Angle(d.reduced));
                        if (d.spread) put(table, row, Spread, Fixed(*d.spread, 1));
                    }
                }
            }
            put(table, sr.rows.front(), Check, QStringLiteral("2C 互差 %1").arg(Seconds(set.twoCRange)));
            if (closed && sr.rows.size() == set.lines.size()) {
                put(table, sr.rows.back(), Check,
                    QStringLiteral("归零差 左 %1 右 %2")
                        .arg(Seconds(*set.closureLeft), Seconds(*set.closureRight)));
            }
            continue;
        }
        // 测回法: the set's angle on its second line, the station's on its first set's.
        const FieldStation* typed = nullptr;
        for (const FieldStation& s : book_.stations)
            if (s.point == sr.point) typed = &s;
        if (typed == nullptr || sr.set >= static_cast<int>(typed->sets.size())) continue;
        const auto& lines = typed->sets[static_cast<std::size_t>(sr.set)].lines;
        if (lines.size() != 2 || sr.rows.size() != 2) continue;
        int occurrence = 0;
        for (const SetRows& before : setRows_) {
            if (&before == &sr) break;
            if (before.point == sr.point && before.angle != 0) {
                const auto& b = typed->sets[static_cast<std::size_t>(before.set)].lines;
                occurrence += b[0].target == lines[0].target && b[1].target == lines[1].target ? 1 : 0;
            }
        }
        for (const StationAngle& a : station->angles) {
            if (a.sets.empty() || a.sets.front().from != lines[0].target ||
                a.sets.front().to != lines[1].target)
                continue;
            if (occurrence >= static_cast<int>(a.sets.size())) break;
            sr.angle = a.angle;
            sr.occurrence = occurrence;
            const AngleSetReduction& s = a.sets[static_cast<std::size_t>(occurrence)];
            put(table, sr.rows[0], Mean, QStringLiteral("左 %1").arg(Angle(s.left)));
            put(table, sr.rows[1], Mean, QStringLiteral("右 %1").arg(Angle(s.right)));
            put(table, sr.rows[1], Reduced, Angle(s.angle));
            put(table, sr.rows[1], Check,
                QStringLiteral("∠%1 半测回差 %2").arg(a.angle).arg(Seconds(s.halfDifference)));
            if (occurrence == 0) {
                put(table, sr.rows[1], StationMean, Angle(a.degrees));
                if (a.spread) put(table, sr.rows[1], Spread, Fixed(*a.spread, 1));
            }
        }
    }
    namespace dc = distance_column;
    for (std::size_t d = 0; d < recordRows_.size() && d < r.distances.size(); ++d) {
        const ReducedDistance& rd = r.distances[d];
        const int row = recordRows_[d];
        put(BookTable::Distances, row, dc::MeanSlope, Fixed(rd.meanSlope, 4));
        put(BookTable::Distances, row, dc::ReadingSpread, Fixed(rd.readingSpread, 1));
        put(BookTable::Distances, row, dc::SetSpread, Fixed(rd.setSpread, 1));
        put(BookTable::Distances, row, dc::Constants, Fixed(rd.constants, 1));
        put(BookTable::Distances, row, dc::Meteorological, Fixed(rd.meteorological, 1));
        put(BookTable::Distances, row, dc::Horizontal, Fixed(rd.horizontal, 4));
        put(BookTable::Distances, row, dc::HeightReduction, Fixed(rd.height, 1));
        put(BookTable::Distances, row, dc::ProjectionReduction, Fixed(rd.projection, 1));
        put(BookTable::Distances, row, dc::Reduced, Fixed(rd.reduced, 4));
    }
}

void FieldBookDocument::addCheck(const CellRef& cell, const FieldCheck& check) {
    Mark& mark = marks_[Key(cell.table, cell.row, cell.column)];
    mark.checks.push_back(&check);
    if (check.passed == false && std::find(problems_.begin(), problems_.end(), cell) == problems_.end())
        problems_.push_back(cell);
}

void FieldBookDocument::placeChecks() {
    using namespace direction_column;
    const FieldReduction& r = run_->reduction;
    auto setAt = [this](int point, int set) -> const SetRows* {
        for (const SetRows& s : setRows_)
            if (s.point == point && s.set == set) return &s;
        return nullptr;
    };
    auto angleSet = [this](int angle, int occurrence) -> const SetRows* {
        for (const SetRows& s : setRows_)
            if (s.angle == angle && s.occurrence == occurrence) return &s;
        return nullptr;
    };
    const ReducedStation* station = nullptr;
    std::size_t readingChecks = 0, setSpreadChecks = 0;
    for (const FieldCheck& check : r.checks) {
        const QString item = QString::fromStdString(check.item);
        const int point = PointAt(item, 0);
        const int set = NumberAfter(item, QStringLiteral("第")) - 1;
        station = nullptr;
        for (const ReducedStation& s : r.stations)
            if (s.point == point) station = &s;
        switch (check.kind) {
            case FieldCheckKind::HalfRoundClosure:
                if (const SetRows* s = setAt(point, set))
                    addCheck({StationTable(point), s->rows.back(), Check}, check);
                break;
            case FieldCheckKind::TwoCRange: {
                const SetRows* s = setAt(point, set);
                if (s == nullptr || station == nullptr || set >= static_cast<int>(station->sets.size()))
                    break;
                const BookTable table = StationTable(point);
                addCheck({table, s->rows.front(), Check}, check);
                // The two lines whose 2C make the range.
                const auto& lines = station->sets[static_cast<std::size_t>(set)].lines;
                const auto [low, high] = std::minmax_element(
                    lines.begin(), lines.end(),
                    [](const ReducedLine& a, const ReducedLine& b) { return a.twoC < b.twoC; });
                for (auto at : {low, high}) {
                    const auto l = static_cast<std::size_t>(at - lines.begin());
                    if (l < s->rows.size()) addCheck({table, s->rows[l], TwoC}, check);
                }
                break;
            }
            case FieldCheckKind::SetSpread: {
                const int target = PointAt(item, item.indexOf(QStringLiteral("→")) + 1);
                const SetRows* s = setAt(point, 0);
                if (s == nullptr || station == nullptr || station->sets.empty()) break;
                const auto& lines = station->sets.front().lines;
                for (std::size_t l = 0; l < lines.size() && l < s->rows.size(); ++l) {
                    if (lines[l].target == target) {
                        addCheck({StationTable(point), s->rows[l], Spread}, check);
                        break;
                    }
                }
                break;
            }
            case FieldCheckKind::HalfSetDifference:
            case FieldCheckKind::AngleSetSpread: {
                const int angle = NumberAfter(item, QStringLiteral("∠"));
                const bool half = check.kind == FieldCheckKind::HalfSetDifference;
                const SetRows* s = angleSet(angle, half ? set : 0);
                if (s != nullptr && s->rows.size() == 2)
                    addCheck({StationTable(s->point), s->rows[1], half ? Check : Spread}, check);
                break;
            }
            case FieldCheckKind::ReadingSpread:
                if (readingChecks < recordRows_.size())
                    addCheck(
                        {BookTable::Distances, recordRows_[readingChecks], distance_column::ReadingSpread},
                        check);
                ++readingChecks;
                break;
            case FieldCheckKind::DistanceSetSpread: {
                // The n-th such check belongs to the n-th record read with more than one set.
                std::size_t seen = 0;
                for (std::size_t d = 0; d < r.distances.size() && d < recordRows_.size(); ++d) {
                    if (!r.distances[d].setSpread) continue;
                    if (seen++ == setSpreadChecks) {
                        addCheck({BookTable::Distances, recordRows_[d], distance_column::SetSpread}, check);
                        break;
                    }
                }
                ++setSpreadChecks;
                break;
            }
            case FieldCheckKind::ForwardBack:
            case FieldCheckKind::ProjectionDistortion:
                // Shown in the table of sides, which the window fills from the checks.
                if (check.passed == false) problems_.push_back({BookTable::Distances, -1, 0});
                break;
        }
    }
}

}  // namespace korvanet
