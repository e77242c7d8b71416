// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text put into the markup the program writes (the SVG drawing, the HTML
// report): the four characters that would end or open markup are escaped,
// so that a point or job name the user typed is always read as text.

#include <string>
#include <string_view>

namespace korvanet {

inline void AppendEscapedMarkup(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace korvanet
