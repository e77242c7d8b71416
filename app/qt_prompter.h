#pragma once
// The Compute command's prompts on screen: a modal input box with the
// message, the title (the application title when none is given), an edit
// field that starts empty, OK and Cancel.  Enter means OK; Cancel (or
// Escape) gives the empty text.

#include <string>

#include "prompter.h"

class QWidget;

namespace korvanet {

class QtPrompter : public Prompter {
public:
    // The box is modal over `parent` (may be null: modal over the application).
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}

    std::string Ask(const std::string& message, const std::string& title) override;

private:
    QWidget* parent_;
};

// The narrowest the message may wrap to, in pixels at 96 dpi: the long
// confirmation prompts then take a few readable lines instead of one line
// wider than the screen.
inline constexpr int kPromptMessageMinimumWidth = 360;

}  // namespace korvanet
