#include "dialog_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

}  // namespace

DialogAnswerer::DialogAnswerer(Script script) : script_(std::move(script)) { qApp->installEventFilter(this); }

DialogAnswerer::~DialogAnswerer() { qApp->removeEventFilter(this); }

std::vector<SeenDialog> DialogAnswerer::messageBoxes() const {
    std::vector<SeenDialog> boxes;
    for (const SeenDialog& dialog : seen_) {
        if (!dialog.isInput) boxes.push_back(dialog);
    }
    return boxes;
}

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* input = qobject_cast<QInputDialog*>(watched)) {
            QPointer<QInputDialog> box(input);
            QTimer::singleShot(0, input, [this, box] {
                if (box) answer(box);
            });
        } else if (auto* message = qobject_cast<QMessageBox*>(watched)) {
            QPointer<QMessageBox> box(message);
            QTimer::singleShot(0, message, [this, box] {
                if (box) acknowledge(box);
            });
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
    auto* buttons = box->findChild<QDialogButtonBox*>();
    switch (reply.finish) {
        case Finish::Enter:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case Finish::Escape:
            QTest::keyClick(edit, Qt::Key_Escape);
            break;
        case Finish::OkButton:
            buttons->button(QDialogButtonBox::Ok)->click();
            break;
        case Finish::CancelButton:
            buttons->button(QDialogButtonBox::Cancel)->click();
            break;
    }
    // A box that a key did not close would hang the test; close it so the
    // test fails on what was recorded instead.
    if (box->isVisible()) box->reject();
}

void DialogAnswerer::acknowledge(QMessageBox* box) {
    SeenDialog seen;
    seen.title = box->windowTitle();
    seen.message = box->text();
    seen.modal = box->isModal() || box->windowModality() != Qt::NonModal;
    seen.dialogSize = box->size();
    seen_.push_back(seen);
    if (QAbstractButton* ok = box->defaultButton()) {
        ok->click();
    } else {
        box->accept();
    }
}

}  // namespace korvanet::testing
