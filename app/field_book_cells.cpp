// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_book_cells.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "adjust/quadrilateral.h"

namespace korvanet {
namespace {

// A letter of the figure as the book writes it.
QString Letter(int point) {
    return QString::fromLatin1(quadrilateral::kPointLetters.at(static_cast<std::size_t>(point)));
}

template <std::size_t N>
bool Blank(const std::array<QString, N>& row) {
    return std::all_of(row.begin(), row.end(), [](const QString& t) { return t.trimmed().isEmpty(); });
}

template <typename Row>
void DropEmptyEnd(std::vector<Row>& rows) {
    while (!rows.empty() && Blank(rows.back())) rows.pop_back();
}

// Writes the cells of one book: each value becomes one token of a line, so
// a value that would split into two (a blank in it) or end the line (a '#')
// is kept back with why.
class LineWriter {
public:
    explicit LineWriter(BookLines& out) : out_(out) {}

    // True when `text` can be one token; else the cell is told why.
    bool token(const CellRef& cell, const QString& text) {
        const QString value = text.trimmed();
        for (const QChar c : value) {
            if (c.isSpace() || c == QLatin1Char('#')) {
                out_.unwritten.emplace_back(cell, "一个单元格只填一个数值或名称, 不能含空格或 #");
                return false;
            }
        }
        return true;
    }

    void missing(const CellRef& cell, const char* why) { out_.unwritten.emplace_back(cell, why); }

    void line(std::string text, std::vector<CellRef> cells, int group = -1, bool opens = false,
              bool readings = false) {
        out_.lines.push_back({std::move(text), std::move(cells), group, opens, readings});
    }

    // `keyword a b` from two cells, both or neither; one alone is kept back.
    void pair(const char* keyword, const CellRef& a, const QString& textA, const CellRef& b,
              const QString& textB, int group = -1) {
        const bool hasA = !textA.trimmed().isEmpty();
        const bool hasB = !textB.trimmed().isEmpty();
        if (!hasA && !hasB) return;
        if (!hasA || !hasB) {
            missing(hasA ? b : a, "这一对数值要同时填写");
            return;
        }
        if (!token(a, textA) || !token(b, textB)) return;
        line(std::string(keyword) + ' ' + textA.trimmed().toStdString() + ' ' + textB.trimmed().toStdString(),
             {a, b}, group);
    }

    void single(const char* keyword, const CellRef& cell, const QString& text) {
        if (text.trimmed().isEmpty() || !token(cell, text)) return;
        line(std::string(keyword) + ' ' + text.trimmed().toStdString(), {cell});
    }

