// SPDX-License-Identifier: GPL-3.0-or-later
#include "adjust/tests/engine_fixtures.h"

#include <cmath>
#include <cstdio>

#include "core/number_text.h"
#include "core/packed_angle.h"

namespace korvanet::testing {

namespace {

std::string Text(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

}  // namespace

Job JobFromObservations(const Point& a, const std::optional<Point>& knownD, const FigureObservations& obs,
                        float tolerance, float q0) {
    Job job;
    SurveyState& s = job.state;
    s.CreateArrays();
    s.Tolerance = tolerance;
    s.xa = Text(a.x);
    s.ya = Text(a.y);
    s.xd = knownD ? Text(knownD->x) : "0";
    s.yd = knownD ? Text(knownD->y) : "0";
    if (!knownD) {
        job.run.StartAzimuth = obs.startAzimuth;
        job.run.OrientationAngle = obs.orientationAngle;
        job.run.ReciprocalWeights[0] = q0;
    }
    s.PointNames = {"A", "B", "C", "D", ""};
    for (int i = 1; i <= 8; ++i) {
        s.Angle[i] = obs.angle[i];
        s.AngleEntered[i] = DegreesToPacked(obs.angle[i]);
    }
    job.run.SideCount = knownD ? 5 : 6;
    for (int i = 1; i <= job.run.SideCount; ++i) {
        s.Side[i] = obs.side[i];
        s.SideObserved[i] = static_cast<float>(obs.side[i]);
    }
    s.X[0] = NumberOrThrow(s.xa, "xa");
    s.Y[0] = NumberOrThrow(s.ya, "ya");
    return job;
}

double AzimuthDegrees(const Point& p, const Point& q) {
    double az = std::atan2(q.y - p.y, q.x - p.x) * kTrueDegreesPerRadian;
    if (az < 0) az += 360;
    return az;
}

double Distance(const Point& p, const Point& q) { return std::hypot(q.x - p.x, q.y - p.y); }

namespace {

double Turn(double fromAzimuth, double toAzimuth) {
    double t = fromAzimuth - toAzimuth;
    if (t < 0) t += 360;
    if (t >= 360) t -= 360;
    return t;
}

}  // namespace

void TrueAngles(const Point& A, const Point& B, const Point& C, const Point& D, double angle[9]) {
    auto az = AzimuthDegrees;
    angle[1] = Turn(az(A, C), az(A, B));
    angle[2] = Turn(az(B, A), az(B, D));
    angle[3] = Turn(az(B, D), az(B, C));
    angle[4] = Turn(az(C, B), az(C, A));
    angle[5] = Turn(az(C, A), az(C, D));
    angle[6] = Turn(az(D, C), az(D, B));
    angle[7] = Turn(az(D, B), az(D, A));
    angle[8] = Turn(az(A, D), az(A, C));
}

double Uniform(std::mt19937_64& rng, double low, double high) {
    const double u = static_cast<double>(rng() >> 11) * 0x1.0p-53;
    return low + (high - low) * u;
}

double Gaussian(std::mt19937_64& rng) {
    const double u1 = Uniform(rng, 1e-300, 1.0);
    const double u2 = Uniform(rng, 0.0, 1.0);
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * 3.14159265358979323846 * u2);
}

void TrueSides(const TrueFigure& f, double side[7]) {
    side[0] = 0;
    side[1] = Distance(f.A, f.B);
    side[2] = Distance(f.B, f.D);
    side[3] = Distance(f.B, f.C);
    side[4] = Distance(f.A, f.C);
    side[5] = Distance(f.C, f.D);
    side[6] = Distance(f.A, f.D);
}

TrueFigure RandomFigure(std::mt19937_64& rng) {
    auto round3 = [](double v) { return std::round(v * 1000) / 1000; };
    for (;;) {
        TrueFigure f;
        f.A = {round3(Uniform(rng, 2.5e6, 4.5e6)), round3(Uniform(rng, 3.5e5, 6.5e5))};
        // Directions from A to B, C and D turning clockwise, then distances.
        const double az1 = Uniform(rng, 0, 360) / kTrueDegreesPerRadian;
        const double az4 = az1 + Uniform(rng, 30, 70) / kTrueDegreesPerRadian;
        const double az6 = az4 + Uniform(rng, 30, 70) / kTrueDegreesPerRadian;
        const double s1 = Uniform(rng, 500, 3000), s4 = Uniform(rng, 500, 3000), s6 = Uniform(rng, 500, 3000);
        f.B = {f.A.x + s1 * std::cos(az1), f.A.y + s1 * std::sin(az1)};
        f.C = {f.A.x + s4 * std::cos(az4), f.A.y + s4 * std::sin(az4)};
        f.D = {round3(f.A.x + s6 * std::cos(az6)), round3(f.A.y + s6 * std::sin(az6))};
        double angle[9];
        TrueAngles(f.A, f.B, f.C, f.D, angle);
        bool good = std::fabs(angle[1] + angle[2] + angle[3] + angle[4] - 180) < 1e-6 &&
                    std::fabs(angle[5] + angle[6] + angle[7] + angle[8] - 180) < 1e-6;
        for (int i = 1; i <= 8; ++i) good = good && angle[i] > 15 && angle[i] < 150;
        const double sides[] = {Distance(f.B, f.D), Distance(f.B, f.C), Distance(f.C, f.D)};
        for (double s : sides) good = good && s >= 500 && s <= 3000;
        if (good) return f;
    }
}

}  // namespace korvanet::testing
