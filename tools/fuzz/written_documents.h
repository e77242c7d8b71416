// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a reader of each document the program writes would make of it, for
// the subset of HTML, SVG and CSV the writers produce: the elements of a
// markup text in the order they open, or nothing when it is not well-formed;
// the records of a CSV text, or nothing when its quoting is broken.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanet::fuzz {

// Well-formed: every element closed in order (the HTML void elements meta,
// br, hr, img, link and col excepted when `html`), attribute values quoted,
// every & the start of a character reference, and no < in text or in a
// value.  An HTML <style> holds raw text up to its end tag; a leading XML
// declaration, a DOCTYPE and comments are passed over.
std::optional<std::vector<std::string>> ElementsOf(std::string_view markup, bool html);

// RFC 4180 with CRLF record ends, after an optional byte order mark.
std::optional<std::vector<std::vector<std::string>>> CsvRecords(std::string_view csv);

}  // namespace korvanet::fuzz