    int newGroup() { return groups_++; }

private:
    BookLines& out_;
    int groups_ = 0;
};

CellRef Header(int row) { return {BookTable::Header, row, book_header::kValueColumn}; }

void WriteHeader(const FieldBookCells& cells, LineWriter& w) {
    using namespace book_header;
    const auto& h = cells.header;
    w.single("tolerance", Header(Tolerance), h[Tolerance]);
    for (int p = 0; p < 4; ++p) {
        const auto& point = cells.points[static_cast<std::size_t>(p)];
        if (Blank(point)) continue;
        auto cell = [p](int column) { return CellRef{BookTable::Points, p, column}; };
        const QString& name = point[0];
        const QString& x = point[1];
        const QString& y = point[2];
        const QString& height = point[3];
        if (name.trimmed().isEmpty()) {
            w.missing(cell(point_column::Name), "点名未填");
            continue;
        }
        if (x.trimmed().isEmpty() != y.trimmed().isEmpty()) {
            w.missing(cell(x.trimmed().isEmpty() ? point_column::X : point_column::Y),
                      "纵横座标要同时填写; 都不填表示未知");
            continue;
        }
        if (!w.token(cell(point_column::Name), name)) continue;
        std::vector<CellRef> used = {cell(point_column::Name)};
        std::string text = "point " + Letter(p).toStdString() + ' ' + name.trimmed().toStdString();
        bool written = true;
        if (x.trimmed().isEmpty()) {
            text += " - -";
        } else {
            written = w.token(cell(point_column::X), x) && w.token(cell(point_column::Y), y);
            text += ' ' + x.trimmed().toStdString() + ' ' + y.trimmed().toStdString();
            used.push_back(cell(point_column::X));
            used.push_back(cell(point_column::Y));
        }
        if (!height.trimmed().isEmpty()) {
            written = written && w.token(cell(point_column::Height), height);
            text += ' ' + height.trimmed().toStdString();
            used.push_back(cell(point_column::Height));
        }
        if (written) w.line(std::move(text), std::move(used));
    }
    w.pair("orient", Header(OrientT0), h[OrientT0], Header(OrientQ1), h[OrientQ1]);
    w.single("theodolite", Header(Theodolite), h[Theodolite]);
    w.single("class", Header(OrderClass), h[OrderClass]);
    w.pair("edm", Header(EdmA), h[EdmA], Header(EdmB), h[EdmB]);
    w.pair("constants", Header(ConstantK), h[ConstantK], Header(ConstantR), h[ConstantR]);
    w.pair("atmosphere", Header(AtmosphereA), h[AtmosphereA], Header(AtmosphereB), h[AtmosphereB]);
    w.single("surface", Header(Surface), h[Surface]);
    if (!h[Projection].isEmpty()) w.line("projection", {Header(Projection)});
}

void WriteStation(const FieldBookCells& cells, int point, LineWriter& w) {
    using namespace direction_column;
    const BookTable table = StationTable(point);
    const auto& rows = cells.stations[static_cast<std::size_t>(point)];
    // The `station` and `set` lines are written with the first line under
    // them: a set whose lines are all kept back (a reading not yet typed)
    // is not also refused as empty.
    bool stationWritten = false;
    int group = -1;
    bool setWritten = false;
    int setRow = -1;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const DirectionRow& row = rows[static_cast<std::size_t>(r)];
        if (Blank(row)) continue;
        auto cell = [table, r](int column) { return CellRef{table, r, column}; };
        if (group < 0 || !row[Set].trimmed().isEmpty()) {
            group = w.newGroup();
            setWritten = false;
            setRow = r;
        }
        const bool hasLine = !row[Target].trimmed().isEmpty() || !row[Left].trimmed().isEmpty() ||
                             !row[Right].trimmed().isEmpty();
        if (!hasLine) continue;
        bool complete = true;
        for (int column : {Target, Left, Right}) {
            if (row[static_cast<std::size_t>(column)].trimmed().isEmpty()) {
                w.missing(cell(column), column == Target ? "目标未填" : "读数未填");
                complete = false;
            } else if (!w.token(cell(column), row[static_cast<std::size_t>(column)])) {
                complete = false;
            }
        }
        if (!complete) continue;
        if (!stationWritten) {
            w.line("station " + Letter(point).toStdString(), {cell(Target)});
            stationWritten = true;
        }
        if (!setWritten) {
            w.line("set", {{table, setRow, Set}}, group, true);
            setWritten = true;
        }
        w.line(row[Target].trimmed().toStdString() + ' ' + row[Left].trimmed().toStdString() + ' ' +
                   row[Right].trimmed().toStdString(),
               {cell(Target), cell(Left), cell(Right)}, group, false, true);
    }
}

void WriteDistances(const FieldBookCells& cells, LineWriter& w) {
    using namespace distance_column;
    const auto& rows = cells.distances;
    std::size_t r = 0;
    while (r < rows.size()) {
        const DistanceRow& first = rows[r];
        auto cell = [](std::size_t row, int column) {
            return CellRef{BookTable::Distances, static_cast<int>(row), column};
        };
        if (Blank(first)) {
            ++r;
            continue;
        }
        const bool named = !first[From].trimmed().isEmpty() || !first[To].trimmed().isEmpty();
        // The record's rows: this one and those below it that name no ends.
        std::size_t end = r + 1;
        while (end < rows.size() && rows[end][From].trimmed().isEmpty() && rows[end][To].trimmed().isEmpty())
            ++end;
        if (!named || first[From].trimmed().isEmpty() || first[To].trimmed().isEmpty()) {
            w.missing(cell(r, named && first[From].trimmed().isEmpty() ? From : (named ? To : From)),
                      named ? "测站和镜站要同时填写" : "先填这条记录的测站和镜站");
            r = end;
            continue;
        }
        if (!w.token(cell(r, From), first[From]) || !w.token(cell(r, To), first[To])) {
            r = end;
            continue;
        }
        const int group = w.newGroup();
        w.line("distance " + first[From].trimmed().toStdString() + ' ' + first[To].trimmed().toStdString(),
               {cell(r, From), cell(r, To)}, group, true);
        for (std::size_t k = r; k < end; ++k) {
            std::string text = "read";
            std::vector<CellRef> used;
            bool written = true;
            for (int column = Reading1; column <= Reading4; ++column) {
                const QString& value = rows[k][static_cast<std::size_t>(column)];
                if (value.trimmed().isEmpty()) continue;
                written = w.token(cell(k, column), value) && written;
                text += ' ' + value.trimmed().toStdString();
                used.push_back(cell(k, column));
            }
            if (!used.empty() && written) w.line(std::move(text), std::move(used), group);
        }
        for (std::size_t k = r; k < end; ++k) {
            const DistanceRow& row = rows[k];
            w.pair("zenith", cell(k, ZenithLeft), row[ZenithLeft], cell(k, ZenithRight), row[ZenithRight],
                   group);
            w.pair("heights", cell(k, InstrumentHeight), row[InstrumentHeight], cell(k, ReflectorHeight),
                   row[ReflectorHeight], group);
            w.pair("met", cell(k, Temperature), row[Temperature], cell(k, Pressure), row[Pressure], group);
        }
        r = end;
    }
}

QString Text(const FieldNumber& n) { return QString::fromStdString(n.text); }
QString Text(const std::optional<FieldNumber>& n) { return n ? Text(*n) : QString(); }

QJsonArray Array(const QString* texts, std::size_t count) {
    QJsonArray out;
    for (std::size_t i = 0; i < count; ++i) out.append(texts[i]);
    return out;
}

template <std::size_t N>
bool Fill(const QJsonValue& value, std::array<QString, N>& texts) {
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != static_cast<qsizetype>(N)) return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (!array[static_cast<qsizetype>(i)].isString()) return false;
        texts[i] = array[static_cast<qsizetype>(i)].toString();
    }
    return true;
}

