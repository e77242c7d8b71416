// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/observation_sheet_model.h"

#include <QBrush>
#include <QColor>
#include <QUndoStack>

#include "app/sheet_commands.h"
#include "core/number_text.h"
#include "entry/job_layout.h"
#include "entry/value_rules.h"

namespace korvanet {
namespace {

// What each row of the job shows: its quantity and its unit.
struct RowOfSheet {
    const char* quantity;
    const char* unit;
};

// The rows are the job's answers, in their order (entry/job_layout.h).
constexpr RowOfSheet kRows[kSheetRows] = {
    {"测角中误差 σ0", "秒"},           {"A 点纵座标 Xa", "米"},    {"A 点横座标 Ya", "米"},
    {"D 点纵座标 Xd", "米"},           {"D 点横座标 Yd", "米"},    {"起始外方位角 T0", "d.mmss"},
    {"至 S(1) 边定向角 Q1", "d.mmss"}, {"A 点点名", "点名"},       {"B 点点名 (待定点)", "点名"},
    {"C 点点名 (待定点)", "点名"},     {"D 点点名", "点名"},       {"观测角 B(1)", "d.mmss"},
    {"观测角 B(2)", "d.mmss"},         {"观测角 B(3)", "d.mmss"},  {"观测角 B(4)", "d.mmss"},
    {"观测角 B(5)", "d.mmss"},         {"观测角 B(6)", "d.mmss"},  {"观测角 B(7)", "d.mmss"},
    {"观测角 B(8)", "d.mmss"},         {"观测边 S(1)  A-B", "米"}, {"观测边 S(2)  B-D", "米"},
    {"观测边 S(3)  B-C", "米"},        {"观测边 S(4)  A-C", "米"}, {"观测边 S(5)  C-D", "米"},
    {"观测边 S(6)  A-D", "米"},
};

const RowOfSheet& RowAt(int row) { return kRows[row]; }

bool IsDCoordinate(int row) {
    const FigureValue value = kJobAnswers[static_cast<std::size_t>(row)].value;
    return value == FigureValue::XOfD || value == FigureValue::YOfD;
}
bool ComesFromKnownD(int row) { return !IsAsked(kJobAnswers[static_cast<std::size_t>(row)], true); }

// Why a row is not part of the figure: short in the state column, whole in
// the tooltip.
QString NotApplicableState(int row) {
    return IsDCoordinate(row) ? QStringLiteral("不用: D 待定") : QStringLiteral("不用: D 已知");
}
QString NotApplicableReason(int row) {
    if (IsDCoordinate(row)) return QStringLiteral("D 为待定点: 不用输入, D 的座标按 0 计算");
    if (row == sheet_row::kSixthSide) return QStringLiteral("D 为已知点: 不用输入, 由 A、D 的座标推算");
    return QStringLiteral("D 为已知点: 不用输入, 由 A、D 的座标推算方位角");
}

std::string Std(const QString& text) { return text.toStdString(); }

const QColor kRefusedBackground(255, 205, 205);
const QColor kRefusedText(170, 0, 0);
const QColor kAcceptedText(0, 120, 0);

}  // namespace

ObservationSheetModel::ObservationSheetModel(QUndoStack* undo, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo) {
    judge();
}

int ObservationSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSheetRows;
}

int ObservationSheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ObservationSheetModel::quantity(int row) { return QString::fromUtf8(RowAt(row).quantity); }

bool ObservationSheetModel::applies(int row) const {
    if (IsDCoordinate(row)) return content_.dKnown;
    if (ComesFromKnownD(row)) return !content_.dKnown;
    return true;
}

QVariant ObservationSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const CellState cell = state(row);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            switch (index.column()) {
                case QuantityColumn:
                    return quantity(row);
                case ValueColumn:
                    return text(row);
                case UnitColumn:
                    return QString::fromUtf8(RowAt(row).unit);
                case StateColumn:
                    switch (cell) {
                        case CellState::NotApplicable:
                            return NotApplicableState(row);
                        case CellState::Empty:
                            return QStringLiteral("未输入");
                        case CellState::Accepted:
                            return QStringLiteral("✓");
                        case CellState::Refused:
                            return QStringLiteral("✗ 有误");
                    }
            }
            return {};
        case Qt::ToolTipRole:
            if (cell == CellState::Refused) return refusal(row);
            if (cell == CellState::NotApplicable) return NotApplicableReason(row);
            // What the prompt calls the tolerance is what the adjustment weighs by.
            if (row == sheet_row::kTolerance)
                return QStringLiteral(
                    "测角中误差 σ0: 一个观测角的先验中误差, 平差的权和整体检验都用它; "
                    "应填仪器和观测方法能达到的测角中误差, 不是规范的三角形闭合差限值");
            return quantity(row);
        case Qt::BackgroundRole:
            if (cell == CellState::Refused && index.column() == ValueColumn)
                return QBrush(kRefusedBackground);
            return {};
        case Qt::ForegroundRole:
            if (cell == CellState::Refused && index.column() != UnitColumn) return QBrush(kRefusedText);
            if (cell == CellState::Accepted && index.column() == StateColumn) return QBrush(kAcceptedText);
            return {};
        default:
            return {};
    }
}

