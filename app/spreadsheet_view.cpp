// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/spreadsheet_view.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>

namespace korvanet {

void SpreadsheetView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    if (state() != EditingState) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            goToNextCell();
            return;
        }
        if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
            emit clearRequested();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

// A Chinese character typed on a cell that is not being edited (the input
// method commits it, or shows it while composing) opens the cell's editor
// and goes into it, as a Latin key does; Qt 6.4's view would open the editor
// and drop the character.
void SpreadsheetView::inputMethodEvent(QInputMethodEvent* event) {
    const bool typed = !event->commitString().isEmpty() || !event->preeditString().isEmpty();
    if (state() != EditingState && typed && edit(currentIndex(), AnyKeyPressed, event)) {
        if (QWidget* editor = indexWidget(currentIndex())) {
            QCoreApplication::sendEvent(editor, event);
            return;
        }
    }
    QTableView::inputMethodEvent(event);
}

// Enter in an editor (which the delegate reports as submitting the cell)
// confirms the value and moves on to the next value; Tab in an editor
// confirms the value and leaves the table, as Tab does on a cell (Shift+Tab
// the other way).
void SpreadsheetView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool confirmed = hint == QAbstractItemDelegate::SubmitModelCache;
    const bool leaving =
        hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, confirmed || leaving ? QAbstractItemDelegate::NoHint : hint);
    if (confirmed) goToNextCell();
    if (leaving) QTableView::focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void SpreadsheetView::copyCells(int role) const {
    QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty() && currentIndex().isValid()) selected.append(currentIndex());
    std::sort(selected.begin(), selected.end());
    QStringList lines;
    int lastRow = -1;
    for (const QModelIndex& index : std::as_const(selected)) {
        const QString cell = index.data(role).toString();
        if (index.row() == lastRow) {
            lines.back() += QLatin1Char('\t') + cell;
        } else {
            lines.append(cell);
        }
        lastRow = index.row();
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

}  // namespace korvanet
