// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client area of the form: a fixed-size surface in the window's
// background colour that carries every control and paints the straight
// lines of the frame and of the two diagrams beneath them.

#include <QColor>
#include <QLine>
#include <QString>
#include <QWidget>
#include <vector>

namespace korvanet {

struct FormLine {
    QString name;  // "Line1".."Line37"
    QLine pixels;  // end points in the canvas, pixels
    QColor colour;
    int width = 1;  // pen width, pixels
};

class FormCanvas : public QWidget {
    Q_OBJECT
public:
    explicit FormCanvas(QWidget* parent = nullptr);

    void addLine(FormLine line);
    const std::vector<FormLine>& lines() const { return lines_; }
    // Null when no line carries that name.
    const FormLine* line(const QString& name) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<FormLine> lines_;
};

}  // namespace korvanet
