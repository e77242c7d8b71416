// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/read_only_table.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

namespace korvanet {

QTableWidget* ReadOnlyTable(const QStringList& header, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(header.size()), parent);
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->setVisible(false);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

bool SetReadOnlyCell(QTableWidget* table, int row, int column, const QString& text, Qt::Alignment alignment) {
    QTableWidgetItem* item = table->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment);
        table->setItem(row, column, item);
        return true;
    }
    const bool longer = text.size() > item->text().size();
    if (item->text() != text) item->setText(text);
    return longer;
}

void FitReadOnlyTable(QTableWidget* table, bool measureColumns) {
    if (measureColumns) table->resizeColumnsToContents();
    // A header on screen has its height already; asked for its size, it
    // would measure every heading again after each changed cell.
    const QHeaderView* header = table->horizontalHeader();
    int height =
        (header->isVisible() ? header->height() : header->sizeHint().height()) + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) height += table->rowHeight(r);
    table->setFixedHeight(height);
}

void FillReadOnlyTable(QTableWidget* table, const std::vector<QStringList>& rows,
                       std::initializer_list<int> textColumns, const ReadOnlyCellStyle& style) {
    bool grew = table->rowCount() != static_cast<int>(rows.size());
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            const bool text = std::find(textColumns.begin(), textColumns.end(), c) != textColumns.end();
            grew |=
                SetReadOnlyCell(table, r, c, rows[r][c],
                                text ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (style) style(r, c, table->item(r, c));
        }
    // A cell made bold may be wider than its text alone.
    FitReadOnlyTable(table, grew || style);
}

}  // namespace korvanet
