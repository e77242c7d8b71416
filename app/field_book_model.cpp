// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_book_model.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QColor>
#include <QKeyEvent>
#include <QRegularExpression>
#include <algorithm>

#include "adjust/quadrilateral.h"
#include "app/field_book_document.h"
#include "app/observation_sheet.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

// Rows beyond the last typed one: room to type the next set or record.
constexpr int kSpareRows = 8;

const QColor kRefusedBackground(255, 205, 205);
const QColor kAlarmText(Qt::red);
const QColor kComputedBackground(240, 240, 240);
const QColor kDefaultText(130, 130, 130);

const char* const kHeaderNames[book_header::Rows] = {
    "测角中误差 σ0 (″)",
    "经纬仪等级 (1, 2, 6″)",
    "等级",
    "测距仪 a (mm)",
    "测距仪 b (mm/km)",
    "加常数 K (mm)",
    "乘常数 R (mm/km)",
    "气象公式 A",
    "气象公式 B",
    "归算高程面 H_P (m)",
    "投影到高斯平面",
    "起始方位角 T0 (d.mmss)",
    "定向角 Q1 (d.mmss)",
};

const char* const kHeaderTips[book_header::Rows] = {
    "平差用的测角中误差; 不填时取等级的测角中误差 m_β",
    "1, 2 或 6 (秒); 不填为 2",
    "等级表中的等级 (如 四等, 一级); 填了才按其限差检核",
    "测距仪标称精度 a + b·D 的 a; 不填为 5 5",
    "测距仪标称精度 a + b·D 的 b",
    "加常数 K; 不填为 0 0",
    "乘常数 R",
    "仪器的气象改正公式 ppm = A − B·p / (1 + 0.003661·t); 不填为 281.8 0.29065",
    "气象改正公式的 B",
    "把边长归算到这个高程面 (需要两端点的高程)",
    "把边长归算到高斯平面 (按空格键或单击切换)",
    "D 为待定点时的起始外方位角",
    "D 为待定点时至 S(1) 边的定向角",
};

QString DirectionColumnName(int column) {
    switch (column) {
        case direction_column::Set:
            return QStringLiteral("测回");
        case direction_column::Target:
            return QStringLiteral("目标");
        case direction_column::Left:
            return QStringLiteral("盘左");
        case direction_column::Right:
            return QStringLiteral("盘右");
        case direction_column::TwoC:
            return QStringLiteral("2C (″)");
        case direction_column::Mean:
            return QStringLiteral("平均读数");
        case direction_column::Reduced:
            return QStringLiteral("归零方向值");
        case direction_column::StationMean:
            return QStringLiteral("各测回平均方向值");
        case direction_column::Spread:
            return QStringLiteral("各测回较差 (″)");
        default:
            return QStringLiteral("检核");
    }
}

const char* const kDistanceNames[distance_column::Count] = {
    "测站",     "镜站",     "读数1",    "读数2", "读数3",    "读数4",    "竖盘左",
    "竖盘右",   "仪器高",   "棱镜高",   "温度",  "气压",     "平均斜距", "读数较差",
    "测回较差", "常数改正", "气象改正", "平距",  "高程归化", "投影改正", "归算平距",
};

// What each column of the distance records holds, with its unit.
const char* const kDistanceTips[distance_column::Count] = {
    "测站: 填了测站和镜站的一行开始一条测距记录; 下面不填测站的各行是它的其余测回",
    "镜站 (反射棱镜所在的点)",
    "一测回的斜距读数 (m), 二至四个",
    "一测回的斜距读数 (m)",
    "一测回的斜距读数 (m)",
    "一测回的斜距读数 (m)",
    "盘左天顶距读数 (d.mmss); 或者填仪器高和棱镜高",
    "盘右天顶距读数 (d.mmss)",
    "仪器高 (m), 与两端点的高程一起求平距",
    "棱镜高 (m)",
    "温度 (°C)",
    "气压 (hPa)",
    "各测回平均斜距 S (m)",
    "一测回内读数的最大较差 (mm)",
    "各测回平均值的较差 (mm)",
    "加常数和乘常数改正 K + R·S (mm)",
    "气象改正 S2 − S1 (mm)",
    "水平距离 D (m)",
    "归算到高程面的改正 D_H − D (mm)",
    "归算到高斯平面的改正 D_g − D_H (mm)",
    "归算后的平距 (m)",
};

// What an empty instrument cell stands for: the book's default.
QString DefaultOf(int row) {
    const FieldInstruments defaults = InstrumentsOf(FieldBook());
    auto text = [](double value) { return QString::fromStdString(ShortestText(value)); };
    switch (row) {
        case book_header::Theodolite:
            return QString::number(defaults.theodolite);
        case book_header::EdmA:
            return text(defaults.edmA);
        case book_header::EdmB:
            return text(defaults.edmB);
        case book_header::ConstantK:
            return text(defaults.constantK);
        case book_header::ConstantR:
            return text(defaults.constantR);
        case book_header::AtmosphereA:
            return text(defaults.atmosphereA);
        case book_header::AtmosphereB:
            return text(defaults.atmosphereB);
        default:
            return {};
    }
}

