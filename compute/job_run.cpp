// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/job_run.h"

#include "compute/compute_run.h"
#include "core/korvanet_error.h"
#include "core/number_text.h"
#include "entry/job_layout.h"

namespace korvanet {

JobRun RunJob(std::vector<std::string> answers, SurveyState& state, TextDisplay& display,
              PrecisionScale scale) {
    JobRun run{ScriptedPrompter::ForJob(std::move(answers)), std::nullopt, false, std::nullopt};
    try {
        QualityCheck quality = RunCompute(state, run.prompter, display, scale);
        if (run.prompter.AnswersLeft() > 0) {
            // A job whose lines are out of order can still complete; the
            // surplus lines are the sign, and the run must not pass as good.
            state.RunCompleted = false;
            throw KorvanetError("作业文件多出 " + std::to_string(run.prompter.AnswersLeft()) +
                                " 个答案: 计算已结束, 多余的行没有用到, 请检查作业文件的顺序");
        }
        run.quality = std::move(quality);
    } catch (const AnswersExhausted& e) {
        run.failure = e.what();
        run.ranOutOfAnswers = true;
    } catch (const KorvanetError& e) {
        run.failure = e.what();
    }
    return run;
}

std::size_t ValuesAskedBy(const std::vector<std::string>& job) {
    // A job too short to tell may still be one whose D is to be determined.
    const std::size_t xd = PlaceOf(FigureValue::XOfD), yd = PlaceOf(FigureValue::YOfD);
    if (job.size() <= yd) return AnswersAsked(false);
    return AnswersAsked(!(ReadsAsZero(job[xd]) && ReadsAsZero(job[yd])));
}

}  // namespace korvanet
