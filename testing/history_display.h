// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A recording display that also keeps every write in order, for the tests
// that follow the sequence of a box (written, emptied when refused, written
// again).  A batch job has no use for the sequence, so the display it uses
// does not keep it.

#include <string>
#include <vector>

#include "core/scripted_session.h"

namespace korvanet {

class HistoryDisplay : public RecordingDisplay {
public:
    void SetText(const std::string& box, const std::string& text) override {
        RecordingDisplay::SetText(box, text);
        history_.push_back(box + "=" + text);
    }

    // Every write in order, "box=text".
    const std::vector<std::string>& History() const { return history_; }

private:
    std::vector<std::string> history_;
};

}  // namespace korvanet
