// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one operation the commands use on the window: set the text of a named
// text box.  The window implements it; the batch tool and the tests record it.
// Nothing ever reads a text box back.

#include <string>

namespace korvanet {

class TextDisplay {
public:
    virtual ~TextDisplay() = default;
    // `box` is a control name ("Text23") or an array element ("Text9(0)").
    virtual void SetText(const std::string& box, const std::string& text) = 0;
};

// "Text9", 3 -> "Text9(3)"
inline std::string ArrayBox(const std::string& array, int index) {
    return array + "(" + std::to_string(index) + ")";
}

}  // namespace korvanet
