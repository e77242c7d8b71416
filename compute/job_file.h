#pragma once
// A job file: the answers a surveyor would type into the value prompts of one
// Compute run, one per line, in the order the prompts come.  Confirmations
// are not written; each is answered by Enter.

#include <string>
#include <vector>

namespace korvanet {

// Splits a job (one answer per line; a final newline adds no answer; CR
// before LF is dropped) into its answers.
std::vector<std::string> SplitJobLines(const std::string& text);

}  // namespace korvanet
