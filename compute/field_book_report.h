// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reduced field book as a document (report/adjustment_document.h): the
// computation sheet the batch tool prints (--fieldbook) and the field
// sections that open the adjustment report of a figure that came from a
// field book.  Every figure is written here once, for every writer.
//
// The computation sheet: 水平方向观测记录计算 (each station's sets: 测回,
// 目标, 盘左, 盘右, 2C, 平均读数, 归零方向值, 各测回平均方向值, and the 测回法
// angles), 测距记录与归算 (each record's step by step, then the sides with
// their forward-back differences and the projection distortion), 限差检核
// (every check, its limit and verdict), 作业 (the job, or what it lacks).
//
// The report's field sections: 水平方向观测手簿 and 测距记录与归算, with the
// checks of each beside its values.

#include <string>
#include <vector>

#include "compute/field_book_run.h"
#include "report/adjustment_document.h"

namespace korvanet {

// The computation sheet of `run`, titled with the book's name as given.
AdjustmentDocument FieldBookDocument(const FieldBookRun& run, const std::string& bookName);

// The two field sections of the adjustment report.
std::vector<DocumentSection> FieldBookReportSections(const FieldBookRun& run);

}  // namespace korvanet