template <std::size_t N>
bool FillRows(const QJsonValue& value, std::vector<std::array<QString, N>>& rows) {
    if (!value.isArray()) return false;
    rows.clear();
    for (const QJsonValue& row : value.toArray()) {
        rows.emplace_back();
        if (!Fill(row, rows.back())) return false;
    }
    return true;
}

}  // namespace

int ColumnsOf(BookTable table) {
    switch (table) {
        case BookTable::Header:
            return 2;
        case BookTable::Points:
            return point_column::Count;
        case BookTable::Distances:
            return distance_column::Count;
        default:
            return direction_column::Count;
    }
}

bool IsTypedColumn(BookTable table, int column) {
    switch (table) {
        case BookTable::Header:
            return column == book_header::kValueColumn;
        case BookTable::Points:
            return column > point_column::Letter && column < point_column::Count;
        case BookTable::Distances:
            return column >= 0 && column < distance_column::kTyped;
        default:
            return column >= 0 && column < direction_column::kTyped;
    }
}

int RowsOf(const FieldBookCells& cells, BookTable table) {
    switch (table) {
        case BookTable::Header:
            return book_header::Rows;
        case BookTable::Points:
            return 4;
        case BookTable::Distances:
            return static_cast<int>(cells.distances.size());
        default:
            return static_cast<int>(cells.stations[static_cast<std::size_t>(StationOf(table))].size());
    }
}

QString CellText(const FieldBookCells& cells, BookTable table, int row, int column) {
    if (row < 0 || !IsTypedColumn(table, column) || row >= RowsOf(cells, table)) return {};
    const auto r = static_cast<std::size_t>(row);
    switch (table) {
        case BookTable::Header:
            return cells.header[r];
        case BookTable::Points:
            return cells.points[r][static_cast<std::size_t>(column - 1)];
        case BookTable::Distances:
            return cells.distances[r][static_cast<std::size_t>(column)];
        default:
            return cells
                .stations[static_cast<std::size_t>(StationOf(table))][r][static_cast<std::size_t>(column)];
    }
}

void SetCellText(FieldBookCells& cells, BookTable table, int row, int column, const QString& text) {
    if (row < 0 || !IsTypedColumn(table, column)) return;
    const auto r = static_cast<std::size_t>(row);
    switch (table) {
        case BookTable::Header:
            if (r < cells.header.size()) cells.header[r] = text;
            return;
        case BookTable::Points:
            if (r < 4) cells.points[r][static_cast<std::size_t>(column - 1)] = text;
            return;
        case BookTable::Distances:
            if (cells.distances.size() <= r) cells.distances.resize(r + 1);
            cells.distances[r][static_cast<std::size_t>(column)] = text;
            DropEmptyEnd(cells.distances);
            return;
        default: {
            auto& rows = cells.stations[static_cast<std::size_t>(StationOf(table))];
            if (rows.size() <= r) rows.resize(r + 1);
            rows[r][static_cast<std::size_t>(column)] = text;
            DropEmptyEnd(rows);
        }
    }
}

BookLines LinesOfCells(const FieldBookCells& cells) {
    BookLines out;
    LineWriter w(out);
    WriteHeader(cells, w);
    for (int point = 0; point < 4; ++point) WriteStation(cells, point, w);
    WriteDistances(cells, w);
    return out;
}

