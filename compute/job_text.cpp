// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/job_text.h"

#include <iconv.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/korvanet_error.h"

namespace korvanet {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
// Returns the offset of the first byte that starts a bad sequence, or npos.
std::size_t FirstInvalidUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;   // overlong
            if (c == 0xED) high = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;   // overlong
            if (c == 0xF4) high = 0x8F;  // past U+10FFFF
        } else {
            return i;
        }
        if (i + length > n || s[i + 1] < low || s[i + 1] > high) return i;
        for (std::size_t k = 2; k < length; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

// The text converted from GB18030 to UTF-8, or nothing when it is not
// GB18030.  glibc's iconv knows GB18030, a superset of GBK and GB2312.
std::optional<std::string> FromGb18030(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 2 + 16, '\0');  // a GB18030 character grows to at most 2x
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
              iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::string_view> RawLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The message for a text that is neither UTF-8 nor GB18030: the first line
// that is neither, or, when every line is one or the other, the two lines
// whose encodings disagree.
std::string UndecodableMessage(std::string_view text, std::string_view kind) {
    const std::vector<std::string_view> lines = RawLines(text);
    std::size_t firstNotUtf8 = 0, firstNotGb = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool utf8 = FirstInvalidUtf8(lines[i]) == std::string_view::npos;
        const bool gb = FromGb18030(lines[i]).has_value();
        if (!utf8 && !gb) {
            return std::string(kind) + "第 " + std::to_string(i + 1) +
                   " 行既不是 UTF-8 也不是 GB18030 (GBK) 编码的文字, 无法读取; 请检查这一行或换用 UTF-8 保存";
        }
        if (!utf8 && firstNotUtf8 == 0) firstNotUtf8 = i + 1;
        if (!gb && firstNotGb == 0) firstNotGb = i + 1;
    }
    return std::string(kind) + "混用了两种编码: 第 " + std::to_string(firstNotUtf8) + " 行不是 UTF-8, 第 " +
           std::to_string(firstNotGb) + " 行不是 GB18030 (GBK); 请用一种编码 (最好是 UTF-8) 保存整个文件";
}

}  // namespace

std::vector<std::string> SplitJobLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::string DecodeJobText(const std::string& bytes, std::string* notice, std::string_view kind) {
    if (notice != nullptr) notice->clear();
    std::string_view text = bytes;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    const std::string name(kind);
    // Notepad's "Unicode" is UTF-16: its byte order mark says so, and
    // without one its zero bytes do; no text file of answers has them.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        throw InputError(name + "是 UTF-16 编码, 无法读取; 请另存为 UTF-8");
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        const auto line =
            std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n') + 1;
        throw InputError(name + "第 " + std::to_string(line) +
                         " 行含有零字节: 这不是文本文件, 或是 UTF-16 编码, 无法读取; 请另存为 UTF-8");
    }
    if (FirstInvalidUtf8(text) == std::string_view::npos) return std::string(text);

    std::optional<std::string> converted = FromGb18030(text);
    if (!converted) throw InputError(UndecodableMessage(text, kind));
    if (notice != nullptr) *notice = name + "不是 UTF-8 编码, 已按 GB18030 (GBK) 读取";
    return *converted;
}

std::vector<std::string> DecodeJobAnswers(const std::string& bytes, std::string* notice) {
    const std::string text = DecodeJobText(bytes, notice, "作业文件");
    // An empty file is no job: run, it would only stop at the first prompt,
    // and in the window it would replace the answers in hand by nothing.
    if (text.empty()) throw InputError("作业文件是空的, 没有一个答案");
    return SplitJobLines(text);
}

}  // namespace korvanet
