// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables of figures the windows show and nobody edits (the quality
// window's observations and points, the precision summary's sides, ellipses
// and class checks): no editing, no selection, no row numbers, each table
// just as tall as its rows, since the window scrolls as a whole.  Text
// columns are left-aligned, figures right-aligned so that their digits line
// up.

#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>
#include <initializer_list>
#include <vector>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace korvanet {

QTableWidget* ReadOnlyTable(const QStringList& header, QWidget* parent);

// Sets a cell's text, making its item only once: a window that follows
// every edit of the sheet would otherwise have the whole table measured
// again.  True when the text grew longer, so the column may need widening.
bool SetReadOnlyCell(QTableWidget* table, int row, int column, const QString& text, Qt::Alignment alignment);

// Makes the table just tall enough for its rows; measures the columns again
// only when asked (some text grew).
void FitReadOnlyTable(QTableWidget* table, bool measureColumns);

// Marks one cell (bold, coloured) as its row of figures asks.
using ReadOnlyCellStyle = std::function<void(int row, int column, QTableWidgetItem* item)>;

// The whole table anew: `rows` as they are, the columns in `textColumns`
// left-aligned and the others right-aligned; each cell given to `style`
// (when there is one) before the table is fitted, so that the columns are
// measured once, bold text included.
void FillReadOnlyTable(QTableWidget* table, const std::vector<QStringList>& rows,
                       std::initializer_list<int> textColumns, const ReadOnlyCellStyle& style = {});

}  // namespace korvanet
