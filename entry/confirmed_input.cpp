// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/confirmed_input.h"

#include <utility>

#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "core/number_text.h"

namespace korvanet {

std::string FirstConfirmationPrompt(const std::string& subject) {
    return "确认" + subject + kConfirmationTail;
}

std::string SecondConfirmationPrompt(const std::string& secondSubject) {
    return "确认这次" + secondSubject + kConfirmationTail;
}

namespace {

// DisplayedText for a text already read.
std::string Displayed(const std::string& text, const NumberReading& reading, DisplayPattern pattern) {
    std::string shown = " ";
    if (pattern == DisplayPattern::None || !reading.IsNumber()) return shown.append(text);
    AppendPattern(shown, reading.value, pattern == DisplayPattern::ThreeDecimals ? 3 : 5);
    return shown;
}

}  // namespace

std::string DisplayedText(const std::string& text, DisplayPattern pattern) {
    return Displayed(text, pattern == DisplayPattern::None ? NumberReading{} : ReadNumber(text), pattern);
}

bool IsWrongAnswer(const std::string& answer) { return ReadsAsZero(answer); }

std::string ConfirmedInput(const ConfirmedInstance& instance, Prompter& prompter, TextDisplay& display,
                           const ValueRule& rule) {
    return ConfirmedNumberInput(instance, prompter, display, rule).text;
}

ConfirmedValue ConfirmedNumberInput(const ConfirmedInstance& instance, Prompter& prompter,
                                    TextDisplay& display, const ValueRule& rule) {
    std::string value = prompter.Ask(instance.valuePrompt, instance.title, PromptKind::Value);
    NumberReading reading = ReadNumber(value);
    // The box text of the value in its pattern, written once and shown again
    // when the value is confirmed.
    std::string shown = Displayed(value, reading, instance.pattern);
    display.SetText(instance.box, instance.firstDisplayUnformatted
                                      ? Displayed(value, reading, DisplayPattern::None)
                                      : shown);
    bool wrong = IsWrongAnswer(prompter.Ask(instance.firstConfirmation, "", PromptKind::Confirmation));
    for (;;) {
        while (wrong) {
            // The refused value leaves the box before the new one is asked.
            display.SetText(instance.box, "");
            value = prompter.Ask(instance.correctionPrompt, instance.title, PromptKind::Correction);
            reading = ReadNumber(value);
            shown = Displayed(value, reading, instance.pattern);
            display.SetText(instance.box, shown);
            wrong = IsWrongAnswer(prompter.Ask(instance.secondConfirmation, "", PromptKind::Confirmation));
        }
        display.SetText(instance.box, shown);
        const std::optional<std::string> refusal = rule ? rule(value, reading) : std::nullopt;
        if (!refusal) return {std::move(value), reading};
        if (!prompter.Refuse(*refusal)) throw InputError(*refusal);
        // Asked again exactly as if the surveyor had answered zero.
        wrong = true;
    }
}

}  // namespace korvanet
