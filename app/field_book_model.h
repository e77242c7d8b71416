// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One table of the field book window over the book's document: the typed
// cells as the surveyor wrote them, the reduction's cells beside them (read
// only, on a grey ground), red where a cell is refused or a value exceeds
// its limit, with the reason or the limit in its tooltip.  The view types
// like the observation sheet: Enter confirms and goes on to the next typed
// cell, Delete empties the selection, a pasted column or block fills the
// typed cells from the current one, Tab leaves the table.

#include <QAbstractTableModel>

#include "app/field_book_cells.h"
#include "app/spreadsheet_view.h"

namespace korvanet {

class FieldBookDocument;

class BookTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    BookTableModel(FieldBookDocument* document, BookTable table, QObject* parent = nullptr);

    BookTable table() const { return table_; }
    FieldBookDocument* document() const { return document_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The headings of the table's columns.
    static QString ColumnName(BookTable table, int column);

private:
    // The document changed: rows in or out at the end, every cell again.
    void follow();
    int wantedRows() const;

    FieldBookDocument* document_;
    BookTable table_;
    int rows_ = 0;
};

class BookView : public SpreadsheetView {
    Q_OBJECT
public:
    explicit BookView(BookTableModel* model, QWidget* parent = nullptr);

    BookTableModel* bookModel() const { return model_; }
    // Fills the typed cells from the current one with `text` (lines of
    // values split at tabs, else at commas), as one undo step.
    void pasteText(const QString& text);
    void clearSelected();
    // The current cell to the next typed cell of the book (Enter's move).
    void goToNextCell() override;

private:
    void copySelected();
    BookTableModel* model_;
};

}  // namespace korvanet
