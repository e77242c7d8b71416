// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys of a spreadsheet over a table, for the observation sheet and the
// field book alike: Enter on a cell (or in its editor, once the value is
// confirmed) goes on to the next value to type, Delete empties the selected
// cells, Ctrl+V and Ctrl+C paste and copy, Tab leaves the table (from an
// editor too, the value confirmed), and a Chinese character typed on a cell
// opens its editor and goes into it.  What the next value is, and what
// pasting and emptying do, is each table's own.

#include <QTableView>

namespace korvanet {

class SpreadsheetView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // The current cell to the next value to type (Enter's move).
    virtual void goToNextCell() = 0;

    // The selected cells (else the current one) to the clipboard, a line a
    // row and the cells separated by tabs, as a spreadsheet takes them; each
    // cell's text in `role`.
    void copyCells(int role) const;

signals:
    void pasteRequested();
    void copyRequested();
    void clearRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

}  // namespace korvanet
