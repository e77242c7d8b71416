// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scripted_session.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <tuple>
#include <utility>

namespace korvanet {

namespace {
// Room for one whole run of the figure at once, so that recording it asks
// for memory a few times rather than for every text.
constexpr std::size_t kPromptsOfARun = 64;
constexpr std::size_t kPromptTextOfARun = 8192;
constexpr std::size_t kBoxSlots = 128;  // twice the boxes a run writes
constexpr std::size_t kWritesOfARun = 128;
constexpr std::size_t kBoxTextOfARun = 2048;

// Appends `text` to `texts` and says where it lies.
std::pair<std::size_t, std::size_t> Keep(std::string& texts, std::string_view text) {
    const std::size_t at = texts.size();
    texts.append(text);
    return {at, text.size()};
}

// Where the search for a box starts among 2^bits slots.  Box names are short
// ("Text9(3)") and differ in their last characters: those (up to eight) and
// the length, spread by one multiplication whose top bits depend on them all.
std::size_t FirstSlot(const std::string& name, int bits) {
    std::uint64_t tail = 0;
    if (name.size() >= sizeof tail) {
        std::memcpy(&tail, name.data() + name.size() - sizeof tail, sizeof tail);
    } else {
        for (unsigned char c : name) tail = (tail << 8) | c;
    }
    const std::uint64_t h = (tail ^ name.size()) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(h >> (64 - bits));
}

}  // namespace

ScriptedPrompter::ScriptedPrompter(std::vector<std::string> answers, bool confirmByEnter)
    : answers_(std::move(answers)), confirmByEnter_(confirmByEnter) {
    asked_.reserve(kPromptsOfARun);
    texts_.reserve(kPromptTextOfARun);
}

ScriptedPrompter ScriptedPrompter::ForJob(std::vector<std::string> valueAnswers) {
    return ScriptedPrompter(std::move(valueAnswers), true);
}

ScriptedPrompter ScriptedPrompter::ForAllPrompts(std::vector<std::string> answers) {
    return ScriptedPrompter(std::move(answers), false);
}

std::string ScriptedPrompter::Show(const std::string& message, const std::string& title, PromptKind kind,
                                   std::size_t) {
    Asked asked{};
    std::tie(asked.title, asked.titleLength) =
        Keep(texts_, title.empty() ? std::string_view(kApplicationTitle) : std::string_view(title));
    std::tie(asked.message, asked.messageLength) = Keep(texts_, message);
    asked.answer = texts_.size();
    if (confirmByEnter_ && kind == PromptKind::Confirmation) {
        asked_.push_back(asked);
        return std::string();
    }
    if (next_ >= answers_.size()) {
        asked_.push_back(asked);
        throw AnswersExhausted("作业文件的答案不够: 第 " + std::to_string(answers_.size() + 1) +
                               " 个答案缺少, 提示是 \"" + message + "\"");
    }
    const std::string& answer = answers_[next_++];
    std::tie(asked.answer, asked.answerLength) = Keep(texts_, answer);
    asked_.push_back(asked);
    return answer;
}

std::vector<ScriptedPrompter::Exchange> ScriptedPrompter::Dialogue() const {
    std::vector<Exchange> dialogue;
    dialogue.reserve(asked_.size());
    for (const Asked& a : asked_) {
        dialogue.push_back({texts_.substr(a.title, a.titleLength), texts_.substr(a.message, a.messageLength),
                            texts_.substr(a.answer, a.answerLength)});
    }
    return dialogue;
}

std::size_t RecordingDisplay::Find(const std::string& box) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = FirstSlot(box, std::countr_zero(slots_.size()));; i = (i + 1) & mask) {
        if (slots_[i] == kNone || order_[slots_[i]] == box) return slots_[i];
    }
}

std::size_t& RecordingDisplay::Slot(const std::string& box) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = FirstSlot(box, std::countr_zero(slots_.size()));; i = (i + 1) & mask) {
        if (slots_[i] == kNone || order_[slots_[i]] == box) return slots_[i];
    }
}

void RecordingDisplay::Grow() {
    slots_.assign(slots_.size() * 2, kNone);
    for (std::size_t b = 0; b < order_.size(); ++b) Slot(order_[b]) = b;
}

void RecordingDisplay::SetText(const std::string& box, const std::string& text) {
    if (slots_.empty()) {
        slots_.assign(kBoxSlots, kNone);
        order_.reserve(kBoxSlots / 2);
        finalTexts_.reserve(kBoxSlots / 2);
        writes_.reserve(kWritesOfARun);
        writtenTexts_.reserve(kBoxTextOfARun);
    }
    std::size_t& slot = Slot(box);
    const std::size_t b = slot == kNone ? order_.size() : slot;
    if (slot == kNone) {
        slot = b;
        order_.push_back(box);
        finalTexts_.push_back(text);
        // Half the slots free keeps every probe short.
        if (2 * order_.size() > slots_.size()) Grow();
    } else {
        finalTexts_[b] = text;
    }
    const auto [at, length] = Keep(writtenTexts_, text);
    writes_.push_back({b, at, length});
}

const std::string& RecordingDisplay::Text(const std::string& box) const {
    static const std::string empty;
    const std::size_t b = Find(box);
    return b == kNone ? empty : finalTexts_[b];
}

std::vector<std::string> RecordingDisplay::History() const {
    std::vector<std::string> history;
    history.reserve(writes_.size());
    for (const Write& w : writes_) {
        history.push_back(order_[w.box] + "=" + writtenTexts_.substr(w.text, w.length));
    }
    return history;
}

}  // namespace korvanet
