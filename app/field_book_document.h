// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field book in the window: its cells (app/field_book_cells.h), each
// change one step of an undo stack, and after every change the book they
// give and its reduction.  The cells are written as the lines of a book
// file and read by ReadFieldBook, the batch tool's reader: a refused line
// marks the cells it came from with the reader's reason and is left out,
// and the rest is read again, so that one slip does not hide the whole
// book's reduction.  RunFieldBook then reduces what was read; every check
// is shown in the cell of the value it judges.
//
// The cells are kept in the user's data folder on every change (written
// whole and atomically), so that a crash or a kill loses nothing typed, and
// taken from there at start.

#include <QHash>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "app/field_book_cells.h"
#include "compute/field_book_run.h"
#include "compute/order_class_table.h"

class QUndoStack;

namespace korvanet {

class FieldBookDocument : public QObject {
    Q_OBJECT
public:
    explicit FieldBookDocument(QObject* parent = nullptr);

    QUndoStack* undoStack() const { return undo_; }
    const FieldBookCells& cells() const { return cells_; }

    // Makes `after` the cells, as one step of the undo stack named `what`.
    void change(const FieldBookCells& after, const QString& what);
    // One typed cell, as one step.
    void setCell(BookTable table, int row, int column, const QString& text);
    // Makes `cells` the cells at once, outside the undo stack (what an undo
    // step itself does): reduced, kept, and `changed` emitted.
    void setCells(const FieldBookCells& cells);

    // The book read from the cells (refused lines left out) and its run.
    const FieldBook& book() const { return book_; }
    const std::optional<FieldBookRun>& run() const { return run_; }
    // The job the book gives, when it is whole and no cell is refused.
    std::optional<std::vector<std::string>> job() const;
    // What the job still lacks, in the surveyor's words; and the cells refused.
    QStringList missing() const;
    int refusedCells() const { return refusedCount_; }

    // What the reduction shows in a cell that is not typed (empty: nothing).
    QString computed(BookTable table, int row, int column) const;
    // Why a typed cell is refused (empty: it is not).
    QString refusal(BookTable table, int row, int column) const;
    // The checks shown in a cell: exceeded (red) and their texts for the tooltip.
    bool exceeded(BookTable table, int row, int column) const;
    QString checkTip(BookTable table, int row, int column) const;
    // The first refused cell, or the first exceeded check's cell.
    std::optional<CellRef> firstProblem() const;

    // The book's verdict and its first failing check, or what it lacks.
    QString statusText() const;

    // Keeps the cells in `path` from now on and takes them from there now,
    // if the file exists; a file that cannot be read is set aside.  The note
    // saying so, or empty.
    QString keepIn(const QString& path);
    // The message of the last failed keeping write (empty: none).
    QString keepingFailure() const { return keepingFailure_; }

    // Reads a .kvf book into the cells as one undo step; a refusal is thrown
    // as an InputError naming the file.
    void open(const QString& path);
    // Writes the book as a .kvf file through the checked writer; an
    // InputError when a cell is refused (the file would lose it) or the
    // write fails.
    void save(const QString& path) const;

    // A check as a tooltip says it: its kind, item and value, its limit and
    // verdict, its clause (compute/field_check_texts.h words and rounds it).
    static QString CheckTip(const FieldCheck& check);
    // The side a check of a side names ("S(4) A-C"): 4; 0 for any other.
    static int SideOf(const FieldCheck& check);

signals:
    void changed();
    // Something to tell in the status bar (a failed keeping write).
    void message(const QString& text);

private:
    struct Mark {
        QString refusal;
        std::vector<const FieldCheck*> checks;
    };
    void reduce();
    void markRefused(const CellRef& cell, const QString& why);
    void placeComputed();
    void placeChecks();
    void addCheck(const CellRef& cell, const FieldCheck& check);
    void keep();
    static quint64 Key(BookTable table, int row, int column);

    QUndoStack* undo_ = nullptr;
    FieldBookCells cells_;
    OrderClassTable classes_;
    FieldBook book_;
    std::optional<FieldBookRun> run_;
    QHash<quint64, QString> computed_;
    QHash<quint64, Mark> marks_;
    std::vector<CellRef> problems_;  // refused cells, then exceeded checks' cells, in the book's order
    int refusedCount_ = 0;
    QString generalRefusal_;  // a refusal of the whole book that names no line

    // Where each surviving line of the book went: the rows of the sets and
    // the records, for placing what the reduction gives.
    struct SetRows {
        int point = 0;
        int set = 0;            // index of the set at its station
        std::vector<int> rows;  // the table rows of its lines, in order
        int angle = 0;          // 测回法: the angle it measures (0: a set of directions)
        int occurrence = 0;     // 测回法: which set of that angle
    };
    std::vector<SetRows> setRows_;
    std::vector<int> recordRows_;  // the first row of each distance record read, in the book's order

    QString keptPath_;
    std::string keptBytes_;
    QString keepingFailure_;
};

}  // namespace korvanet
