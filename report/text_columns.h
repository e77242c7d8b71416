// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How many character columns a text takes in a Song-style face: an East Asian
// wide or full-width character (Chinese, kana, Hangul, full-width forms) takes
// two, every other character one.

#include <string_view>

namespace korvanet {

// Columns of one Unicode code point: 2 for wide and full-width, else 1.
int CodePointColumns(char32_t codePoint);

// Columns of a UTF-8 text.  A byte that starts no valid UTF-8 sequence counts
// as one column of its own.
int TextColumns(std::string_view utf8);

}  // namespace korvanet
