// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two interfaces answered without a window: a prompter that answers from
// a list and records the dialogue, and a display that records every box it is
// given.  The job runner, the batch tool and the tests use them.

#include <string>
#include <unordered_map>
#include <vector>

#include "core/korvanet_error.h"
#include "core/prompter.h"
#include "core/text_display.h"

namespace korvanet {

// Raised when a job has fewer answers than the run asks for.
class AnswersExhausted : public KorvanetError {
public:
    using KorvanetError::KorvanetError;
};

class ScriptedPrompter : public Prompter {
public:
    struct Exchange {
        std::string title;  // as the box shows it: the application title when none is given
        std::string message;
        std::string answer;
    };

    // `valueAnswers` answer the value prompts in order; every confirmation
    // prompt is answered by Enter, the empty text.
    static ScriptedPrompter ForJob(std::vector<std::string> valueAnswers);
    // Every prompt, confirmations included, is answered from the list in order.
    static ScriptedPrompter ForAllPrompts(std::vector<std::string> answers);

    // A script cannot answer a question it was not written for: a refused
    // value ends the run.
    bool Refuse(const std::string&) override { return false; }

    // Every prompt asked so far with its answer, in order.
    const std::vector<Exchange>& Dialogue() const { return dialogue_; }
    std::size_t AnswersLeft() const { return answers_.size() - next_; }

protected:
    std::string Show(const std::string& message, const std::string& title, PromptKind kind,
                     std::size_t value) override;

private:
    ScriptedPrompter(std::vector<std::string> answers, bool confirmByEnter);

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
    bool confirmByEnter_;
    std::vector<Exchange> dialogue_;
};

class RecordingDisplay : public TextDisplay {
public:
    RecordingDisplay();
    void SetText(const std::string& box, const std::string& text) override;

    // Boxes in the order each was first written, with their final texts.
    const std::vector<std::string>& Order() const { return order_; }
    const std::string& Text(const std::string& box) const;
    bool Written(const std::string& box) const { return finalTexts_.count(box) != 0; }

private:
    std::vector<std::string> order_;
    std::unordered_map<std::string, std::string> finalTexts_;
};

}  // namespace korvanet
