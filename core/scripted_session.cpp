#include "scripted_session.h"

namespace korvanet {

ScriptedPrompter ScriptedPrompter::ForJob(std::vector<std::string> valueAnswers) {
    return ScriptedPrompter(std::move(valueAnswers), true);
}

ScriptedPrompter ScriptedPrompter::ForAllPrompts(std::vector<std::string> answers) {
    return ScriptedPrompter(std::move(answers), false);
}

std::string ScriptedPrompter::Show(const std::string& message, const std::string& title, PromptKind kind,
                                   std::size_t) {
    Exchange exchange{title.empty() ? std::string(kApplicationTitle) : title, message, {}};
    if (!(confirmByEnter_ && kind == PromptKind::Confirmation)) {
        if (next_ >= answers_.size()) {
            dialogue_.push_back(exchange);
            throw AnswersExhausted("作业文件的答案不够: 第 " + std::to_string(answers_.size() + 1) +
                                   " 个答案缺少, 提示是 \"" + message + "\"");
        }
        exchange.answer = answers_[next_++];
    }
    dialogue_.push_back(exchange);
    return dialogue_.back().answer;
}

void RecordingDisplay::SetText(const std::string& box, const std::string& text) {
    if (texts_.count(box) == 0) order_.push_back(box);
    texts_[box] = text;
    history_.push_back(box + "=" + text);
}

const std::string& RecordingDisplay::Text(const std::string& box) const {
    static const std::string empty;
    auto it = texts_.find(box);
    return it == texts_.end() ? empty : it->second;
}

}  // namespace korvanet
