// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (平差报告) of a completed run, and the precision
// report (精度估算) of a design, as a document (report/adjustment_document.h)
// for the writers: HTML and CSV without Qt, ODT through Qt.
//
// Sections, in this order: 概况, 闭合差, 观测值, 粗差探测与方差分量, 点位精度, 边长与方位,
// 点间精度, 规范检核 (with a class), 计算过程 (when asked for), 图, 成果表.
// A design has no closures, residuals or tests: its report leaves out
// 闭合差, 粗差探测与方差分量 and the columns that need observations, and says 精度估算.
//
// Units as the window shows them: angles in degrees, minutes and seconds,
// corrections in arc seconds and millimetres, sides and coordinates in
// metres, mean errors and ellipse axes in millimetres, azimuths of ellipses
// in degrees.

#include <string>

#include "adjust/order_classes.h"
#include "adjust/quality_check.h"
#include "compute/field_book_run.h"
#include "core/survey_state.h"
#include "report/adjustment_document.h"

namespace korvanet {

struct ReportOptions {
    std::string job;                         // the job's file as given, or the window's name for it
    std::string date;                        // the day of the report, "2026-12-09" (TodayText)
    const OrderClass* orderClass = nullptr;  // the class to check against, or none
    std::string classSource;                 // where the class table came from (a file), or ""
    bool steps = false;                      // with 计算过程: the conditions, N k = -w, k, v, the check
    const FieldBookRun* fieldBook =
        nullptr;  // the field book the figure came from: its sections open the report
};

// The report of a completed Compute run: `state` is the record the run left,
// `quality` its quality check.
AdjustmentDocument JobReportDocument(const SurveyState& state, const QualityCheck& quality,
                                     const ReportOptions& options);

// The report of a design run (RunDesign): the a-priori figures, scaled by sigma0.
AdjustmentDocument DesignReportDocument(const SurveyState& state, const QualityCheck& quality,
                                        const ReportOptions& options);

// Today in local time, "YYYY-MM-DD".
std::string TodayText();

}  // namespace korvanet