bool ObservationSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != ValueColumn || role != Qt::EditRole) return false;
    SheetContent after = content_;
    after.texts.at(static_cast<std::size_t>(index.row())) = value.toString();
    change(after, QStringLiteral("输入%1").arg(quantity(index.row())));
    return true;
}

Qt::ItemFlags ObservationSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // A row outside the figure stays readable, greyed, with its reason.
    if (!applies(index.row())) return Qt::ItemIsSelectable;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ValueColumn) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant ObservationSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
        case QuantityColumn:
            return QStringLiteral("观测量");
        case ValueColumn:
            return QStringLiteral("输入值");
        case UnitColumn:
            return QStringLiteral("单位");
        case StateColumn:
            return QStringLiteral("状态");
        default:
            return {};
    }
}

void ObservationSheetModel::judge() {
    const std::string xd = Std(text(sheet_row::kXOfD));
    const std::string yd = Std(text(sheet_row::kYOfD));
    for (int row = 0; row < kSheetRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        refusals_[r].clear();
        if (!applies(row)) {
            states_[r] = CellState::NotApplicable;
            continue;
        }
        if (content_.texts[r].isEmpty()) {
            states_[r] = CellState::Empty;
            continue;
        }
        const std::string typed = Std(content_.texts[r]);
        const JobAnswer& answer = kJobAnswers[static_cast<std::size_t>(row)];
        Refusal refusal = CheckFigureValue(answer.value, answer.number, typed);
        // With D known, a coordinate of D typed as zero says the opposite.
        if (!refusal && IsDCoordinate(row) && ReadsAsZero(typed)) {
            refusal =
                ReadsAsZero(xd) && ReadsAsZero(yd)
                    ? std::string(
                          "已知点 D 的纵座标和横座标都是零, 表示 D 点不是已知点: 请取消 \"D 为已知点\", "
                          "再输入 T0、Q1 和第 6 条边长。")
                    : CheckHalfZeroD(xd, yd);
        }
        states_[r] = refusal ? CellState::Refused : CellState::Accepted;
        if (refusal) refusals_[r] = QString::fromStdString(*refusal);
    }
}

std::optional<int> ObservationSheetModel::firstProblem() const {
    for (int row = 0; row < kSheetRows; ++row) {
        const CellState cell = state(row);
        if (cell == CellState::Empty || cell == CellState::Refused) return row;
    }
    return std::nullopt;
}

QString ObservationSheetModel::problemMessage(int row) const {
    if (state(row) == CellState::Refused)
        return QStringLiteral("%1有误: %2").arg(quantity(row), refusal(row));
    return QStringLiteral("还没有输入%1 (第 %2 行)").arg(quantity(row)).arg(row + 1);
}

std::vector<std::string> ObservationSheetModel::job() const {
    std::vector<std::string> answers;
    answers.reserve(kSheetRows);
    std::size_t given = 0;
    for (int row = 0; row < kSheetRows; ++row) {
        if (IsDCoordinate(row) && !content_.dKnown) {
            // Zero as typed when it is zero, so a job put in comes out unchanged.
            const std::string typed = Std(text(row));
            answers.push_back(ReadsAsZero(typed) ? typed : "0");
            given = answers.size();
            continue;
        }
        if (!applies(row)) continue;
        answers.push_back(Std(text(row)));
        if (!answers.back().empty()) given = answers.size();
    }
    answers.resize(given);
    return answers;
}

SheetContent ObservationSheetModel::contentOfJob(const std::vector<std::string>& answers,
                                                 std::size_t* used) const {
    SheetContent after;
    after.dKnown = content_.dKnown;
    if (answers.size() > static_cast<std::size_t>(sheet_row::kYOfD)) {
        after.dKnown = !(ReadsAsZero(answers[sheet_row::kXOfD]) && ReadsAsZero(answers[sheet_row::kYOfD]));
    }
    std::size_t next = 0;
    for (int row = 0; row < kSheetRows && next < answers.size(); ++row) {
        const bool inFigure = IsDCoordinate(row) || (ComesFromKnownD(row) ? !after.dKnown : true);
        if (!inFigure) continue;
        after.texts[static_cast<std::size_t>(row)] = QString::fromStdString(answers[next++]);
    }
    if (used != nullptr) *used = next;
    return after;
}

SheetContent ObservationSheetModel::contentFilledFrom(int row, const std::vector<QString>& values,
                                                      std::size_t* used) const {
    SheetContent after = content_;
    std::size_t next = 0;
    for (; row < kSheetRows && next < values.size(); ++row) {
        if (!applies(row)) continue;
        after.texts[static_cast<std::size_t>(row)] = values[next++];
    }
    if (used != nullptr) *used = next;
    return after;
}

int ObservationSheetModel::nextRowOfFigure(int row) const {
    for (int next = row + 1; next < kSheetRows; ++next) {
        if (applies(next)) return next;
    }
    return row;
}

void ObservationSheetModel::change(const SheetContent& after, const QString& what) {
    if (after == content_) return;
    if (undo_ == nullptr) {
        setContent(after);
        return;
    }
    undo_->push(new SheetChangeCommand(this, content_, after, what));
}

void ObservationSheetModel::setContent(const SheetContent& content) {
    if (content == content_) return;
    content_ = content;
    judge();
    emit dataChanged(index(0, 0), index(kSheetRows - 1, ColumnCount - 1));
    emit figureChanged();
}

}  // namespace korvanet
