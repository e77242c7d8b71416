#pragma once
// The modal prompt that the input phase asks its values with.  The window
// implements it with an input box; the batch tool and the tests script it.

#include <string>

namespace korvanet {

// Shown in the title bar of every prompt that has no title of its own.
inline constexpr const char* kApplicationTitle = "Korvanet";

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows `message` with `title` (empty: the application title) and an empty
    // edit field; returns the typed text, or the empty text on Cancel.
    virtual std::string Ask(const std::string& message, const std::string& title) = 0;
};

}  // namespace korvanet
