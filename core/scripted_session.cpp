// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scripted_session.h"

#include <utility>

namespace korvanet {

namespace {
// A run of the figure asks some forty prompts and writes some sixty boxes.
constexpr std::size_t kPromptsOfARun = 64;
constexpr std::size_t kBoxesOfARun = 64;
}  // namespace

RecordingDisplay::RecordingDisplay() {
    order_.reserve(kBoxesOfARun);
    finalTexts_.reserve(kBoxesOfARun);
}

ScriptedPrompter::ScriptedPrompter(std::vector<std::string> answers, bool confirmByEnter)
    : answers_(std::move(answers)), confirmByEnter_(confirmByEnter) {
    dialogue_.reserve(kPromptsOfARun);
}

ScriptedPrompter ScriptedPrompter::ForJob(std::vector<std::string> valueAnswers) {
    return ScriptedPrompter(std::move(valueAnswers), true);
}

ScriptedPrompter ScriptedPrompter::ForAllPrompts(std::vector<std::string> answers) {
    return ScriptedPrompter(std::move(answers), false);
}

std::string ScriptedPrompter::Show(const std::string& message, const std::string& title, PromptKind kind,
                                   std::size_t) {
    dialogue_.push_back({title.empty() ? kApplicationTitle : title, message, ""});
    if (confirmByEnter_ && kind == PromptKind::Confirmation) return std::string();
    if (next_ >= answers_.size()) {
        throw AnswersExhausted("作业文件的答案不够: 第 " + std::to_string(answers_.size() + 1) +
                               " 个答案缺少, 提示是 \"" + message + "\"");
    }
    const std::string& answer = answers_[next_++];
    dialogue_.back().answer = answer;
    return answer;
}

void RecordingDisplay::SetText(const std::string& box, const std::string& text) {
    const auto [written, isNew] = finalTexts_.insert_or_assign(box, text);
    if (isNew) order_.push_back(box);
}

const std::string& RecordingDisplay::Text(const std::string& box) const {
    static const std::string empty;
    const auto written = finalTexts_.find(box);
    return written == finalTexts_.end() ? empty : written->second;
}

}  // namespace korvanet
