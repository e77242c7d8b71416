// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form "Form1" as designed: seven framed panels of labels and text boxes,
// the two diagrams that fix the numbering of points, angles and sides, and
// the three buttons.  Everything is placed in twips from the top-left corner
// of the client area and converted to pixels at the screen's logical
// resolution.  The design knows nothing of what the buttons do or what the
// boxes will show: the window connects the one and writes the other.

#include <QHash>
#include <QSize>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace korvanet {

class FormCanvas;

// The caption, font and background colour of the form's window.
void DressFormWindow(QWidget& window);

// The client area: the layout and a margin that lets the borders of the
// buttons on its bottom edge show whole, in pixels at `window`'s resolution.
QSize FormClientSize(const QWidget& window);

struct FormControls {
    QHash<QString, QLineEdit*> boxes;  // by name: "Text1", "Text9(0)" (see core/form_boxes.h)
    QPushButton* compute = nullptr;    // Command1
    QPushButton* end = nullptr;        // Command2
    QPushButton* print = nullptr;      // Command3
};

// Builds the labels, text boxes, lines and buttons on `canvas`, in the order
// that makes the tab order run down the inputs first and then through the
// results.  The canvas must already sit in its window, whose font the
// controls take.
FormControls BuildForm(FormCanvas& canvas);

}  // namespace korvanet
