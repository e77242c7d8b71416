#include "qt_prompter.h"

#include <QInputDialog>
#include <QLabel>
#include <QWidget>

namespace korvanet {

std::string QtPrompter::Ask(const std::string& message, const std::string& title) {
    QInputDialog box(parent_);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowModality(Qt::ApplicationModal);
    // The title is always given explicitly, so the box never depends on what
    // the application calls itself.
    box.setWindowTitle(QString::fromStdString(title.empty() ? std::string(kApplicationTitle) : title));
    box.setLabelText(QString::fromStdString(message));
    box.setTextValue(QString());

    // The label would otherwise stretch the box to the width of the longest
    // prompt; wrapped, every character stays on screen.
    if (auto* label = box.findChild<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMinimumWidth(kPromptMessageMinimumWidth * box.logicalDpiX() / 96);
    }

    if (box.exec() != QDialog::Accepted) return {};
    return box.textValue().toStdString();
}

}  // namespace korvanet
