#pragma once
// Answers the real modal dialogs that a test opens, the way a person would:
// it types into the input box and presses a key or a button.  Installed on
// the whole application, it sees each QInputDialog and QMessageBox the
// moment it is shown and answers it from a zero-delay timer, once the
// dialog's own event loop runs.

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QInputDialog;
class QMessageBox;

namespace korvanet::testing {

enum class Finish { Enter, Escape, OkButton, CancelButton };

struct Reply {
    QString typed;  // typed into the edit field key by key
    Finish finish = Finish::Enter;
};

// What one shown dialog looked like when it was answered.
struct SeenDialog {
    bool isInput = false;  // QInputDialog, else QMessageBox
    QString title;
    QString message;
    QString initialText;  // the edit field before typing
    bool modal = false;
    bool messageWraps = false;
    bool messageIsPlain = false;  // shown as written, never as markup
    bool messageFits = false;     // the wrapped message has room for all its lines
    int messageWidth = 0;
    QSize dialogSize;
};

class DialogAnswerer : public QObject {
public:
    using Script = std::function<Reply(const QString& title, const QString& message)>;

    explicit DialogAnswerer(Script script);
    ~DialogAnswerer() override;

    const std::vector<SeenDialog>& seen() const { return seen_; }
    std::vector<SeenDialog> messageBoxes() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(QInputDialog* box);
    void acknowledge(QMessageBox* box);

    Script script_;
    std::vector<SeenDialog> seen_;
};

}  // namespace korvanet::testing
