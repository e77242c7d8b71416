#include "confirmed_input.h"

#include "display_text.h"
#include "korvanet_error.h"
#include "number_text.h"

namespace korvanet {

std::string FirstConfirmationPrompt(const std::string& subject) {
    return "确认" + subject + kConfirmationTail;
}

std::string SecondConfirmationPrompt(const std::string& secondSubject) {
    return "确认这次" + secondSubject + kConfirmationTail;
}

std::string DisplayedText(const std::string& text, DisplayPattern pattern) {
    std::string shown = " ";
    switch (pattern) {
        case DisplayPattern::ThreeDecimals:
            shown += FormatTextWithPattern(text, 3);
            break;
        case DisplayPattern::FiveDecimals:
            shown += FormatTextWithPattern(text, 5);
            break;
        case DisplayPattern::None:
            shown += text;
            break;
    }
    return shown;
}

bool IsWrongAnswer(const std::string& answer) { return ReadsAsZero(answer); }

std::string ConfirmedInput(const ConfirmedInstance& instance, Prompter& prompter, TextDisplay& display,
                           const ValueRule& rule) {
    std::string value = prompter.Ask(instance.valuePrompt, instance.title, PromptKind::Value);
    display.SetText(instance.box, DisplayedText(value, instance.firstDisplayUnformatted ? DisplayPattern::None
                                                                                        : instance.pattern));
    bool wrong =
        IsWrongAnswer(prompter.Ask(FirstConfirmationPrompt(instance.subject), "", PromptKind::Confirmation));
    for (;;) {
        while (wrong) {
            // The refused value leaves the box before the new one is asked.
            display.SetText(instance.box, "");
            value = prompter.Ask(instance.correctionPrompt, instance.title, PromptKind::Correction);
            display.SetText(instance.box, DisplayedText(value, instance.pattern));
            wrong = IsWrongAnswer(
                prompter.Ask(SecondConfirmationPrompt(instance.secondSubject), "", PromptKind::Confirmation));
        }
        display.SetText(instance.box, DisplayedText(value, instance.pattern));
        const std::optional<std::string> refusal = rule ? rule(value) : std::nullopt;
        if (!refusal) return value;
        if (!prompter.Refuse(*refusal)) throw InputError(*refusal);
        // Asked again exactly as if the surveyor had answered zero.
        wrong = true;
    }
}

}  // namespace korvanet
