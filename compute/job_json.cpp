// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/job_json.h"

#include <nlohmann/json.hpp>

#include "adjust/quality_check.h"

namespace korvanet {
namespace {

using Json = nlohmann::ordered_json;  // the fields in the order a reader expects them

const char* KindName(ObservationKind kind) {
    switch (kind) {
        case ObservationKind::Orientation:
            return "orientation";
        case ObservationKind::Angle:
            return "angle";
        default:
            return "side";
    }
}

Json Optional(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Json PointJson(const PointCheck& p) {
    static const char* const kIds[4] = {"A", "B", "C", "D"};
    Json j = {{"id", kIds[p.point]}, {"name", p.name}, {"known", p.known}, {"x", p.x}, {"y", p.y}};
    if (p.precision) {
        const PointPrecision& m = *p.precision;
        j["sx_mm"] = m.sx;
        j["sy_mm"] = m.sy;
        j["sp_mm"] = m.sp;
        j["ellipse"] = {{"a_mm", m.ellipse.a}, {"b_mm", m.ellipse.b}, {"azimuth_deg", m.ellipse.azimuth}};
    }
    return j;
}

Json ObservationJson(const ObservationCheck& o) {
    return {{"kind", KindName(o.kind)}, {"index", o.index},       {"observed", o.observed},
            {"adjusted", o.adjusted},   {"residual", o.residual}, {"redundancy", o.redundancy},
            {"w", Optional(o.w)}};
}

Json MisclosureJson(const MisclosureCheck& m) {
    return {{"name", MisclosureName(m)}, {"value", m.value}, {"unit", m.seconds ? "arcsec" : "mm"},
            {"mean_error", m.meanError}, {"limit", m.limit}, {"exceeded", m.exceeded}};
}

Json Failed(const std::string& job, const std::string& message) {
    return {{"job", job}, {"completed", false}, {"error", message}};
}

}  // namespace

std::string JobJson(const std::string& job, const JobRun& run, const SurveyState& state) {
    Json j;
    if (run.failure || !run.quality || !state.RunCompleted) {
        j = Failed(job, run.failure.value_or("计算没有完成"));
    } else {
        const QualityCheck& q = *run.quality;
        j = {{"job", job},
             {"completed", true},
             {"tolerance_arcsec", q.tolerance},
             {"m0_arcsec", q.m0},
             {"redundancy", q.redundancy},
             {"global_test",
              {{"statistic", q.global.statistic},
               {"critical", q.global.critical},
               {"passed", q.global.passed}}}};
        if (const ObservationCheck* s = q.Suspect()) {
            j["suspect"] = {{"kind", KindName(s->kind)}, {"index", s->index}, {"w", Optional(s->w)}};
        } else {
            j["suspect"] = nullptr;
        }
        j["points"] = Json::array();
        for (const PointCheck& p : q.points) j["points"].push_back(PointJson(p));
        j["observations"] = Json::array();
        for (const ObservationCheck& o : q.observations) j["observations"].push_back(ObservationJson(o));
        j["misclosures"] = Json::array();
        for (const MisclosureCheck& m : q.misclosures) j["misclosures"].push_back(MisclosureJson(m));
    }
    // A job file in another encoding must not make the output invalid UTF-8.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string FailedJobJson(const std::string& job, const std::string& message) {
    return Failed(job, message).dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace korvanet
