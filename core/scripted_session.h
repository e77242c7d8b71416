// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two interfaces answered without a window: a prompter that answers from
// a list and records the dialogue, and a display that records every box it is
// given.  The job runner, the batch tool and the tests use them.

#include <string>
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
    std::vector<Exchange> Dialogue() const;
    std::size_t AnswersLeft() const { return answers_.size() - next_; }

protected:
    std::string Show(const std::string& message, const std::string& title, PromptKind kind,
                     std::size_t value) override;

private:
    ScriptedPrompter(std::vector<std::string> answers, bool confirmByEnter);

    // One asked prompt: where its texts lie in `texts_`.  A job asks some forty
    // prompts; one growing text instead of three strings each keeps a run of
    // many jobs from spending its time on memory.
    struct Asked {
        std::size_t title, titleLength, message, messageLength, answer, answerLength;
    };

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
    bool confirmByEnter_;
    std::string texts_;
    std::vector<Asked> asked_;
};

class RecordingDisplay : public TextDisplay {
public:
    void SetText(const std::string& box, const std::string& text) override;

    // Boxes in the order each was first written, with their final texts.
    const std::vector<std::string>& Order() const { return order_; }
    const std::string& Text(const std::string& box) const;
    bool Written(const std::string& box) const { return Find(box) != kNone; }
    // Every write in order, "box=text", for tests that follow the sequence.
    std::vector<std::string> History() const;

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // The position of `box` in order_, or kNone.
    std::size_t Find(const std::string& box) const;
    std::size_t& Slot(const std::string& box);
    void Grow();

    std::vector<std::string> order_;
    std::vector<std::string> finalTexts_;  // beside order_
    // Open addressing over the box names: positions in order_, kNone where free.
    std::vector<std::size_t> slots_;
    // Each write: the box's position in order_, and where its text lies in writtenTexts_.
    struct Write {
        std::size_t box, text, length;
    };
    std::vector<Write> writes_;
    std::string writtenTexts_;
};

}  // namespace korvanet
