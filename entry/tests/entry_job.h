// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answers of one input phase, for the tests: a plausible braced
// quadrilateral that each test changes where it needs to.

#include <cstddef>
#include <string>
#include <vector>

namespace korvanet::testing {

struct EntryJob {
    std::string tolerance = "2.5";
    std::string xa = "4324901.631";
    std::string ya = "520103.5";
    std::string xd = "4326012.25";
    std::string yd = "521500.75";
    std::string t0 = "120.1530";
    std::string q1 = "-10.3";
    std::vector<std::string> names = {"张家庄", "B2", "C3", "D4"};
    std::vector<std::string> angles = {"45.3030", "50.1215", "40.0520", "44.2135",
                                       "38.4510", "52.3040", "46.1025", "42.3405"};
    std::vector<std::string> sides = {"1234.567", "1500.25", "1789.4", "1320.875", "1412.3", "1655.05"};
    // Whether T0 and Q1 are asked and how many sides are: the run decides,
    // the job only has to hold the answers.
    bool asksOrientation = false;
    int sideCount = 5;

    static EntryJob DKnown() { return EntryJob(); }
    static EntryJob DNotKnown() {
        EntryJob job;
        // Moved in whole: g++ 12 misreads an assignment from a short literal (-Wrestrict).
        job.xd = std::string("0");
        job.yd = std::string("0");
        job.asksOrientation = true;
        job.sideCount = 6;
        return job;
    }

    // The answers of the value prompts in the order they are asked.
    std::vector<std::string> ValueAnswers() const {
        std::vector<std::string> answers = {tolerance, xa, ya, xd, yd};
        if (asksOrientation) {
            answers.push_back(t0);
            answers.push_back(q1);
        }
        answers.insert(answers.end(), names.begin(), names.end());
        answers.insert(answers.end(), angles.begin(), angles.end());
        answers.insert(answers.end(), sides.begin(), sides.begin() + sideCount);
        return answers;
    }

    // Answers for every prompt, confirmations included: each value confirmed
    // with Enter, except that value number `refused` (0 = the tolerance, which
    // has no confirmation; 1 = x of A, ...) is followed by `afterRefused`
    // instead: its confirmation answers, correction cycles and all.
    std::vector<std::string> AllPromptAnswers(std::size_t refused = 0,
                                              const std::vector<std::string>& afterRefused = {}) const {
        const std::vector<std::string> values = ValueAnswers();
        std::vector<std::string> answers = {values.front()};
        for (std::size_t i = 1; i < values.size(); ++i) {
            answers.push_back(values[i]);
            if (i == refused) {
                answers.insert(answers.end(), afterRefused.begin(), afterRefused.end());
            } else {
                answers.push_back("");
            }
        }
        return answers;
    }
};

}  // namespace korvanet::testing
