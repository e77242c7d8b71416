// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "质量检查": can the adjusted figure be trusted?  The global model
// test, the observations with residual, redundancy number and w (the suspect
// marked), the points with their error ellipses, and the figure drawn to
// scale.  It can be printed or saved as PDF, the drawing saved as SVG or PNG.
// It shows one completed run and keeps its own copy of it.

#include <QDialog>
#include <QString>

#include "adjust/quality_check.h"
#include "core/survey_state.h"

class QLabel;
class QPrinter;
class QSvgWidget;
class QTableWidget;

namespace korvanet {

class PrecisionSummary;

class QualityWindow : public QDialog {
    Q_OBJECT
public:
    QualityWindow(const SurveyState& state, const QualityCheck& quality, QWidget* parent = nullptr);

    QLabel* globalTestLine() const { return globalTest_; }
    QLabel* suspectLine() const { return suspectLine_; }
    QTableWidget* observationsTable() const { return observations_; }
    QTableWidget* pointsTable() const { return points_; }
    QSvgWidget* drawing() const { return drawing_; }
    PrecisionSummary* precisionSummary() const { return summary_; }
    QLabel* headingLine() const { return heading_; }
    // Draws the relative error ellipses too, or not.
    void showRelativeEllipses(bool show);
    const QString& svg() const { return svg_; }

    // The whole check as a document on `printer` (paper or PDF).
    void printOn(QPrinter& printer) const;
    // Writes the check as PDF to `path`; false when the file cannot be written.
    bool savePdf(const QString& path) const;
    // Writes the drawing as SVG, or as PNG when `path` ends in ".png".
    bool saveDrawing(const QString& path) const;

private slots:
    void print();
    void askSavePdf();
    void askSaveDrawing();

private:
    void fillObservations();
    void fillPoints();
    QString documentHtml() const;

    QualityCheck quality_;
    QString svg_;
    QString title_;
    QLabel* globalTest_ = nullptr;
    QLabel* sigmaLine_ = nullptr;
    QLabel* suspectLine_ = nullptr;
    QTableWidget* observations_ = nullptr;
    QTableWidget* points_ = nullptr;
    QSvgWidget* drawing_ = nullptr;
    QLabel* heading_ = nullptr;
    PrecisionSummary* summary_ = nullptr;
};

// The texts of the window, also used by the printed document.
QString GlobalTestText(const QualityCheck& quality);
QString SuspectText(const QualityCheck& quality);
// An angle in decimal degrees as 46°43′52.30″.
QString DegreesMinutesSeconds(double degrees);

}  // namespace korvanet
