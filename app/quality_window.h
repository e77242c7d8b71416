// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "质量检查": can the adjusted figure be trusted?  The global model
// test, the observations with residual, redundancy number and w (the suspect
// marked) and m0 without each, the data snooping and the variance
// components of angles and sides (advice), the points with their error ellipses, and the figure drawn to
// scale.  打印 and 存为 PDF put the adjustment report of the run on paper; the
// drawing can be saved as SVG or PNG.
// It shows one completed run and keeps its own copy of it; while open it
// follows each new completed run of the window (showCheck).

#include <QDialog>
#include <QString>
#include <functional>

#include "adjust/blunder_advice.h"
#include "adjust/quality_check.h"
#include "core/survey_state.h"
#include "report/adjustment_document.h"

class QCheckBox;
class QLabel;
class QPrinter;
class QSvgWidget;
class QTableWidget;
class QVBoxLayout;

namespace korvanet {

class PrecisionSummary;

class QualityWindow : public QDialog {
    Q_OBJECT
public:
    QualityWindow(const SurveyState& state, const QualityCheck& quality, QWidget* parent = nullptr);

    // Shows another completed run in the open window (the figure was
    // adjusted again after an edit of the sheet).
    void showCheck(const SurveyState& state, const QualityCheck& quality);

    QLabel* globalTestLine() const { return globalTest_; }
    QLabel* suspectLine() const { return suspectLine_; }
    QTableWidget* observationsTable() const { return observations_; }
    QTableWidget* pointsTable() const { return points_; }
    QLabel* snoopingLines() const { return snooping_; }
    QLabel* varianceLines() const { return variance_; }
    // The drawing; the figure of a later run is read when the drawing is next painted.
    QSvgWidget* drawing() const { return drawing_; }
    PrecisionSummary* precisionSummary() const { return summary_; }
    QLabel* headingLine() const { return heading_; }
    // Draws the relative error ellipses too, or not.
    void showRelativeEllipses(bool show);
    const QString& svg() const { return svg_; }

    // The job's name the printed report gives (the file, or 未保存的作业),
    // asked for when the report is made: the job may be saved meanwhile.
    void setJobName(std::function<QString()> name) { jobName_ = std::move(name); }
    // The adjustment report of the run shown, with the class chosen in the
    // 等级 box: what 打印 and 存为 PDF put on paper, the same document
    // 导出报告… writes.
    AdjustmentDocument reportDocument() const;
    // The report on `printer` (paper or PDF).
    void printOn(QPrinter& printer) const;
    // Writes the check as PDF to `path`, whole; false, with `error` naming
    // the file and the reason, when it cannot be written.
    bool savePdf(const QString& path, QString* error = nullptr) const;
    // Writes the drawing as SVG, or as PNG when `path` ends in ".png"; as savePdf.
    bool saveDrawing(const QString& path, QString* error = nullptr) const;

private slots:
    void print();
    void askSavePdf();
    void askSaveDrawing();

private:
    void fillObservations();
    void fillPoints();

    SurveyState state_;
    QualityCheck quality_;
    BlunderAdvice advice_;
    std::function<QString()> jobName_;
    QString svg_;
    QString title_;
    QLabel* heading_ = nullptr;
    QLabel* pointsHeading_ = nullptr;
    QLabel* globalTest_ = nullptr;
    QLabel* sigmaLine_ = nullptr;
    QLabel* suspectLine_ = nullptr;
    QLabel* snooping_ = nullptr;
    QLabel* variance_ = nullptr;
    QTableWidget* observations_ = nullptr;
    QTableWidget* points_ = nullptr;
    QSvgWidget* drawing_ = nullptr;
    PrecisionSummary* summary_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    QCheckBox* relative_ = nullptr;
};

// The texts of the window, also used by the printed document.
QString GlobalTestText(const QualityCheck& quality);
QString SuspectText(const QualityCheck& quality);
// An angle in decimal degrees as 46°43′52.30″.
QString DegreesMinutesSeconds(double degrees);

}  // namespace korvanet
