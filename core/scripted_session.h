#pragma once
// The two interfaces answered without a window: a prompter that answers from
// a list and records the dialogue, and a display that records every box it is
// given.  The job runner, the batch tool and the tests use them.

#include <map>
#include <string>
#include <vector>

#include "korvanet_error.h"
#include "prompter.h"
#include "text_display.h"

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

    const std::vector<Exchange>& Dialogue() const { return dialogue_; }
    std::size_t AnswersLeft() const { return answers_.size() - next_; }

protected:
    std::string Show(const std::string& message, const std::string& title, PromptKind kind,
                     std::size_t value) override;

private:
    ScriptedPrompter(std::vector<std::string> answers, bool confirmByEnter)
        : answers_(std::move(answers)), confirmByEnter_(confirmByEnter) {}

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
    bool confirmByEnter_;
    std::vector<Exchange> dialogue_;
};

class RecordingDisplay : public TextDisplay {
public:
    void SetText(const std::string& box, const std::string& text) override;

    // Boxes in the order each was first written, with their final texts.
    const std::vector<std::string>& Order() const { return order_; }
    const std::string& Text(const std::string& box) const;
    bool Written(const std::string& box) const { return texts_.count(box) != 0; }
    // Every write in order, "box=text", for tests that follow the sequence.
    const std::vector<std::string>& History() const { return history_; }

private:
    std::vector<std::string> order_;
    std::map<std::string, std::string> texts_;
    std::vector<std::string> history_;
};

}  // namespace korvanet