FieldBookCells CellsOfBook(const FieldBook& book) {
    using namespace book_header;
    FieldBookCells cells;
    auto& h = cells.header;
    h[Tolerance] = Text(book.tolerance);
    h[Theodolite] = Text(book.theodolite);
    h[OrderClass] = QString::fromStdString(book.orderClass);
    auto pair = [](const auto& values, QString& a, QString& b) {
        if (!values) return;
        a = Text((*values)[0]);
        b = Text((*values)[1]);
    };
    pair(book.edm, h[EdmA], h[EdmB]);
    pair(book.constants, h[ConstantK], h[ConstantR]);
    pair(book.atmosphere, h[AtmosphereA], h[AtmosphereB]);
    pair(book.orient, h[OrientT0], h[OrientQ1]);
    h[Surface] = Text(book.surface);
    h[Projection] = book.projection ? QStringLiteral("1") : QString();
    for (std::size_t p = 0; p < 4; ++p) {
        const FieldPoint& point = book.points[p];
        if (!point.given) continue;
        cells.points[p] = {QString::fromStdString(point.name), Text(point.x), Text(point.y),
                           Text(point.height)};
    }
    for (const FieldStation& station : book.stations) {
        auto& rows = cells.stations.at(static_cast<std::size_t>(station.point));
        for (std::size_t s = 0; s < station.sets.size(); ++s) {
            const FieldSet& set = station.sets[s];
            for (std::size_t l = 0; l < set.lines.size(); ++l) {
                const FieldDirectionLine& line = set.lines[l];
                rows.push_back({l == 0 ? QString::number(s + 1) : QString(), Letter(line.target),
                                Text(line.left), Text(line.right)});
            }
            // A set without lines still starts here.
            if (set.lines.empty()) rows.push_back({QString::number(s + 1), {}, {}, {}});
        }
    }
    using namespace distance_column;
    for (const FieldDistance& distance : book.distances) {
        const std::size_t first = cells.distances.size();
        const std::size_t count = std::max<std::size_t>(1, distance.sets.size());
        cells.distances.resize(first + count);
        DistanceRow& head = cells.distances[first];
        head[From] = Letter(distance.from);
        head[To] = Letter(distance.to);
        for (std::size_t s = 0; s < distance.sets.size(); ++s) {
            for (std::size_t k = 0; k < distance.sets[s].size() && k < 4; ++k) {
                cells.distances[first + s][Reading1 + k] = Text(distance.sets[s][k]);
            }
        }
        if (distance.zenith) pair(distance.zenith, head[ZenithLeft], head[ZenithRight]);
        if (distance.heights) pair(distance.heights, head[InstrumentHeight], head[ReflectorHeight]);
        if (distance.met) pair(distance.met, head[Temperature], head[Pressure]);
    }
    return cells;
}

std::string CellsJson(const FieldBookCells& cells) {
    QJsonObject root;
    root[QStringLiteral("header")] = Array(cells.header.data(), cells.header.size());
    QJsonArray points;
    for (const auto& p : cells.points) points.append(Array(p.data(), p.size()));
    root[QStringLiteral("points")] = points;
    QJsonArray stations;
    for (const auto& rows : cells.stations) {
        QJsonArray table;
        for (const DirectionRow& row : rows) table.append(Array(row.data(), row.size()));
        stations.append(table);
    }
    root[QStringLiteral("stations")] = stations;
    QJsonArray distances;
    for (const DistanceRow& row : cells.distances) distances.append(Array(row.data(), row.size()));
    root[QStringLiteral("distances")] = distances;
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

bool ReadCellsJson(const std::string& bytes, FieldBookCells& cells) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return false;
    const QJsonObject root = document.object();
    FieldBookCells read;
    if (!Fill(root[QStringLiteral("header")], read.header)) return false;
    const QJsonArray points = root[QStringLiteral("points")].toArray();
    if (points.size() != 4) return false;
    for (qsizetype p = 0; p < 4; ++p) {
        if (!Fill(points[p], read.points[static_cast<std::size_t>(p)])) return false;
    }
    const QJsonArray stations = root[QStringLiteral("stations")].toArray();
    if (stations.size() != 4) return false;
    for (qsizetype s = 0; s < 4; ++s) {
        if (!FillRows(stations[s], read.stations[static_cast<std::size_t>(s)])) return false;
    }
    if (!FillRows(root[QStringLiteral("distances")], read.distances)) return false;
    cells = std::move(read);
    return true;
}

}  // namespace korvanet
