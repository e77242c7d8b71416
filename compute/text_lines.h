// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of an instrument's file or a CSV of points, as every importer
// splits them, so that each counts the lines it names in its messages the
// same way: split at '\n', line 1 first, a leading byte order mark dropped;
// a '\r' before the '\n' (CRLF) and blanks or tabs at either end are no part
// of a line's content.

#include <string>
#include <string_view>
#include <vector>

namespace korvanet {

// Every line of `text`, the last one too when it has no '\n'; the text must
// outlive them.  Line n is element n - 1.
std::vector<std::string_view> TextLines(std::string_view text);

// `line` without the blanks, tabs and '\r' at either end.
std::string_view TrimmedLine(std::string_view line);

}  // namespace korvanet