QString ColumnTip(BookTable table, int column) {
    if (table == BookTable::Distances) return QString::fromUtf8(kDistanceTips[column]);
    if (IsStationTable(table)) {
        switch (column) {
            case direction_column::Set:
                return QStringLiteral(
                    "填了测回号的一行开始一个测回; 下面各行是它的方向, 最后可以再照准起始方向归零");
            case direction_column::Left:
            case direction_column::Right:
                return QStringLiteral("水平度盘读数 d.mmss (如 60.2336 为 60°23′36″)");
            case direction_column::TwoC:
                return QStringLiteral("2C = 盘左 − (盘右 ± 180°), 秒");
            case direction_column::Mean:
                return QStringLiteral("平均读数 = 盘左 − 2C/2; 测回法: 上、下半测回角值");
            case direction_column::Reduced:
                return QStringLiteral("归零方向值; 测回法: 一测回角值");
            case direction_column::StationMean:
                return QStringLiteral("各测回平均方向值; 测回法: 各测回平均角值");
            default:
                return {};
        }
    }
    return {};
}

}  // namespace

BookTableModel::BookTableModel(FieldBookDocument* document, BookTable table, QObject* parent)
    : QAbstractTableModel(parent), document_(document), table_(table) {
    rows_ = wantedRows();
    connect(document_, &FieldBookDocument::changed, this, &BookTableModel::follow);
}

int BookTableModel::wantedRows() const {
    const int rows = RowsOf(document_->cells(), table_);
    if (table_ == BookTable::Header || table_ == BookTable::Points) return rows;
    return rows + kSpareRows;
}

void BookTableModel::follow() {
    const int wanted = wantedRows();
    if (wanted > rows_) {
        beginInsertRows({}, rows_, wanted - 1);
        rows_ = wanted;
        endInsertRows();
    } else if (wanted < rows_) {
        beginRemoveRows({}, wanted, rows_ - 1);
        rows_ = wanted;
        endRemoveRows();
    }
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

int BookTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int BookTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnsOf(table_);
}

QString BookTableModel::ColumnName(BookTable table, int column) {
    switch (table) {
        case BookTable::Header:
            return column == 0 ? QStringLiteral("项目") : QStringLiteral("数值");
        case BookTable::Points: {
            static const char* const names[] = {"点", "点名", "纵座标 X (m)", "横座标 Y (m)", "高程 H (m)"};
            return QString::fromUtf8(names[column]);
        }
        case BookTable::Distances:
            return QString::fromUtf8(kDistanceNames[column]);
        default:
            return DirectionColumnName(column);
    }
}

QVariant BookTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const int column = index.column();
    const bool typed = IsTypedColumn(table_, column);
    const bool projection = table_ == BookTable::Header && row == book_header::Projection && typed;
    const QString refused = typed ? document_->refusal(table_, row, column) : QString();
    const bool defaulted = table_ == BookTable::Header && typed && !projection &&
                           document_->cells().header[static_cast<std::size_t>(row)].isEmpty() &&
                           !DefaultOf(row).isEmpty();
    switch (role) {
        case Qt::DisplayRole:
            if (defaulted) return QStringLiteral("(默认 %1)").arg(DefaultOf(row));
            [[fallthrough]];
        case Qt::EditRole:
            if (table_ == BookTable::Header && column == 0) return QString::fromUtf8(kHeaderNames[row]);
            if (table_ == BookTable::Points && column == point_column::Letter)
                return QString::fromLatin1(quadrilateral::kPointLetters.at(static_cast<std::size_t>(row)));
            if (projection)
                return document_->cells().header[book_header::Projection].isEmpty() ? QStringLiteral("否")
                                                                                    : QStringLiteral("是");
            return typed ? CellText(document_->cells(), table_, row, column)
                         : document_->computed(table_, row, column);
        case Qt::CheckStateRole:
            if (projection)
                return document_->cells().header[book_header::Projection].isEmpty() ? Qt::Unchecked
                                                                                    : Qt::Checked;
            return {};
        case Qt::ToolTipRole: {
            if (!refused.isEmpty()) return refused;
            const QString checks = document_->checkTip(table_, row, column);
            if (!checks.isEmpty()) return checks;
            if (table_ == BookTable::Header) return QString::fromUtf8(kHeaderTips[row]);
            const QString tip = ColumnTip(table_, column);
            return tip.isEmpty() ? QVariant() : QVariant(tip);
        }
        case Qt::ForegroundRole:
            if (!refused.isEmpty() || document_->exceeded(table_, row, column)) return QBrush(kAlarmText);
            if (defaulted) return QBrush(kDefaultText);
            return {};
        case Qt::BackgroundRole:
            if (!refused.isEmpty()) return QBrush(kRefusedBackground);
            if (!typed && !(table_ == BookTable::Header || table_ == BookTable::Points))
                return QBrush(kComputedBackground);
            return {};
        case Qt::TextAlignmentRole:
            if (!typed && IsStationTable(table_) && column == direction_column::Check) return {};
            if (!typed && table_ != BookTable::Header && table_ != BookTable::Points)
                return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

bool BookTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !IsTypedColumn(table_, index.column())) return false;
    const bool projection = table_ == BookTable::Header && index.row() == book_header::Projection;
    if (projection && role == Qt::CheckStateRole) {
        const bool on = value.toInt() == Qt::Checked;
        FieldBookCells after = document_->cells();
        after.header[book_header::Projection] = on ? QStringLiteral("1") : QString();
        document_->change(after, on ? QStringLiteral("投影到高斯平面") : QStringLiteral("不投影"));
        return true;
    }
    if (projection || role != Qt::EditRole) return false;
    document_->setCell(table_, index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags BookTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsTypedColumn(table_, index.column())) return flags;
    if (table_ == BookTable::Header && index.row() == book_header::Projection)
        return flags | Qt::ItemIsUserCheckable;
    return flags | Qt::ItemIsEditable;
}

