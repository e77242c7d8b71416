// SPDX-License-Identifier: GPL-3.0-or-later
// The engine against the boxes of the reference jobs, which an independent
// implementation computed from the same answers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "adjust/adjustment.h"
#include "adjust/tests/engine_fixtures.h"
#include "core/form_boxes.h"

namespace korvanet::testing {
namespace {

std::string ReferenceDir() { return KORVANET_REFERENCE_DIR; }

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The boxes the input phase writes first: the entered values and the names
// (the adjustment writes the names again in the table of points).
bool WrittenByInput(const std::string& box, bool dNotKnown) {
    static const std::set<std::string> kEntered = {boxes::kXOfA,
                                                   boxes::kYOfA,
                                                   boxes::kXOfD,
                                                   boxes::kYOfD,
                                                   boxes::kPointTable[1].name,
                                                   boxes::kPointTable[2].name,
                                                   boxes::kPointTable[3].name};
    const auto inArray = [&](const char* array) { return box.rfind(std::string(array) + "(", 0) == 0; };
    if (kEntered.count(box) || inArray(boxes::kObservedAngles) || inArray(boxes::kObservedSides)) return true;
    return dNotKnown && (box == boxes::kAzimuthT0 || box == boxes::kOrientationQ1);
}

class ReferenceJob : public ::testing::TestWithParam<const char*> {};

TEST_P(ReferenceJob, EveryBoxOfTheAdjustmentMatches) {
    const std::string base = ReferenceDir() + "/" + GetParam();
    const std::vector<std::string> answers = Lines(base + ".txt");
    ASSERT_FALSE(answers.empty()) << "missing " << base << ".txt";
    Job job = JobFromAnswers(answers);
    const bool dNotKnown = DIsNotKnownPoint(job.state);

    BoxRecorder display;
    RunAdjustment(job.state, job.run, display);

    std::map<std::string, std::string> fields;
    std::vector<std::string> expectedOrder;  // boxes the adjustment writes first
    for (const std::string& line : Lines(base + ".fields")) {
        const std::size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        const std::string box = line.substr(0, eq);
        fields[box] = line.substr(eq + 1);
        if (!WrittenByInput(box, dNotKnown) && box != boxes::kPointTable[0].name)
            expectedOrder.push_back(box);
    }
    // Every box the adjustment writes holds the reference text in the end ...
    for (const std::string& box : display.Order()) {
        ASSERT_TRUE(fields.count(box)) << box << " is not among the reference boxes";
        EXPECT_EQ(display.Text(box), fields[box]) << box << " of " << GetParam();
    }
    // ... and the boxes it writes first come in the reference order.
    std::vector<std::string> order;
    for (const std::string& box : display.Order())
        if (box != boxes::kPointTable[0].name && !WrittenByInput(box, dNotKnown)) order.push_back(box);
    EXPECT_EQ(order, expectedOrder);
}

INSTANTIATE_TEST_SUITE_P(Jobs, ReferenceJob,
                         ::testing::Values("known-d", "free-d", "free-d-negative-q1", "free-d-q1-zero"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
}  // namespace korvanet::testing
