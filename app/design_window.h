// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "精度估算": a figure designed before it is observed.  The four
// points in a small table (checked as typed), the D-known switch, the planned
// angle mean error and the order class; beside them the drawing with the
// a-priori ellipses and the precision summary, computed again through the one
// Compute path (RunDesign) whenever a value changes.  A point dragged in the
// drawing moves its coordinates.  A design is saved and opened as a design
// file; "从设计生成作业" hands a job template (names and known coordinates
// filled in, the observations empty) to whoever listens.

#include <QDialog>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "adjust/design_observations.h"
#include "adjust/quality_check.h"
#include "compute/design_run.h"
#include "compute/figure_drawing.h"
#include "compute/order_class_table.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSvgRenderer;
class QTableWidget;

namespace korvanet {

enum class FigureExport;

// The drawing of a design at one SVG unit a pixel; a point is dragged with
// the mouse, at the scale the drawing had when the drag began.
class DesignDrawing : public QWidget {
    Q_OBJECT
public:
    explicit DesignDrawing(QWidget* parent = nullptr);
    // Shows the drawing, its points where the drawing code put them.
    void show(const FigureDrawing& drawing);
    // Where point p (0 = A .. 3 = D) is drawn, in pixels; none before a drawing.
    std::optional<QPointF> pointAt(int p) const;

signals:
    void dragBegan(int p);
    // Point p dragged by (north, east) metres from where the drag began.
    void pointDragged(int p, double north, double east);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* renderer_ = nullptr;
    std::optional<QPointF> points_[4];
    double metresPerPixel_ = 0;  // of the drawing shown
    int dragged_ = -1;
    QPointF dragStart_;
    double dragScale_ = 0;  // metres per pixel when the drag began
};

class DesignWindow : public QDialog {
    Q_OBJECT
public:
    DesignWindow(const Design& design, QWidget* parent = nullptr);

    const Design& design() const { return design_; }
    // The last run of the design; run.failure says why there are no figures.
    const DesignRun& run() const { return *run_; }
    QTableWidget* pointsTable() const { return table_; }
    QCheckBox* dKnownSwitch() const { return dKnown_; }
    QLineEdit* toleranceField() const { return tolerance_; }
    QComboBox* classChoice() const { return class_; }
    DesignDrawing* drawing() const { return drawing_; }
    QLabel* summary() const { return summary_; }

    // Opens and saves design files; false (and a message box) on failure.
    bool openDesign(const QString& path);
    bool saveDesign(const QString& path);
    // The job template of the design, handed on through jobTemplateMade.
    void makeJobTemplate();

signals:
    void jobTemplateMade(const std::vector<std::string>& answers);

private slots:
    void cellEdited(int row, int column);
    void valuesEdited();
    void beginDrag(int p);
    void movePoint(int p, double north, double east);
    void askOpen();
    void askSave();
    void askExport();

private:
    // 导出 → CASS 坐标…, DXF 图形…, Gama XML…: the design's figure.
    void askExportFigure(FigureExport kind);
    void fillTable();
    void recompute();
    QString summaryHtml() const;

    Design design_;
    Design dragOrigin_;  // the design when the drag began
    std::optional<DesignRun> run_;
    OrderClassTable classes_;
    bool filling_ = false;
    // The coordinate cell being edited, the one valuesEdited reads: the
    // others keep their numbers, never read back from their text.
    int editedRow_ = -1, editedColumn_ = -1;
    QTableWidget* table_ = nullptr;
    QCheckBox* dKnown_ = nullptr;
    QLineEdit* tolerance_ = nullptr;
    QComboBox* class_ = nullptr;
    DesignDrawing* drawing_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* problem_ = nullptr;
};

// The design a new window starts with: the figure of the example job, with
// D known.
Design ExampleDesign();
// The design of an adjusted figure: its known points as entered, the
// determined ones where the adjustment put them.
Design DesignOf(const QualityCheck& adjusted);

}  // namespace korvanet
