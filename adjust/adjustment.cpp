// SPDX-License-Identifier: GPL-3.0-or-later
// The Compute command after the input: preparation, misclosures, condition
// equations, normal equations, corrections and precision, in this order.
// Each step's numbers come from the pure functions of its own file; this file
// puts them into the record and shows each value the moment it is known.
//
// Notation: angles in decimal degrees, angle corrections and misclosures of
// angle sums in arc seconds, sides and coordinates in metres, side
// corrections and mean errors in millimetres; azimuths from +x (north)
// towards +y (east).  Observations 0 = orientation angle, 1..8 = angles,
// 9..14 = sides.

#include "adjust/adjustment.h"

#include <cmath>
#include <string>
#include <string_view>

#include "adjust/adjustment_model.h"
#include "adjust/condition_equations.h"
#include "adjust/corrections.h"
#include "adjust/misclosures.h"
#include "adjust/normal_equations.h"
#include "adjust/precision.h"
#include "adjust/preparation.h"
#include "adjust/quality_assessment.h"
#include "adjust/quality_weight_functions.h"
#include "adjust/result_texts.h"
#include "core/display_text.h"
#include "core/form_boxes.h"
#include "core/korvanet_error.h"
#include "core/number_text.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

PointD CaseOfD(const SurveyState& state) {
    if (DIsKnownPoint(state)) return PointD::Known;
    if (DIsNotKnownPoint(state)) return PointD::NotKnown;
    throw AdjustmentError(
        "已知点 D 的座标只有一个为零: 纵座标和横座标都为零表示 D 点不是已知点, "
        "都不为零表示 D 点是已知点。请重新输入已知点 D 的座标。");
}

class AdjustmentRun {
public:
    AdjustmentRun(SurveyState& state, RunValues& run, TextDisplay& display, PrecisionScale scale)
        : state_(state), run_(run), display_(display), d_(CaseOfD(state)) {
        quality_.scale = scale;
    }

    void Preparation();
    void Misclosures();
    void ConditionEquations();
    void NormalEquations();
    void Corrections();
    void Precision();
    QualityCheck Quality() const { return AssessQuality(state_, quality_); }

private:
    // Every number is checked before it reaches the window: a value that is no
    // finite number ends the run with its name instead of showing garbage.
    // `what` is a view: its text is only needed on the way out.
    void Show(const std::string& box, double value, std::string_view what, const std::string& text) {
        if (!std::isfinite(value)) {
            throw AdjustmentError(std::string(what) + "的计算结果不是有限数值 ( " +
                                  (std::isnan(value) ? "非数值" : "无穷大") +
                                  " ): 输入的数据使计算溢出或失去意义, 无法显示。请检查输入的数据。");
        }
        display_.SetText(box, text);
    }
    double WeightReciprocal(int r, const char* what);

    SurveyState& state_;
    RunValues& run_;
    TextDisplay& display_;
    const PointD d_;
    SideWeights weights_;
    SideAzimuths azimuths_{};
    ConditionMatrix A_{};
    NormalMatrix N_{};
    NormalMatrix normalWork_{};
    CorrectionSums sums_;
    QualityInputs quality_;  // what the quality check needs beyond the record
};

void AdjustmentRun::Preparation() {
    // The orientation angle's reciprocal weight comes from the input: 1 for a
    // measured Q1, 0 for none.  A negative one would be a negative variance.
    const float q0 = run_.ReciprocalWeights[0];
    if (!(q0 >= 0)) {
        throw AdjustmentError("定向角 Q1 的权倒数为负数或无意义 ( " + FormatGeneral(q0, 7) +
                              " ): 观测值的方差不能为负。");
    }
    if (d_ == PointD::Known) {
        const double xd = NumberOrThrow(state_.xd, "已知点 D 的纵座标");
        const double yd = NumberOrThrow(state_.yd, "已知点 D 的横座标");
        const double dx = xd - state_.X[0];
        const double dy = yd - state_.Y[0];
        if (dx == 0 && dy == 0) {
            throw AdjustmentError("已知点 D 与已知点 A 的座标相同 ( " + state_.xd + " , " + state_.yd +
                                  " ): A 与 D 之间没有边长和方位角, 图形无法定向。请检查两个已知点的座标。");
        }
        run_.OrientationAngle = 0;
        state_.Side[6] = DistanceFromDifferences(dx, dy);
        Show(boxes::kOrientationQ1, state_.Side[6], "由座标反算的边长 S6 ( A-D ) ",
             DerivedSideText(state_.Side[6]));
        const double alpha = AzimuthFromDifferences(dx, dy, state_.Side[6]);
        run_.StartAzimuth = alpha;
        state_.T0 = DegreesToPacked(alpha);
        Show(boxes::kAzimuthT0, state_.T0, "由座标反算的方位角 A-D ", DerivedAzimuthText(state_.T0));
    }
    for (int i = 1; i <= 6; ++i) state_.SideObserved[i] = ToSingle(state_.Side[i]);
    // The observations as typed, in double precision, for their residuals.
    quality_.d = d_;
    quality_.tolerance = state_.Tolerance;
    quality_.orientationAngle = run_.OrientationAngle;
    for (int i = 1; i <= 8; ++i) quality_.observedAngle[i] = state_.Angle[i];
    for (int i = 1; i <= 6; ++i) quality_.observedSide[i] = state_.Side[i];
    weights_ = AprioriSideWeights(state_.Side, state_.Tolerance);
    state_.SideMeanError = weights_.SideMeanError;
    SetReciprocalWeights(run_.ReciprocalWeights, weights_.SideReciprocalWeight);
}

