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
    static const std::set<std::string> kEntered = {"Text1",  "Text2",  "Text3", "Text4",
                                                   "Text43", "Text46", "Text49"};
    if (kEntered.count(box) || box.rfind("Text9(", 0) == 0 || box.rfind("Text10(", 0) == 0) return true;
    return dNotKnown && (box == "Text5" || box == "Text6");
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
        if (!WrittenByInput(box, dNotKnown) && box != "Text40") expectedOrder.push_back(box);
    }
    // Every box the adjustment writes holds the reference text in the end ...
    for (const std::string& box : display.Order()) {
        ASSERT_TRUE(fields.count(box)) << box << " is not among the reference boxes";
        EXPECT_EQ(display.Text(box), fields[box]) << box << " of " << GetParam();
    }
    // ... and the boxes it writes first come in the reference order.
    std::vector<std::string> order;
    for (const std::string& box : display.Order())
        if (box != "Text40" && !WrittenByInput(box, dNotKnown)) order.push_back(box);
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
