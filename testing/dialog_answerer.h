// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers the real modal dialogs that a test opens, the way a person would:
// it types into the input box or the file dialog's name field and presses a
// key or a button.  Installed on the whole application, it sees each
// QInputDialog, QFileDialog and QMessageBox the moment it is shown and
// answers it from a zero-delay single-shot call, which the dialog's own
// event loop runs first thing: an event posted before the loop starts, never
// a timing window, so a loaded machine only makes it slower.

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QFileDialog;
class QInputDialog;
class QMessageBox;

namespace korvanet::testing {

enum class Finish { Enter, Escape, OkButton, CancelButton };

struct Reply {
    QString typed;  // typed into the edit field key by key (a file dialog's over its name)
    Finish finish = Finish::Enter;
    // Put into the field at once with Ctrl+V, as a person pastes a list of
    // files ("a.gsi" "b.csv"): typed key by key, the file dialog's own
    // completion takes over the leading quote.
    bool pasted = false;
};

// What one shown dialog looked like when it was answered.
struct SeenDialog {
    bool isInput = false;  // QInputDialog
    bool isFile = false;   // QFileDialog; neither: QMessageBox
    QString title;
    QString message;      // a file dialog's: the file it offers (its folder and name)
    QString initialText;  // the edit field before typing
    bool modal = false;
    bool isWarning = false;  // a message box with the warning sign
    bool messageWraps = false;
    bool messageIsPlain = false;  // shown as written, never as markup
    bool messageFits = false;     // the wrapped message has room for all its lines
    int messageWidth = 0;
    QSize dialogSize;
    QStringList buttons;  // a message box's, as they read
};

class DialogAnswerer : public QObject {
public:
    // Called once for every input box and file dialog, in the order shown.
    using Script = std::function<Reply(const QString& title, const QString& message)>;

    // Called for every message box: the text of the button to press, or
    // the empty text for its default button (what Enter presses).
    using ButtonScript = std::function<QString(const QString& title, const QString& message)>;

    explicit DialogAnswerer(Script script, ButtonScript buttons = {});
    ~DialogAnswerer() override;

    const std::vector<SeenDialog>& seen() const { return seen_; }
    std::vector<SeenDialog> messageBoxes() const;
    std::vector<SeenDialog> fileDialogs() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(QInputDialog* box);
    void answer(QFileDialog* dialog);
    void acknowledge(QMessageBox* box);

    Script script_;
    ButtonScript buttons_;
    std::vector<SeenDialog> seen_;
};

}  // namespace korvanet::testing