void AdjustmentRun::Misclosures() {
    std::vector<double>& angle = state_.Angle;
    state_.TriangleW[1] = TriangleMisclosure(angle, kFirstTriangle);
    Show(boxes::kTriangleMisclosure1, state_.TriangleW[1], "第一个三角形的角度闭合差",
         SecondsText(state_.TriangleW[1]));
    SpreadTriangleMisclosure(angle, kFirstTriangle, state_.TriangleW[1]);
    state_.TriangleW[2] = TriangleMisclosure(angle, kSecondTriangle);
    Show(boxes::kTriangleMisclosure2, state_.TriangleW[2], "第二个三角形的角度闭合差",
         SecondsText(state_.TriangleW[2]));
    SpreadTriangleMisclosure(angle, kSecondTriangle, state_.TriangleW[2]);

    state_.w[1] = FigureMisclosure(angle);
    Show(boxes::ConditionMisclosure(1), state_.w[1], "闭合差 w(1) ", SecondsText(state_.w[1]));
    static const char* const kNames[10] = {"",
                                           "",
                                           "闭合差 w(2) ",
                                           "闭合差 w(3) ",
                                           "闭合差 w(4) ",
                                           "闭合差 w(5) ",
                                           "闭合差 w(6) ",
                                           "闭合差 w(7) ",
                                           "闭合差 w(8) ",
                                           "闭合差 w(9) "};
    for (int r = 2; r <= kLastCondition; ++r) {
        state_.w[r] = SineMisclosure(r, angle, state_.Side);
        Show(boxes::ConditionMisclosure(r), state_.w[r] * 1000.0f, kNames[r],
             MisclosureMillimetreText(state_.w[r]));
    }
}

void AdjustmentRun::ConditionEquations() {
    azimuths_ = ApproximateAzimuths(state_, run_, d_);
    TraverseApproximateCoordinates(state_, azimuths_);
    A_ = FormConditionMatrix(state_, azimuths_, run_.ReciprocalWeights[0], d_);
    quality_.A = A_;
    if (d_ == PointD::NotKnown) {
        quality_.dFunctions = DWeightFunctions(state_, azimuths_, run_.ReciprocalWeights[0]);
    }
}

// The block of the kept conditions is reduced once, with x of B (column 10 of
// N, already in place); y of B, x and y of C and then the misclosures only
// bring their own column (see ReduceRightHandColumn).
double AdjustmentRun::WeightReciprocal(int r, const char* what) {
    if (r == 10) {
        normalWork_ = N_;
        ReduceKeptConditions(normalWork_);
    } else {
        for (int i = 1; i <= kLastCondition; ++i) normalWork_[i][kRightHandColumn] = N_[i][r];
        ReduceRightHandColumn(normalWork_);
    }
    return ReducedWeightReciprocalOf(N_, normalWork_, r, what);
}

void AdjustmentRun::NormalEquations() {
    N_ = FormNormalMatrix(A_, run_.ReciprocalWeights, ObservationsInRange(d_));
    quality_.q = run_.ReciprocalWeights;
    quality_.range = ObservationsInRange(d_);
    state_.InvPxB = WeightReciprocal(10, "B 点纵座标的权倒数 1/px(b) ");
    Show(boxes::kWeightReciprocalXOfB, state_.InvPxB, "权倒数 1/px(b) ", WeightReciprocalText(state_.InvPxB));
    state_.InvPyB = WeightReciprocal(11, "B 点横座标的权倒数 1/py(b) ");
    Show(boxes::kWeightReciprocalYOfB, state_.InvPyB, "权倒数 1/py(b) ", WeightReciprocalText(state_.InvPyB));
    state_.InvPxC = WeightReciprocal(12, "C 点纵座标的权倒数 1/px(c) ");
    Show(boxes::kWeightReciprocalXOfC, state_.InvPxC, "权倒数 1/px(c) ", WeightReciprocalText(state_.InvPxC));
    state_.InvPyC = WeightReciprocal(13, "C 点横座标的权倒数 1/py(c) ");
    Show(boxes::kWeightReciprocalYOfC, state_.InvPyC, "权倒数 1/py(c) ", WeightReciprocalText(state_.InvPyC));

    for (int i = 1; i <= kLastCondition; ++i) normalWork_[i][kRightHandColumn] = state_.w[i];
    ReduceRightHandColumn(normalWork_);
    const ConditionVector k = BackSubstituteKeptConditions(normalWork_);
    for (int i = 1; i <= kLastCondition; ++i) state_.k[i] = k[i];
}

