// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_canvas.h"

#include <QPainter>
#include <QPen>

namespace korvanet {

FormCanvas::FormCanvas(QWidget* parent) : QWidget(parent) {}

void FormCanvas::addLine(FormLine line) {
    lines_.push_back(std::move(line));
    update();
}

const FormLine* FormCanvas::line(const QString& name) const {
    for (const FormLine& candidate : lines_) {
        if (candidate.name == name) return &candidate;
    }
    return nullptr;
}

void FormCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Crisp, unblended pixels: the frame and diagram lines are one flat colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const FormLine& line : lines_) {
        painter.setPen(QPen(line.colour, line.width, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(line.pixels);
    }
}

}  // namespace korvanet
