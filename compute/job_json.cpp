// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/job_json.h"

#include <nlohmann/json.hpp>

#include "adjust/blunder_advice.h"
#include "adjust/order_classes.h"
#include "adjust/quadrilateral.h"
#include "adjust/quality_check.h"
#include "compute/class_check_texts.h"

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
    Json j = {{"id", quadrilateral::kPointLetters[p.point]},
              {"name", p.name},
              {"known", p.known},
              {"x", p.x},
              {"y", p.y}};
    if (p.precision) {
        const PointPrecision& m = *p.precision;
        j["sx_mm"] = m.sx;
        j["sy_mm"] = m.sy;
        j["sp_mm"] = m.sp;
        j["ellipse"] = {{"a_mm", m.ellipse.a}, {"b_mm", m.ellipse.b}, {"azimuth_deg", m.ellipse.azimuth}};
    }
    return j;
}

Json ObservationJson(const ObservationCheck& o, const std::optional<double>& m0Without) {
    return {{"kind", KindName(o.kind)},
            {"index", o.index},
            {"observed", o.observed},
            {"adjusted", o.adjusted},
            {"residual", o.residual},
            {"redundancy", o.redundancy},
            {"w", Optional(o.w)},
            {"mdb", Optional(o.mdb)},
            {"external_mm", Optional(o.external)},
            {"m0_without", Optional(m0Without)}};
}

// The advice on blunders and weights at the top of a job.
void AddBlunderAdvice(Json& j, const BlunderAdvice& a) {
    j["snooping"] = Json::array();
    for (const SnoopedObservation& s : a.snooping)
        j["snooping"].push_back(
            {{"kind", KindName(s.kind)}, {"index", s.index}, {"w", s.w}, {"m0_after", s.m0After}});
    if (const auto& c = a.variance.components) {
        j["variance_components"] = {
            {"angles",
             {{"variance_factor", c->angles.factor},
              {"redundancy", c->angles.redundancy},
              {"sigma_arcsec", c->angleSigma}}},
            {"sides", {{"variance_factor", c->sides.factor}, {"redundancy", c->sides.redundancy}}},
            {"iterations", c->iterations}};
    } else {
        j["variance_components"] = nullptr;
    }
}

// The figures an order class judges, for every completed job.
void AddFigure(Json& j, const FigureSummary& f) {
    j["sides"] = Json::array();
    for (const SidePrecision& s : f.sides)
        j["sides"].push_back({{"index", s.index},
                              {"from", quadrilateral::kPointLetters[s.from]},
                              {"to", quadrilateral::kPointLetters[s.to]},
                              {"adjusted_m", s.adjusted},
                              {"sigma_mm", s.sigma},
                              {"relative_error", s.relative},
                              {"azimuth_sigma_arcsec", s.azimuthSigma}});
    j["weakest_side"] = {{"index", f.Weakest().index}, {"relative_error", f.Weakest().relative}};
    j["relative_ellipses"] = Json::array();
    for (const RelativeEllipse& e : f.relativeEllipses)
        j["relative_ellipses"].push_back({{"from", quadrilateral::kPointLetters[e.from]},
                                          {"to", quadrilateral::kPointLetters[e.to]},
                                          {"a_mm", e.a},
                                          {"b_mm", e.b},
                                          {"azimuth_deg", e.azimuth},
                                          {"mean_error_mm", e.meanError}});
    j["triangles"] = Json::array();
    for (const TriangleClosure& t : f.triangles)
        j["triangles"].push_back({{"name", t.name}, {"closure_arcsec", t.closure}});
    j["ferrero_arcsec"] = f.ferrero;
    j["smallest_angle"] = {{"index", f.smallestAngle}, {"degrees", f.smallestAngleDegrees}};
}