void AdjustmentRun::Corrections() {
    sums_ = CorrectObservations(state_, A_, run_.ReciprocalWeights, weights_.SideReciprocalWeight);
    quality_.v = sums_.v;
    quality_.sideReciprocalWeight = weights_.SideReciprocalWeight;
    azimuths_ = AdjustCoordinates(state_, run_, d_);
}

void AdjustmentRun::Precision() {
    const float m0 = UnitWeightError(sums_.SumVV, sums_.SumPVV, state_.TriangleW[1], state_.TriangleW[2]);
    state_.M0 = m0;
    Show(boxes::kUnitWeightError, m0, "单位权中误差 m0 ", UnitWeightErrorText(m0));
    state_.SideMeanError = MeanErrorFromReciprocalWeight(m0, weights_.SideReciprocalWeight);
    Show(boxes::kSideMeanError, state_.SideMeanError, "边长中误差", MillimetreText(state_.SideMeanError));

    state_.MxB = MeanErrorFromReciprocalWeight(m0, state_.InvPxB);
    Show(boxes::kMeanErrorXOfB, state_.MxB, "B 点纵座标中误差", MillimetreText(state_.MxB));
    state_.MyB = MeanErrorFromReciprocalWeight(m0, state_.InvPyB);
    Show(boxes::kMeanErrorYOfB, state_.MyB, "B 点横座标中误差", MillimetreText(state_.MyB));
    state_.MxC = MeanErrorFromReciprocalWeight(m0, state_.InvPxC);
    Show(boxes::kMeanErrorXOfC, state_.MxC, "C 点纵座标中误差", MillimetreText(state_.MxC));
    state_.MyC = MeanErrorFromReciprocalWeight(m0, state_.InvPyC);
    Show(boxes::kMeanErrorYOfC, state_.MyC, "C 点横座标中误差", MillimetreText(state_.MyC));
    state_.MdB = PointError(state_.MxB, state_.MyB);
    Show(boxes::kPointErrorB, state_.MdB, "B 点点位中误差", MillimetreText(state_.MdB));
    state_.MdC = PointError(state_.MxC, state_.MyC);
    Show(boxes::kPointErrorC, state_.MdC, "C 点点位中误差", MillimetreText(state_.MdC));

    // The table of points: A as entered, B, C and D as adjusted.
    const boxes::PointRow& a = boxes::kPointTable[0];
    display_.SetText(a.name, EnteredText(state_.PointNames[0]));
    display_.SetText(a.x, EnteredText(state_.xa));
    display_.SetText(a.y, EnteredText(state_.ya));
    static const char* const kNames[4][2] = {{"", ""},
                                             {"B 点平差后的纵座标", "B 点平差后的横座标"},
                                             {"C 点平差后的纵座标", "C 点平差后的横座标"},
                                             {"D 点平差后的纵座标", "D 点平差后的横座标"}};
    for (int p = 1; p <= 3; ++p) {
        const boxes::PointRow& row = boxes::kPointTable[static_cast<std::size_t>(p)];
        display_.SetText(row.name, EnteredText(state_.PointNames[p]));
        Show(row.x, state_.X[p], kNames[p][0], CoordinateText(state_.X[p]));
        Show(row.y, state_.Y[p], kNames[p][1], CoordinateText(state_.Y[p]));
    }
    if (d_ == PointD::NotKnown) {
        // A once more, reached around the figure over side 6.
        const boxes::PointRow& around = boxes::kPointTable[4];
        display_.SetText(around.name, EnteredText(state_.PointNames[0]));
        Show(around.x, state_.X[4], "绕图形推算回 A 点的纵座标", CoordinateText(state_.X[4]));
        Show(around.y, state_.Y[4], "绕图形推算回 A 点的横座标", CoordinateText(state_.Y[4]));
    }
}

}  // namespace

QualityCheck RunAdjustment(SurveyState& state, RunValues& values, TextDisplay& display,
                           PrecisionScale scale) {
    AdjustmentRun run(state, values, display, scale);
    run.Preparation();
    run.Misclosures();
    run.ConditionEquations();
    run.NormalEquations();
    run.Corrections();
    run.Precision();
    return run.Quality();
}

}  // namespace korvanet
