// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal prompt that the input phase asks its values with.  The window
// implements it with an input box; the batch tool and the tests script it.
//
// Whoever asks also keeps the answers: the final answer of each value of the
// run, in the order the values are asked, confirmations left out.  That list
// is a job (the batch tool's file), so the window can save it and offer it
// again, whether the run completed, was refused or was stopped part-way.

#include <cstddef>
#include <string>
#include <vector>

namespace korvanet {

// Shown in the title bar of every prompt that has no title of its own.
inline constexpr const char* kApplicationTitle = "Korvanet";

enum class PromptKind {
    Value,         // a value of the run asked for the first time (the tolerance included)
    Correction,    // the same value asked again: its new answer replaces the old one
    Confirmation,  // whether the value just shown is right: not an answer of the run
};

class Prompter {
public:
    Prompter() { answers_.reserve(kValuesOfARun); }
    virtual ~Prompter() = default;

    // Shows `message` with `title` (empty: the application title) and returns
    // the typed text, or the empty text on Cancel; the answer of a value or a
    // correction is kept in Answers().  The surveyor may stop the whole run
    // instead: then RunStopped is thrown and nothing is kept.
    std::string Ask(const std::string& message, const std::string& title, PromptKind kind) {
        const bool newValue = kind == PromptKind::Value || answers_.empty();
        std::string answer = Show(message, title, kind, newValue ? answers_.size() : answers_.size() - 1);
        if (newValue) {
            if (kind != PromptKind::Confirmation) answers_.push_back(answer);
        } else if (kind == PromptKind::Correction) {
            answers_.back() = answer;
        }
        return answer;
    }

    // A confirmed value broke its rule; `message` names the value and the
    // rule.  True: the value is to be asked again through its correction
    // prompt (a person can answer that).  False: the run ends here with the
    // message (a script cannot).
    virtual bool Refuse(const std::string& message) = 0;

    // The answers of the run so far, one per value, in the order asked.
    const std::vector<std::string>& Answers() const { return answers_; }

protected:
    // Shows one prompt.  `value` numbers the values of the run from 0 (the
    // tolerance); a confirmation or correction carries the number of the value
    // it is about.
    virtual std::string Show(const std::string& message, const std::string& title, PromptKind kind,
                             std::size_t value) = 0;

private:
    static constexpr std::size_t kValuesOfARun = 24;  // D not known: 22 values
    std::vector<std::string> answers_;
};

}  // namespace korvanet
