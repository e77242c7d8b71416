// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The observation sheet's data: the whole figure as one table, one row per
// value in the order the prompts ask them (the tolerance, A, D, T0 and Q1,
// the four names, the eight angles, the six sides).  The switch "D 为已知点"
// decides which rows belong to the figure: with D known, T0, Q1 and S(6)
// come from the coordinates of A and D; with D determined, its coordinates
// are 0.  Each cell is judged, whenever anything changes, by the rule its
// prompt applies (entry/value_rules).
//
// The content is the job in hand: job() gives the answers in prompt order,
// as a job file holds them.  Every change goes through the undo stack the
// model is given, so that each edit, paste, switch and job loaded can be
// undone.

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "entry/job_layout.h"

class QUndoStack;

namespace korvanet {

// One row for every answer a job can hold.
inline constexpr int kSheetRows = static_cast<int>(kJobAnswers.size());

// Row numbers of the sheet: the places of the values in a job.
namespace sheet_row {
constexpr int RowOf(FigureValue value) { return static_cast<int>(PlaceOf(value)); }
inline constexpr int kTolerance = RowOf(FigureValue::Tolerance);
inline constexpr int kXOfA = RowOf(FigureValue::XOfA);
inline constexpr int kYOfA = RowOf(FigureValue::YOfA);
inline constexpr int kXOfD = RowOf(FigureValue::XOfD);
inline constexpr int kYOfD = RowOf(FigureValue::YOfD);
inline constexpr int kAzimuthT0 = RowOf(FigureValue::AzimuthT0);
inline constexpr int kOrientationQ1 = RowOf(FigureValue::OrientationQ1);
inline constexpr int kFirstName = RowOf(FigureValue::PointName);       // A, B, C, D
inline constexpr int kFirstAngle = RowOf(FigureValue::ObservedAngle);  // B(1)..B(8)
inline constexpr int kFirstSide = RowOf(FigureValue::ObservedSide);    // S(1)..S(6)
inline constexpr int kSixthSide = kFirstSide + 5;
}  // namespace sheet_row

// Everything the sheet holds: what undo brings back.
struct SheetContent {
    std::array<QString, kSheetRows> texts;
    bool dKnown = true;
    bool operator==(const SheetContent&) const = default;
};

class ObservationSheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { QuantityColumn, ValueColumn, UnitColumn, StateColumn, ColumnCount };
    enum class CellState { NotApplicable, Empty, Accepted, Refused };

    // Edits are pushed onto `undo` (may be null: applied directly).
    explicit ObservationSheetModel(QUndoStack* undo, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const SheetContent& content() const { return content_; }
    bool dKnown() const { return content_.dKnown; }
    QString text(int row) const { return content_.texts.at(static_cast<std::size_t>(row)); }
    // Whether the row is part of the figure under the switch.
    bool applies(int row) const;
    CellState state(int row) const { return states_.at(static_cast<std::size_t>(row)); }
    // Why the cell's value is refused (empty when it is not).
    QString refusal(int row) const { return refusals_.at(static_cast<std::size_t>(row)); }
    // The quantity in the surveyor's words, as the first column shows it.
    static QString quantity(int row);

    // The first row of the figure that is empty or refused; nothing when
    // every row of the figure holds a value its rule accepts.
    std::optional<int> firstProblem() const;
    // What the status bar says about that row.
    QString problemMessage(int row) const;

    // The answers of the figure in prompt order, as a job file holds them:
    // with D determined its coordinates are 0; empty rows at the end are left
    // out, empty rows before a value stay as empty answers.
    std::vector<std::string> job() const;
    // The content that holds `answers` (a job in prompt order); the switch
    // follows the coordinates of D when the job reaches them.  `used` gets
    // how many answers found a row.
    SheetContent contentOfJob(const std::vector<std::string>& answers, std::size_t* used = nullptr) const;
    // The content with `values` in the rows of the figure from `row` on,
    // one row each.  `used` gets how many found a row.
    SheetContent contentFilledFrom(int row, const std::vector<QString>& values, std::size_t* used) const;

    // The next row of the figure after `row`, or `row` itself at the end.
    int nextRowOfFigure(int row) const;

    // Makes `after` the content, as one step of the undo stack named `what`.
    void change(const SheetContent& after, const QString& what);
    // Makes `content` the content at once, outside the undo stack (what an
    // undo step itself does).
    void setContent(const SheetContent& content);

signals:
    // The figure changed: a value, or the switch.
    void figureChanged();

private:
    void judge();

    QUndoStack* undo_;
    SheetContent content_;
    std::array<CellState, kSheetRows> states_{};
    std::array<QString, kSheetRows> refusals_;
};

}  // namespace korvanet
