// SPDX-License-Identifier: GPL-3.0-or-later
#include "testing/dialog_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace korvanet::testing {
namespace {

// Types like a person: Latin characters as key presses, Chinese ones as
// the input method commits them.
void Type(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(edit, &commit);
        }
    }
}

// Ends the dialog the way the reply says: a key on the field or a button.
void EndDialog(QLineEdit* edit, QDialogButtonBox* buttons, Finish finish) {
    switch (finish) {
        case Finish::Enter:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case Finish::Escape:
            QTest::keyClick(edit, Qt::Key_Escape);
            break;
        case Finish::OkButton:
            for (QAbstractButton* button : buttons->buttons()) {
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                    button->click();
                    break;
                }
            }
            break;
        case Finish::CancelButton:
            buttons->button(QDialogButtonBox::Cancel)->click();
            break;
    }
}

// Runs `answer` from the dialog's own event loop: posted now, during the
// Show event, it waits for exec() to start and for no clock.
template <typename Dialog, typename Answer>
void AnswerOnceShown(Dialog* dialog, Answer answer) {
    QPointer<Dialog> shown(dialog);
    QMetaObject::invokeMethod(
        dialog,
        [shown, answer] {
            if (shown) answer(shown.data());
        },
        Qt::QueuedConnection);
}

}  // namespace

DialogAnswerer::DialogAnswerer(Script script, ButtonScript buttons)
    : script_(std::move(script)), buttons_(std::move(buttons)) {
    qApp->installEventFilter(this);
}

DialogAnswerer::~DialogAnswerer() { qApp->removeEventFilter(this); }

std::vector<SeenDialog> DialogAnswerer::messageBoxes() const {
    std::vector<SeenDialog> boxes;
    for (const SeenDialog& dialog : seen_) {
        if (!dialog.isInput && !dialog.isFile) boxes.push_back(dialog);
    }
    return boxes;
}

std::vector<SeenDialog> DialogAnswerer::fileDialogs() const {
    std::vector<SeenDialog> dialogs;
    for (const SeenDialog& dialog : seen_) {
        if (dialog.isFile) dialogs.push_back(dialog);
    }
    return dialogs;
}

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* input = qobject_cast<QInputDialog*>(watched)) {
            AnswerOnceShown(input, [this](QInputDialog* box) { answer(box); });
        } else if (auto* files = qobject_cast<QFileDialog*>(watched)) {
            AnswerOnceShown(files, [this](QFileDialog* dialog) { answer(dialog); });
        } else if (auto* message = qobject_cast<QMessageBox*>(watched)) {
            AnswerOnceShown(message, [this](QMessageBox* box) { acknowledge(box); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void DialogAnswerer::answer(QInputDialog* box) {
    auto* label = box->findChild<QLabel*>();
    auto* edit = box->findChild<QLineEdit*>();
    SeenDialog seen;
    seen.isInput = true;
    seen.title = box->windowTitle();
    seen.message = label ? label->text() : QString();
    seen.initialText = edit ? edit->text() : QString();
    seen.modal = box->isModal() || box->windowModality() != Qt::NonModal;
    seen.messageWraps = label && label->wordWrap();
    seen.messageIsPlain = label && label->textFormat() == Qt::PlainText;
    seen.messageFits = label && label->heightForWidth(label->width()) <= label->height() &&
                       label->sizeHint().width() <= label->width();
    seen.messageWidth = label ? label->width() : 0;
    seen.dialogSize = box->size();
    seen_.push_back(seen);

    const Reply reply = script_(seen.title, seen.message);
    if (edit == nullptr) {
        box->reject();
        return;
    }
    Type(edit, reply.typed);
    EndDialog(edit, box->findChild<QDialogButtonBox*>(), reply.finish);
    // A box that a key did not close would hang the test; close it so the
    // test fails on what was recorded instead.
    if (box->isVisible()) box->reject();
}

void DialogAnswerer::answer(QFileDialog* dialog) {
    // The name field of Qt's own file dialog (the one shown wherever the
    // platform offers no native dialog, as offscreen).
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    SeenDialog seen;
    seen.isFile = true;
    seen.title = dialog->windowTitle();
    seen.initialText = edit ? edit->text() : QString();
    seen.message = dialog->directory().filePath(seen.initialText);
    seen.modal = dialog->isModal() || dialog->windowModality() != Qt::NonModal;
    seen.dialogSize = dialog->size();
    seen_.push_back(seen);

    const Reply reply = script_(seen.title, seen.message);
    if (edit == nullptr) {
        dialog->reject();
        return;
    }
    // Over the offered name, as a person selects it all and types.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (reply.pasted) {
        QApplication::clipboard()->setText(reply.typed);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else {
        Type(edit, reply.typed);
    }
    EndDialog(edit, dialog->findChild<QDialogButtonBox*>(), reply.finish);
    if (dialog->isVisible()) dialog->reject();
}

void DialogAnswerer::acknowledge(QMessageBox* box) {
    SeenDialog seen;
    seen.title = box->windowTitle();
    seen.message = box->text();
    seen.isWarning = box->icon() == QMessageBox::Warning;
    seen.modal = box->isModal() || box->windowModality() != Qt::NonModal;
    seen.dialogSize = box->size();
    for (QAbstractButton* button : box->buttons()) seen.buttons.push_back(button->text());
    seen_.push_back(seen);
    const QString wanted = buttons_ ? buttons_(seen.title, seen.message) : QString();
    if (!wanted.isEmpty()) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == wanted) {
                button->click();
                return;
            }
        }
        // No such button: the box is closed unanswered, and the test fails
        // on what it recorded.
        box->reject();
        return;
    }
    if (QAbstractButton* ok = box->defaultButton()) {
        ok->click();
    } else {
        box->accept();
    }
}

}  // namespace korvanet::testing
