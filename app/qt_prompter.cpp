// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_prompter.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "core/korvanet_error.h"

namespace korvanet {

std::string QtPrompter::Show(const std::string& message, const std::string& title, PromptKind kind,
                             std::size_t value) {
    if (kind == PromptKind::Value && !Answers().empty() && onConfirmed_) onConfirmed_(Answers());
    QInputDialog box(parent_);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowModality(Qt::ApplicationModal);
    // The title is always given explicitly, so the box never depends on what
    // the application calls itself.
    box.setWindowTitle(QString::fromStdString(title.empty() ? std::string(kApplicationTitle) : title));
    box.setLabelText(QString::fromStdString(message));
    const bool offer = kind != PromptKind::Confirmation && value < offered_.size();
    box.setTextValue(offer ? QString::fromStdString(offered_[value]) : QString());
    // The box builds its label, field and buttons only when first measured
    // or shown; measured now, they can be fitted before it is shown.
    (void)box.sizeHint();

    // The label would otherwise stretch the box to the width of the longest
    // prompt; wrapped, every character stays on screen.
    if (auto* label = box.findChild<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMinimumWidth(kPromptMessageMinimumWidth * box.logicalDpiX() / 96);
    }
    // Selected, an offered answer is kept by Enter and replaced by typing.
    if (auto* edit = box.findChild<QLineEdit*>()) edit->selectAll();

    // Stopping must never be what Enter does: the button is no default.  In
    // the reset role it stands apart from OK and Cancel in every platform's
    // button order, so that reaching for Cancel never stops the run.
    bool stopped = false;
    if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
        QPushButton* stop =
            buttons->addButton(QString::fromUtf8(kStopRunCaption), QDialogButtonBox::ResetRole);
        stop->setAutoDefault(false);
        stop->setDefault(false);
        QObject::connect(stop, &QPushButton::clicked, &box, [&stopped, &box] {
            stopped = true;
            box.reject();
        });
    }

    const bool accepted = box.exec() == QDialog::Accepted;
    if (stopped) throw RunStopped();
    if (!accepted) return {};
    return box.textValue().toStdString();
}

bool QtPrompter::Refuse(const std::string& message) {
    QMessageBox::warning(parent_, QString::fromLatin1(kApplicationTitle), QString::fromStdString(message));
    return true;
}

}  // namespace korvanet
