// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Compute command's prompts on screen: a modal input box with the
// message, the title (the application title when none is given), an edit
// field, OK, Cancel and "中止计算".  Enter means OK; Cancel (or Escape) gives
// the empty text; "中止计算" ends the whole Compute command (RunStopped).
//
// The field starts empty.  For Run again it starts with the answer the same
// value had in the earlier run, selected, so that Enter keeps it and typing
// replaces it; confirmations always start empty.
//
// A value that breaks its rule is shown in a warning box titled "Korvanet"
// and then asked again.

#include <functional>
#include <string>
#include <vector>

#include "core/prompter.h"

class QWidget;

namespace korvanet {

class QtPrompter : public Prompter {
public:
    // The boxes are modal over `parent` (may be null: modal over the
    // application).  `offered` holds an answer for each value, in the order
    // the values are asked (empty: every field starts empty).
    explicit QtPrompter(QWidget* parent, std::vector<std::string> offered = {})
        : parent_(parent), offered_(std::move(offered)) {}

    bool Refuse(const std::string& message) override;

    // Called with the answers of the run so far each time a further value
    // is about to be asked: every one of them has then been confirmed and
    // has passed its rule.  The window keeps them at once.
    void setOnConfirmed(std::function<void(const std::vector<std::string>& confirmed)> onConfirmed) {
        onConfirmed_ = std::move(onConfirmed);
    }

protected:
    std::string Show(const std::string& message, const std::string& title, PromptKind kind,
                     std::size_t value) override;

private:
    QWidget* parent_;
    std::vector<std::string> offered_;
    std::function<void(const std::vector<std::string>&)> onConfirmed_;
};

// The narrowest the message may wrap to, in pixels at 96 dpi: the long
// confirmation prompts then take a few readable lines instead of one line
// wider than the screen.
inline constexpr int kPromptMessageMinimumWidth = 360;

// The caption of the input box's third button.
inline constexpr const char* kStopRunCaption = "中止计算";

}  // namespace korvanet
