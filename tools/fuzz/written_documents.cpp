// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fuzz/written_documents.h"

#include <algorithm>
#include <array>

namespace korvanet::fuzz {
namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ':' || c == '_';
}

// The text up to `end` (exclusive) has no < and each & begins a reference.
bool CleanText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') return false;
        if (text[i] != '&') continue;
        const std::size_t semicolon = text.find(';', i);
        if (semicolon == std::string_view::npos) return false;
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        const bool named = name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos";
        const bool numeric =
            name.size() > 1 && name[0] == '#' && std::all_of(name.begin() + 1, name.end(), [](char c) {
                return (c >= '0' && c <= '9') || c == 'x' || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
            });
        if (!named && !numeric) return false;
        i = semicolon;
    }
    return true;
}

bool IsVoid(std::string_view name) {
    constexpr std::array<std::string_view, 6> kVoid = {"meta", "br", "hr", "img", "link", "col"};
    return std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end();
}

}  // namespace

std::optional<std::vector<std::string>> ElementsOf(std::string_view s, bool html) {
    std::vector<std::string> opened, stack;
    std::size_t i = 0;
    bool rooted = false;
    if (s.starts_with("<?xml")) {
        const std::size_t end = s.find("?>");
        if (end == std::string_view::npos) return std::nullopt;
        i = end + 2;
    }
    while (i < s.size()) {
        const std::size_t lt = s.find('<', i);
        const std::string_view text =
            s.substr(i, lt == std::string_view::npos ? std::string_view::npos : lt - i);
        if (!CleanText(text)) return std::nullopt;
        if (stack.empty() && text.find_first_not_of(" \r\n\t") != std::string_view::npos) return std::nullopt;
        if (lt == std::string_view::npos) break;
        i = lt + 1;
        if (s.substr(i).starts_with("!--")) {
            const std::size_t end = s.find("-->", i);
            if (end == std::string_view::npos) return std::nullopt;
            i = end + 3;
            continue;
        }
        if (html && s.substr(i).starts_with("!DOCTYPE html>") && opened.empty()) {
            i += 14;
            continue;
        }
        const bool closing = i < s.size() && s[i] == '/';
        if (closing) ++i;
        const std::size_t nameStart = i;
        while (i < s.size() && IsNameCharacter(s[i])) ++i;
        const std::string name(s.substr(nameStart, i - nameStart));
        if (name.empty()) return std::nullopt;
        if (closing) {
            if (i >= s.size() || s[i] != '>' || stack.empty() || stack.back() != name) return std::nullopt;
            stack.pop_back();
            ++i;
            continue;
        }
        // Only one root element, in HTML as in SVG.
        if (stack.empty() && rooted) return std::nullopt;
        rooted = true;
        bool selfClosed = false;
        for (;;) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\t' || s[i] == '\r')) ++i;
            if (i >= s.size()) return std::nullopt;
            if (s[i] == '>') {
                ++i;
                break;
            }
            if (s.substr(i).starts_with("/>")) {
                i += 2;
                selfClosed = true;
                break;
            }
            const std::size_t attribute = i;
            while (i < s.size() && IsNameCharacter(s[i])) ++i;
            if (i == attribute || i + 1 >= s.size() || s[i] != '=' || (s[i + 1] != '"' && s[i + 1] != '\'')) {
                return std::nullopt;
            }
            const char quote = s[i + 1];
            const std::size_t close = s.find(quote, i + 2);
            if (close == std::string_view::npos || !CleanText(s.substr(i + 2, close - i - 2)))
                return std::nullopt;
            i = close + 1;
        }
        opened.push_back(name);
        if (selfClosed || (html && IsVoid(name))) continue;
        if (html && name == "style") {
            const std::size_t end = s.find("</style>", i);
            if (end == std::string_view::npos) return std::nullopt;
            i = end + 8;
            continue;
        }
        stack.push_back(name);
    }
    if (!stack.empty() || !rooted) return std::nullopt;
    return opened;
}

std::optional<std::vector<std::vector<std::string>>> CsvRecords(std::string_view s) {
    if (s.starts_with("\xEF\xBB\xBF")) s.remove_prefix(3);
    std::vector<std::vector<std::string>> records;
    std::size_t i = 0;
    while (i < s.size()) {
        std::vector<std::string> record;
        for (;;) {
            std::string field;
            if (i < s.size() && s[i] == '"') {
                for (++i;; ++i) {
                    if (i >= s.size()) return std::nullopt;
                    if (s[i] != '"') {
                        field += s[i];
                    } else if (i + 1 < s.size() && s[i + 1] == '"') {
                        field += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                }
            } else {
                while (i < s.size() && s[i] != ',' && s[i] != '\r' && s[i] != '\n') {
                    if (s[i] == '"') return std::nullopt;
                    field += s[i++];
                }
            }
            record.push_back(std::move(field));
            if (i < s.size() && s[i] == ',') {
                ++i;
                continue;
            }
            if (!s.substr(i).starts_with("\r\n")) return std::nullopt;
            i += 2;
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace korvanet::fuzz
