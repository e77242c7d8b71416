// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/text_columns.h"

#include <cstddef>

namespace korvanet {
namespace {

struct Range {
    char32_t first, last;
};

// The wide (W) and full-width (F) blocks of the East Asian Width property.
constexpr Range kWide[] = {
    {0x1100, 0x115F},                      // Hangul Jamo initial consonants
    {0x231A, 0x231B},   {0x2329, 0x232A},  // watch, hourglass, angle brackets
    {0x2E80, 0x303E},  // CJK radicals, Kangxi radicals, ideographic description, CJK symbols
    {0x3041, 0x33FF},  // kana, Bopomofo, Hangul compatibility, Kanbun, enclosed CJK, CJK compatibility
    {0x3400, 0x4DBF},  // CJK extension A
    {0x4E00, 0x9FFF},  // CJK unified ideographs
    {0xA000, 0xA4CF},  // Yi
    {0xA960, 0xA97F},  // Hangul Jamo extended A
    {0xAC00, 0xD7A3},  // Hangul syllables
    {0xF900, 0xFAFF},  // CJK compatibility ideographs
    {0xFE10, 0xFE19},  // vertical forms
    {0xFE30, 0xFE6F},  // CJK compatibility forms, small form variants
    {0xFF00, 0xFF60},  // full-width ASCII forms
    {0xFFE0, 0xFFE6},  // full-width signs
    {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF},  // Tangut, Khitan
    {0x1B000, 0x1B2FF},                      // kana supplement and extensions, Nushu
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF},  // enclosed ideographic supplement
    {0x1F300, 0x1F64F},                      // pictographs and emoticons
    {0x1F680, 0x1F6FF},                      // transport and map symbols
    {0x1F900, 0x1F9FF},                      // supplemental pictographs
    {0x1FA70, 0x1FAFF},                      // symbols and pictographs extended A
    {0x20000, 0x2FFFD},                      // CJK extensions B to F, compatibility supplement
    {0x30000, 0x3FFFD},                      // CJK extensions G and H
};

// Decodes the UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are no valid sequence.
std::size_t Decode(std::string_view text, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

int CodePointColumns(char32_t codePoint) {
    for (const Range& r : kWide) {
        if (codePoint < r.first) return 1;  // the table is sorted
        if (codePoint <= r.last) return 2;
    }
    return 1;
}

int TextColumns(std::string_view utf8) {
    int columns = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t codePoint = 0;
        const std::size_t length = Decode(utf8, i, codePoint);
        if (length == 0) {
            ++columns;
            ++i;
        } else {
            columns += CodePointColumns(codePoint);
            i += length;
        }
    }
    return columns;
}

}  // namespace korvanet
