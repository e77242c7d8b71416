// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The observation sheet (观测数据): the whole figure in one table beside the
// form, typed like a spreadsheet.  Enter confirms a cell and goes on to the
// next value of the figure; the arrow keys move as in a spreadsheet, Tab
// leaves the table for the buttons; Delete empties the selected cells.  Pasted text (a column or row copied
// from a spreadsheet, lines of a job file, values separated by tabs or
// commas) fills the cells of the figure from the current one on; pasted at
// the first row, a whole job fills the sheet and sets the switch of D.
// Every change is one step of the sheet's undo stack.
//
// The sheet knows nothing of the form: the window adjusts the figure when
// the model says it changed.

#include <QString>
#include <QStyledItemDelegate>
#include <QWidget>
#include <string>
#include <vector>

#include "app/spreadsheet_view.h"
#include "compute/order_class_table.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QUndoStack;

namespace korvanet {

class ObservationSheetModel;

// Enter in a cell's editor confirms the value at once (Qt's own delegate
// waits for the next turn of the event loop).
class SheetDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
};

// The table: the keys of a spreadsheet (app/spreadsheet_view.h) over the
// sheet's model; Enter goes on to the next value of the figure.
class SheetView : public SpreadsheetView {
    Q_OBJECT
public:
    using SpreadsheetView::SpreadsheetView;

    void goToNextCell() override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
};

class ObservationSheet : public QWidget {
    Q_OBJECT
public:
    explicit ObservationSheet(QWidget* parent = nullptr);

    ObservationSheetModel* model() const { return model_; }
    SheetView* view() const { return view_; }
    QUndoStack* undoStack() const { return undo_; }
    QCheckBox* dKnownSwitch() const { return dKnown_; }
    QLabel* jobLabel() const { return jobLabel_; }
    // 等级: the order class the figure is meant for, none by default; the one
    // choice the quality window offers too.
    QComboBox* classChoice() const { return classChoice_; }

    // Puts a whole job in the sheet as one step named `what`; the number of
    // answers that found no row.
    std::size_t putJob(const std::vector<std::string>& answers, const QString& what);
    // Shows which job the sheet holds and whether it differs from its file.
    void showJob(const QString& name, bool modified);
    // Keyboard focus to the current cell (the first when there is none).
    void focusTable();

    // Splits pasted text into values: one line after another, each line
    // split at tabs, or else at commas (each such value trimmed).
    static std::vector<QString> PastedValues(const QString& text);

public slots:
    void paste();
    void copy();
    void clearSelection();

protected:
    void changeEvent(QEvent* event) override;

signals:
    // Something to tell the surveyor in the status bar.
    void message(const QString& text);

private:
    void switchD(bool known);
    // Column widths and row heights for the font the sheet is shown in.
    void measure();
    void followSwitch();
    // A class chosen: its angle mean error m_beta, when it gives one, becomes
    // the tolerance, as one step that undo takes back: at once in an empty
    // cell, after asking over a value the surveyor typed.
    void chooseClass(int index);

    QUndoStack* undo_ = nullptr;
    ObservationSheetModel* model_ = nullptr;
    SheetView* view_ = nullptr;
    QCheckBox* dKnown_ = nullptr;
    QLabel* jobLabel_ = nullptr;
    QComboBox* classChoice_ = nullptr;
    OrderClassTable classes_;
};

}  // namespace korvanet
