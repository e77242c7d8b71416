// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "质量检查": can the adjusted figure be trusted?  The global model
// test, the observations with residual, redundancy number and w (the suspect
// marked), the points with their error ellipses, and the figure drawn to
// scale.  It can be printed or saved as PDF, the drawing saved as SVG or PNG.
// It shows one completed run and keeps its own copy of it; while open it
// follows each new completed run of the window (showCheck).

#include <QDialog>
#include <QString>

#include "adjust/quality_check.h"
#include "core/survey_state.h"

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
    // The drawing; the figure of a later run is read when the drawing is next painted.
    QSvgWidget* drawing() const { return drawing_; }
    PrecisionSummary* precisionSummary() const { return summary_; }
    QLabel* headingLine() const { return heading_; }
    // Draws the relative error ellipses too, or not.
    void showRelativeEllipses(bool show);
    const QString& svg() const { return svg_; }

    // The whole check as a document on `printer` (paper or PDF).
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
    QString documentHtml() const;

    QualityCheck quality_;
    QString svg_;
    QString title_;
    QLabel* heading_ = nullptr;
    QLabel* pointsHeading_ = nullptr;
    QLabel* globalTest_ = nullptr;
    QLabel* sigmaLine_ = nullptr;
    QLabel* suspectLine_ = nullptr;
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
