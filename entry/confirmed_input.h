// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asking one value: the value prompt, its display in the window, and a
// confirmation prompt; a value the surveyor declares wrong (by answering zero)
// is asked again through a correction prompt and confirmed again, as often as
// needed.  A confirmed value that breaks its rule is refused at once: asked
// again as if the surveyor had declared it wrong, or, when the prompter cannot
// ask again (a script), the run ends right there.

#include <functional>
#include <optional>
#include <string>

#include "core/number_text.h"
#include "core/prompter.h"
#include "core/text_display.h"

namespace korvanet {

// How a value is written into its box after the leading blank.
enum class DisplayPattern {
    None,           // the text as typed
    ThreeDecimals,  // "0.000": coordinates and sides
    FiveDecimals,   // "0.00000": packed angles
};

// One value to ask.  The title belongs to the value and correction prompts;
// the confirmation prompts never have one.
struct ConfirmedInstance {
    std::string valuePrompt;
    std::string title;  // empty: the application title
    std::string correctionPrompt;
    std::string firstConfirmation;   // "确认" + what names the value + kConfirmationTail
    std::string secondConfirmation;  // "确认这次" + ...: after a correction
    std::string box;                 // "Text1", "Text9(0)", ...
    DisplayPattern pattern = DisplayPattern::None;
    // y of A is shown exactly as typed while it is first confirmed.
    bool firstDisplayUnformatted = false;
};

// Follows every confirmation prompt: how to confirm and how to refuse.
inline constexpr const char* kConfirmationTail =
    "是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  输入错误输入零 ( 即:0 )";

std::string FirstConfirmationPrompt(const std::string& subject);
std::string SecondConfirmationPrompt(const std::string& secondSubject);

// The box text of a stored value: one blank, then the value in its pattern
// (a text that is no number stays as typed, the empty text stays empty).
std::string DisplayedText(const std::string& text, DisplayPattern pattern);

// A confirmation answer refuses the value only when it reads as the number
// zero; the empty answer (Enter, OK or Cancel) and any other text confirm.
bool IsWrongAnswer(const std::string& answer);

// The rule a value keeps, judged on its text and on the text's reading as a
// number: nothing when it may be used, else the message that names the value
// and the rule (see value_rules.h).
using ValueRule =
    std::function<std::optional<std::string>(const std::string& text, const NumberReading& reading)>;

// Runs the protocol for one value and returns the confirmed text, unchanged.
// The box keeps the value's final display.  A value that breaks `rule`
// (none: any text, as for the point names) is put to Prompter::Refuse; when
// the prompter does not ask again, InputError ends the run with the message,
// right after the value's confirmation.
std::string ConfirmedInput(const ConfirmedInstance& instance, Prompter& prompter, TextDisplay& display,
                           const ValueRule& rule = nullptr);

// The confirmed text together with its reading as a number, read once when
// it was typed (for its display) and handed on rather than read again.
struct ConfirmedValue {
    std::string text;
    NumberReading reading;
};
ConfirmedValue ConfirmedNumberInput(const ConfirmedInstance& instance, Prompter& prompter,
                                    TextDisplay& display, const ValueRule& rule);

}  // namespace korvanet
