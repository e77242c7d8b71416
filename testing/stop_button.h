// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Presses "中止计算" on the input box a DialogAnswerer script is answering,
// the way a person clicks it.  Call it from inside the script and return
// StoppedReply(): the answerer's own key press then lands on a box that is
// already closed and changes nothing.

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QPushButton>

#include "testing/dialog_answerer.h"

namespace korvanet::testing {

// The button on the input box being shown, or null when there is none.
inline QPushButton* ShownStopButton() {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) return nullptr;
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("中止计算")) return button;
    }
    return nullptr;
}

// Clicks the stop button; false when the box has none.
inline bool PressStop() {
    QPushButton* stop = ShownStopButton();
    if (stop == nullptr) return false;
    stop->click();
    return true;
}

inline Reply StoppedReply() { return Reply{QString(), Finish::Escape}; }

}  // namespace korvanet::testing