QVariant BookTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (role == Qt::DisplayRole) return ColumnName(table_, section);
    if (role == Qt::ToolTipRole) {
        const QString tip = ColumnTip(table_, section);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    return {};
}

BookView::BookView(BookTableModel* model, QWidget* parent) : SpreadsheetView(parent), model_(model) {
    setModel(model);
    connect(this, &SpreadsheetView::pasteRequested, this,
            [this] { pasteText(QApplication::clipboard()->text()); });
    connect(this, &SpreadsheetView::copyRequested, this, &BookView::copySelected);
    connect(this, &SpreadsheetView::clearRequested, this, &BookView::clearSelected);
    setItemDelegate(new SheetDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    // Tab leaves the table; Enter and the arrows move in it.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFocusPolicy(Qt::StrongFocus);
    const BookTable table = model->table();
    int first = 0;
    while (!IsTypedColumn(table, first)) ++first;
    setCurrentIndex(model->index(0, first));
}

void BookView::goToNextCell() {
    const BookTable table = model_->table();
    QModelIndex at = currentIndex();
    int row = at.isValid() ? at.row() : 0;
    int column = at.isValid() ? at.column() : 0;
    do {
        ++column;
        if (column >= model_->columnCount()) {
            column = 0;
            if (row + 1 < model_->rowCount()) ++row;
        }
    } while (!IsTypedColumn(table, column) || (table == BookTable::Header && row == book_header::Projection &&
                                               column != book_header::kValueColumn));
    setCurrentIndex(model_->index(row, column));
}

void BookView::pasteText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    const QModelIndex at = currentIndex();
    if (lines.isEmpty() || !at.isValid()) return;
    const BookTable table = model_->table();
    FieldBookCells after = model_->document()->cells();
    int row = at.row();
    int filled = 0;
    for (QString line : std::as_const(lines)) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        QStringList values;
        if (line.contains(QLatin1Char('\t'))) {
            values = line.split(QLatin1Char('\t'));
        } else if (line.contains(QLatin1Char(','))) {
            values = line.split(QLatin1Char(','));
        } else {
            // A line of a book file or of a text: its values between blanks.
            values = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        }
        int column = at.column();
        for (const QString& value : std::as_const(values)) {
            while (column < model_->columnCount() && !IsTypedColumn(table, column)) ++column;
            if (column >= model_->columnCount()) break;
            if (table == BookTable::Header && row >= book_header::Rows) break;
            if (table == BookTable::Points && row >= 4) break;
            SetCellText(after, table, row, column, value.trimmed());
            ++filled;
            ++column;
        }
        ++row;
    }
    model_->document()->change(after, QStringLiteral("粘贴 %1 个数值").arg(filled));
}

void BookView::clearSelected() {
    const BookTable table = model_->table();
    FieldBookCells after = model_->document()->cells();
    QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty() && currentIndex().isValid()) selected.append(currentIndex());
    // From the bottom up, so that a table losing its empty end rows keeps the rest in place.
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return b < a; });
    for (const QModelIndex& index : std::as_const(selected)) {
        if (table == BookTable::Header && index.row() == book_header::Projection) continue;
        if (IsTypedColumn(table, index.column()))
            SetCellText(after, table, index.row(), index.column(), QString());
    }
    model_->document()->change(after, QStringLiteral("删除"));
}

void BookView::copySelected() { copyCells(Qt::EditRole); }

}  // namespace korvanet