void AddClass(Json& j, const OrderClass& c, const ClassCompliance& compliance) {
    j["class"] = {{"name", c.name},
                  {"standard", c.standard},
                  {"clause", c.clause},
                  {"mean_side_km", Optional(c.meanSideKm)},
                  {"angle_mean_error_arcsec", Optional(c.angleMeanError)},
                  {"measured_sides_relative_error", Optional(c.measuredSides)},
                  {"weakest_side_relative_error", Optional(c.weakestSide)},
                  {"triangle_closure_arcsec", Optional(c.triangleClosure)},
                  {"smallest_angle_deg", Optional(c.smallestAngle)},
                  {"smallest_angle_exception_deg", Optional(c.smallestAngleException)}};
    j["checks"] = Json::array();
    for (const ClassCheck& check : compliance.checks)
        j["checks"].push_back({{"kind", CheckKindKey(check.kind)},
                               {"item", check.item},
                               {"value", check.value},
                               {"limit", check.limit},
                               {"passed", check.passed},
                               {"note", check.note}});
    j["not_checked"] = Json::array();
    for (CheckKind kind : compliance.notChecked) j["not_checked"].push_back(CheckKindKey(kind));
    j["compliant"] = compliance.compliant;
}

Json MisclosureJson(const MisclosureCheck& m) {
    return {{"name", MisclosureName(m)}, {"value", m.value}, {"unit", m.seconds ? "arcsec" : "mm"},
            {"mean_error", m.meanError}, {"limit", m.limit}, {"exceeded", m.exceeded}};
}

Json Failed(const std::string& job, const std::string& message) {
    return {{"job", job}, {"completed", false}, {"error", message}};
}

}  // namespace

std::string JobJson(const std::string& job, const JobRun& run, const SurveyState& state,
                    const OrderClass* orderClass) {
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
        const BlunderAdvice advice = AdviseOnBlunders(q);
        AddBlunderAdvice(j, advice);
        j["points"] = Json::array();
        for (const PointCheck& p : q.points) j["points"].push_back(PointJson(p));
        j["observations"] = Json::array();
        for (std::size_t i = 0; i < q.observations.size(); ++i)
            j["observations"].push_back(ObservationJson(q.observations[i], advice.m0Without[i]));
        j["misclosures"] = Json::array();
        for (const MisclosureCheck& m : q.misclosures) j["misclosures"].push_back(MisclosureJson(m));
        AddFigure(j, q.figure);
        if (orderClass != nullptr) AddClass(j, *orderClass, CheckOrderClass(q, *orderClass));
    }
    // A job file in another encoding must not make the output invalid UTF-8.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string FailedJobJson(const std::string& job, const std::string& message) {
    return Failed(job, message).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string DesignJson(const std::string& job, const JobRun& run, const OrderClass* orderClass) {
    Json j;
    if (run.failure || !run.quality) {
        j = Failed(job, run.failure.value_or("精度估算没有完成"));
        j["design"] = true;
    } else {
        // The figures a design has: no residuals, no tests, no closures, only
        // what the shape and the weights give, scaled by sigma0.
        const QualityCheck& q = *run.quality;
        j = {{"job", job},
             {"completed", true},
             {"design", true},
             {"title", "精度估算"},
             {"tolerance_arcsec", q.tolerance},
             {"sigma0_arcsec", q.unit},
             {"redundancy", q.redundancy}};
        j["points"] = Json::array();
        for (const PointCheck& p : q.points) j["points"].push_back(PointJson(p));
        j["observations"] = Json::array();
        for (const ObservationCheck& o : q.observations)
            j["observations"].push_back({{"kind", KindName(o.kind)},
                                         {"index", o.index},
                                         {"observed", o.observed},
                                         {"redundancy", o.redundancy},
                                         {"mdb", Optional(o.mdb)},
                                         {"external_mm", Optional(o.external)}});
        AddFigure(j, q.figure);
        j.erase("triangles");
        j.erase("ferrero_arcsec");
        if (orderClass != nullptr) AddClass(j, *orderClass, CheckOrderClass(q, *orderClass));
    }
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace korvanet
