// SPDX-License-Identifier: GPL-3.0-or-later
#include "adjust/field_reduction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "adjust/quadrilateral.h"

namespace korvanet {
namespace {

using quadrilateral::kAngleRays;
using quadrilateral::kPointLetters;
using quadrilateral::kSideEnds;

constexpr double kFullCircle = 1296000;  // arc seconds
constexpr double kHalfCircle = 648000;
// The field reduction is the surveyor's own arithmetic on a calculator: the
// sines of zenith angles and the azimuths of the approximate figure take the
// exact pi, not the engine's historical factor.
constexpr double kRadiansPerSecond = std::numbers::pi / kHalfCircle;
constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// Arc seconds into [0, 360 deg).
double Circle(double seconds) {
    double s = std::fmod(seconds, kFullCircle);
    if (s < 0) s += kFullCircle;
    return s >= kFullCircle ? 0 : s;
}

// Arc seconds into (-180 deg, 180 deg].
double Turn(double seconds) {
    double s = Circle(seconds);
    return s > kHalfCircle ? s - kFullCircle : s;
}

double Degrees(double seconds) { return seconds / 3600; }

std::string Letter(int point) { return kPointLetters[static_cast<std::size_t>(point)]; }

// The figure's angle at `at` between `from` and `to`, 0 when it has none.
int AngleAt(int at, int from, int to) {
    for (int k = 1; k <= 8; ++k) {
        const auto& rays = kAngleRays[static_cast<std::size_t>(k)];
        if (rays.at == at && rays.from == from && rays.to == to) return k;
    }
    return 0;
}

// Mean and spread of values that lie close together on the circle, taken
// about the first, so that a set reading 359 deg 59 min and the next 0 deg
// 00 min average as they should.
struct MeanAndSpread {
    double mean = 0;  // arc seconds, [0, 360 deg)
    double spread = 0;
};
MeanAndSpread OnCircle(const std::vector<double>& seconds) {
    const double first = seconds.front();
    double sum = 0, low = 0, high = 0;
    for (double s : seconds) {
        const double d = Turn(s - first);
        sum += d;
        low = std::min(low, d);
        high = std::max(high, d);
    }
    return {Circle(first + sum / static_cast<double>(seconds.size())), high - low};
}

class Checks {
public:
    Checks(std::vector<FieldCheck>& out, bool judged) : out_(out), judged_(judged) {}

    void Add(FieldCheckKind kind, std::string item, double value, const std::optional<FieldLimit>& limit) {
        FieldCheck check{kind, std::move(item), value, std::nullopt, std::nullopt, {}};
        if (!judged_) {
            check.note = "未检核: 未选等级";
        } else if (!limit) {
            check.note = "未检核: 所选等级与仪器在限差表中无此项";
        } else {
            Judge(check, limit->value,
                  limit->standard + " " + limit->clause +
                      (limit->note.empty() ? "" : " (" + limit->note + ")"));
        }
        out_.push_back(std::move(check));
    }

    // A check that holds for every class (the projection distortion) or
    // whose limit is a formula of the measurement (forward-back).
    void AddJudged(FieldCheckKind kind, std::string item, double value, double limit, std::string note) {
        FieldCheck check{kind, std::move(item), value, std::nullopt, std::nullopt, {}};
        Judge(check, limit, std::move(note));
        out_.push_back(std::move(check));
    }

private:
    static void Judge(FieldCheck& check, double limit, std::string note) {
        check.limit = limit;
        check.passed = check.value <= limit;
        check.note = std::move(note);
    }

    std::vector<FieldCheck>& out_;
    bool judged_;
};

// 方向观测法: one set.
ReducedSet ReduceDirectionSet(const FieldSet& set) {
    ReducedSet out;
    const auto& lines = set.lines;
    const bool closed = lines.size() > 2 && lines.back().target == lines.front().target;
    double lowC = 0, highC = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double left = lines[i].left.value;
        const double twoC = Turn(left - lines[i].right.value - kHalfCircle);
        out.lines.push_back({lines[i].target, twoC, Circle(left - twoC / 2), 0});
        lowC = i == 0 ? twoC : std::min(lowC, twoC);
        highC = i == 0 ? twoC : std::max(highC, twoC);
    }
    out.twoCRange = highC - lowC;
    double origin = out.lines.front().mean;
    if (closed) {
        out.closureLeft = std::abs(Turn(lines.back().left.value - lines.front().left.value));
        out.closureRight = std::abs(Turn(lines.back().right.value - lines.front().right.value));
        origin = Circle(origin + Turn(out.lines.back().mean - origin) / 2);
    }
    for (std::size_t i = 1; i + (closed ? 1 : 0) < out.lines.size(); ++i)
        out.lines[i].reduced = Circle(out.lines[i].mean - origin);
    for (ReducedLine& line : out.lines) {
        line.mean = Degrees(line.mean);
        line.reduced = Degrees(line.reduced);
    }
    return out;
}

void ReduceByDirections(const FieldStation& station, ReducedStation& out,
                        std::array<std::optional<double>, 9>& angles, const FieldLimits& limits,
                        Checks& checks) {
    std::vector<int> targets;
    std::array<std::vector<double>, 4> directions;  // arc seconds, by target, over the sets
    for (std::size_t s = 0; s < station.sets.size(); ++s) {
        ReducedSet set = ReduceDirectionSet(station.sets[s]);
        const std::string item = FieldSetItem(station.point, static_cast<int>(s));
        if (set.closureLeft) {
            checks.Add(FieldCheckKind::HalfRoundClosure, item + " 盘左", *set.closureLeft,
                       limits.halfRoundClosure);
            checks.Add(FieldCheckKind::HalfRoundClosure, item + " 盘右", *set.closureRight,
                       limits.halfRoundClosure);
        }
        checks.Add(FieldCheckKind::TwoCRange, item, set.twoCRange, limits.twoCRange);
        const bool closed = set.closureLeft.has_value();
        for (std::size_t i = 0; i + (closed ? 1 : 0) < set.lines.size(); ++i) {
            const int target = set.lines[i].target;
            if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
            directions[static_cast<std::size_t>(target)].push_back(set.lines[i].reduced * 3600);
        }
        out.sets.push_back(std::move(set));
    }
    std::array<std::optional<double>, 4> direction;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const int target = targets[i];
        const std::vector<double>& over = directions[static_cast<std::size_t>(target)];
        const MeanAndSpread m = OnCircle(over);
        ReducedDirection d{target, Degrees(m.mean), std::nullopt};
        if (i > 0 && over.size() > 1) {
            d.spread = m.spread;
            checks.Add(FieldCheckKind::SetSpread, FieldRayItem(station.point, target), m.spread,
                       limits.setSpread);
        }
        direction[static_cast<std::size_t>(target)] = m.mean;
        out.directions.push_back(d);
    }
    for (int k = 1; k <= 8; ++k) {
        const auto& rays = kAngleRays[static_cast<std::size_t>(k)];
        if (rays.at != station.point) continue;
        const auto& from = direction[static_cast<std::size_t>(rays.from)];
        const auto& to = direction[static_cast<std::size_t>(rays.to)];
        if (from && to) angles[static_cast<std::size_t>(k)] = Degrees(Circle(*to - *from));
    }
}

// 测回法: every set is one angle from its first target to its second.
void ReduceByAngles(const FieldStation& station, ReducedStation& out,
                    std::array<std::optional<double>, 9>& angles, const FieldLimits& limits, Checks& checks) {
    out.directionMethod = false;
    std::array<std::vector<double>, 9> byAngle;  // arc seconds
    for (std::size_t s = 0; s < station.sets.size(); ++s) {
        const auto& lines = station.sets[s].lines;
        const int angle = AngleAt(station.point, lines[0].target, lines[1].target);
        if (angle == 0) continue;  // the file refuses it; a book built otherwise reduces what it can
        const double left = Circle(lines[1].left.value - lines[0].left.value);
        const double right = Circle(lines[1].right.value - lines[0].right.value);
        const double half = Turn(right - left);
        const double value = Circle(left + half / 2);
        StationAngle* at = nullptr;
        for (StationAngle& a : out.angles)
            if (a.angle == angle) at = &a;
        if (at == nullptr) at = &out.angles.emplace_back(StationAngle{angle, {}, 0, std::nullopt});
        const int number = static_cast<int>(at->sets.size());
        at->sets.push_back({lines[0].target, lines[1].target, Degrees(left), Degrees(right), std::abs(half),
                            Degrees(value)});
        checks.Add(FieldCheckKind::HalfSetDifference, FieldAngleSetItem(angle, number), std::abs(half),
                   limits.halfSetDifference);
        byAngle[static_cast<std::size_t>(angle)].push_back(value);
    }
    for (StationAngle& a : out.angles) {
        const MeanAndSpread m = OnCircle(byAngle[static_cast<std::size_t>(a.angle)]);
        a.degrees = Degrees(m.mean);
        if (a.sets.size() > 1) {
            a.spread = m.spread;
            checks.Add(FieldCheckKind::AngleSetSpread, FieldAngleItem(a.angle), m.spread,
                       limits.angleSetSpread);
        }
        angles[static_cast<std::size_t>(a.angle)] = a.degrees;
    }
}

// Plane coordinates, metres: x north, y east.
struct Plane {
    double x = 0, y = 0;
};

// The figure's points, near enough to place the sides on the Gauss plane:
// from A and D (or A and the orientation with side A-B) and the reduced
// angles, by the sine rule in the triangles ABD and ABC.
std::optional<std::array<Plane, 4>> ApproximatePoints(const FieldBook& book,
                                                      const std::array<std::optional<double>, 9>& angle,
                                                      const std::optional<double>& sideAB) {
    const auto& a = book.points[0];
    const auto& d = book.points[3];
    for (int k = 1; k <= 8; ++k)
        if (!angle[static_cast<std::size_t>(k)]) return std::nullopt;
    if (!a.x || !a.y) return std::nullopt;
    const auto rad = [&](int k) { return *angle[static_cast<std::size_t>(k)] * kRadiansPerDegree; };
    std::array<Plane, 4> p{};
    p[0] = {a.x->value, a.y->value};
    double azimuthAB = 0, ab = 0;  // radians, metres
    if (d.x && d.y) {
        p[3] = {d.x->value, d.y->value};
        const double ad = std::hypot(p[3].x - p[0].x, p[3].y - p[0].y);
        azimuthAB = std::atan2(p[3].y - p[0].y, p[3].x - p[0].x) - rad(1) - rad(8);
        ab = ad * std::sin(rad(7)) / std::sin(rad(2));
    } else {
        if (!book.orient || !sideAB) return std::nullopt;
        azimuthAB = ((*book.orient)[0].value + (*book.orient)[1].value) * kRadiansPerSecond;
        ab = *sideAB;
        const double ad = ab * std::sin(rad(2)) / std::sin(rad(7));
        const double azimuthAD = azimuthAB + rad(1) + rad(8);
        p[3] = {p[0].x + ad * std::cos(azimuthAD), p[0].y + ad * std::sin(azimuthAD)};
    }
    p[1] = {p[0].x + ab * std::cos(azimuthAB), p[0].y + ab * std::sin(azimuthAB)};
    const double ac = ab * std::sin(rad(2) + rad(3)) / std::sin(rad(4));
    const double azimuthAC = azimuthAB + rad(1);
    p[2] = {p[0].x + ac * std::cos(azimuthAC), p[0].y + ac * std::sin(azimuthAC)};
    return p;
}

// y on the Gauss plane from the central meridian: without the zone number
// (a y of eight digits before the point carries it) and the 500 km false
// easting.
double FromCentralMeridian(double y) { return (y >= 1e6 ? std::fmod(y, 1e6) : y) - 500000; }

std::optional<double> HeightOf(const FieldBook& book, int point) {
    const auto& h = book.points[static_cast<std::size_t>(point)].height;
    return h ? std::optional<double>(h->value) : std::nullopt;
}

// Up to the surface: the mean slope, its corrections and the horizontal distance.
ReducedDistance ReduceToHorizontal(const FieldBook& book, const FieldDistance& record,
                                   const FieldInstruments& instruments, std::vector<std::string>& missing) {
    ReducedDistance out;
    out.from = record.from;
    out.to = record.to;
    out.sets = static_cast<int>(record.sets.size());
    double sum = 0, lowMean = 0, highMean = 0;
    for (std::size_t s = 0; s < record.sets.size(); ++s) {
        const auto& readings = record.sets[s];
        double setSum = 0, low = readings.front().value, high = low;
        for (const FieldNumber& r : readings) {
            setSum += r.value;
            low = std::min(low, r.value);
            high = std::max(high, r.value);
        }
        const double mean = setSum / static_cast<double>(readings.size());
        out.readingSpread = std::max(out.readingSpread, (high - low) * 1000);
        lowMean = s == 0 ? mean : std::min(lowMean, mean);
        highMean = s == 0 ? mean : std::max(highMean, mean);
        sum += mean;
    }
    if (record.sets.size() > 1) out.setSpread = (highMean - lowMean) * 1000;
    out.meanSlope = sum / static_cast<double>(record.sets.size());

    out.constants = instruments.constantK + instruments.constantR * out.meanSlope / 1000;  // mm
    const double s1 = out.meanSlope + out.constants / 1000;
    double s2 = s1;
    if (record.met) {
        const double t = (*record.met)[0].value, p = (*record.met)[1].value;
        const double ppm = instruments.atmosphereA - instruments.atmosphereB * p / (1 + 0.003661 * t);
        s2 = s1 * (1 + ppm * 1e-6);
    }
    out.meteorological = (s2 - s1) * 1000;

    out.horizontal = s2;
    if (record.zenith) {
        const double left = (*record.zenith)[0].value, right = (*record.zenith)[1].value;
        const double index = (left + right - kFullCircle) / 2;
        out.horizontal = s2 * std::sin((left - index) * kRadiansPerSecond);
    } else if (record.heights) {
        const auto from = HeightOf(book, record.from), to = HeightOf(book, record.to);
        if (from && to) {
            const double dh = (*to + (*record.heights)[1].value) - (*from + (*record.heights)[0].value);
            out.horizontal = std::sqrt(s2 * s2 - dh * dh);
        } else {
            for (int point : {record.from, record.to})
                if (!HeightOf(book, point)) missing.push_back("height " + Letter(point));
        }
    }
    return out;
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

}  // namespace

std::string FieldSetItem(int station, int set) {
    return Letter(station) + " 第" + std::to_string(set + 1) + "测回";
}
std::string FieldRayItem(int from, int to) { return Letter(from) + "→" + Letter(to); }
std::string FieldAngleItem(int angle) { return "∠" + std::to_string(angle); }
std::string FieldAngleSetItem(int angle, int set) {
    return FieldAngleItem(angle) + " 第" + std::to_string(set + 1) + "测回";
}
std::string FieldSideItem(int side) {
    const auto& ends = kSideEnds[static_cast<std::size_t>(side)];
    return "S(" + std::to_string(side) + ") " + Letter(ends.from) + "-" + Letter(ends.to);
}

FieldReduction ReduceFieldBook(const FieldBook& book, const FieldLimits& limits, bool judged) {
    FieldReduction out;
    Checks checks(out.checks, judged);
    const FieldInstruments instruments = InstrumentsOf(book);

    for (int point = 0; point < 4; ++point)
        if (!book.points[static_cast<std::size_t>(point)].given)
            out.missing.push_back("point " + Letter(point));

    std::array<bool, 4> observed{};
    for (const FieldStation& station : book.stations) {
        if (station.sets.empty()) continue;
        observed[static_cast<std::size_t>(station.point)] = true;
        ReducedStation reduced;
        reduced.point = station.point;
        // A set of two lines is an angle by 测回法; the file never mixes the two in one station.
        if (station.sets.front().lines.size() == 2)
            ReduceByAngles(station, reduced, out.angles, limits, checks);
        else
            ReduceByDirections(station, reduced, out.angles, limits, checks);
        out.stations.push_back(std::move(reduced));
    }
    for (int point = 0; point < 4; ++point)
        if (!observed[static_cast<std::size_t>(point)]) out.missing.push_back("station " + Letter(point));
    for (int k = 1; k <= 8; ++k) {
        const int at = kAngleRays[static_cast<std::size_t>(k)].at;
        if (observed[static_cast<std::size_t>(at)] && !out.angles[static_cast<std::size_t>(k)])
            out.missing.push_back(Letter(at) + "(" + std::to_string(k) + ")");
    }

    // Every record to the horizontal, and each checked within itself.
    std::vector<std::string> heightsMissing;
    for (const FieldDistance& record : book.distances) {
        ReducedDistance d = ReduceToHorizontal(book, record, instruments, heightsMissing);
        const std::string item = FieldRayItem(d.from, d.to);
        checks.Add(FieldCheckKind::ReadingSpread, item, d.readingSpread, limits.readingSpread);
        if (d.setSpread)
            checks.Add(FieldCheckKind::DistanceSetSpread, item, *d.setSpread, limits.distanceSetSpread);
        out.distances.push_back(d);
    }

    // Side A-B before the projection, for the approximate figure of a free D.
    std::optional<double> sideAB;
    for (const ReducedDistance& d : out.distances)
        if ((d.from == 0 && d.to == 1) || (d.from == 1 && d.to == 0)) sideAB = d.horizontal;
    // Where the figure lies from the central meridian: for the reduction to
    // the Gauss plane, and for the projection distortion, which the plane
    // coordinates carry whether or not the sides are reduced to it.
    std::optional<std::array<Plane, 4>> approximate;
    if (book.projection || book.surface) approximate = ApproximatePoints(book, out.angles, sideAB);
    if (book.projection && !approximate) AddOnce(out.missing, "approximate coordinates");

    // To the surface and the plane.
    for (ReducedDistance& d : out.distances) {
        double dH = d.horizontal;
        const auto from = HeightOf(book, d.from), to = HeightOf(book, d.to);
        if (book.surface) {
            if (from && to) {
                dH = d.horizontal * (1 + (book.surface->value - (*from + *to) / 2) / kEarthRadiusM);
                d.height = (dH - d.horizontal) * 1000;
            } else {
                for (int point : {d.from, d.to})
                    if (!HeightOf(book, point)) heightsMissing.push_back("height " + Letter(point));
            }
        }
        double dG = dH;
        if (book.projection && approximate) {
            const double y1 = FromCentralMeridian((*approximate)[static_cast<std::size_t>(d.from)].y);
            const double y2 = FromCentralMeridian((*approximate)[static_cast<std::size_t>(d.to)].y);
            const double ym = (y1 + y2) / 2, dy = y2 - y1;
            const double r2 = kEarthRadiusM * kEarthRadiusM;
            dG = dH * (1 + ym * ym / (2 * r2) + dy * dy / (24 * r2));
            d.projection = (dG - dH) * 1000;
        }
        d.reduced = dG;
    }
    for (const std::string& m : heightsMissing) AddOnce(out.missing, m);

    // The sides: each way's records, then the mean of the two ways.
    const bool dKnown = book.points[3].x && book.points[3].y;
    for (int k = 1; k <= 6; ++k) {
        const auto& ends = kSideEnds[static_cast<std::size_t>(k)];
        double forward = 0, back = 0;
        int nForward = 0, nBack = 0;
        for (const ReducedDistance& d : out.distances) {
            if (d.from == ends.from && d.to == ends.to) forward += d.reduced, ++nForward;
            if (d.from == ends.to && d.to == ends.from) back += d.reduced, ++nBack;
        }
        if (nForward == 0 && nBack == 0) {
            if (k < 6 || !dKnown) out.missing.push_back("S(" + std::to_string(k) + ")");
            continue;
        }
        ReducedSide side{k, ends.from, ends.to, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0};
        if (nForward > 0) side.forward = forward / nForward;
        if (nBack > 0) side.back = back / nBack;
        side.reduced = side.forward && side.back ? (*side.forward + *side.back) / 2
                       : side.forward            ? *side.forward
                                                 : *side.back;
        if (side.forward && side.back) {
            side.difference = std::abs(*side.forward - *side.back) * 1000;
            side.limit = 2 * (instruments.edmA + instruments.edmB * side.reduced / 1000);
            if (judged && limits.forwardBack) {
                const FieldLimit& rule = *limits.forwardBack;
                checks.AddJudged(FieldCheckKind::ForwardBack, FieldSideItem(k), *side.difference, *side.limit,
                                 "2(a+b·D) " + rule.standard + " " + rule.clause);
            } else {
                checks.Add(FieldCheckKind::ForwardBack, FieldSideItem(k), *side.difference, std::nullopt);
            }
        }
        out.sides.push_back(side);
    }
    if (dKnown && book.points[0].x && book.points[0].y)
        out.knownAD = std::hypot(book.points[3].x->value - book.points[0].x->value,
                                 book.points[3].y->value - book.points[0].y->value);

    // The projection distortion of each side, for every plane survey.
    if (book.surface || book.projection) {
        bool failed = false;
        for (const ReducedSide& side : out.sides) {
            double distortion = 0;
            const auto from = HeightOf(book, side.from), to = HeightOf(book, side.to);
            if (book.surface && from && to)
                distortion += (book.surface->value - (*from + *to) / 2) / kEarthRadiusM;
            if (approximate) {
                const double ym =
                    (FromCentralMeridian((*approximate)[static_cast<std::size_t>(side.from)].y) +
                     FromCentralMeridian((*approximate)[static_cast<std::size_t>(side.to)].y)) /
                    2;
                distortion += ym * ym / (2 * kEarthRadiusM * kEarthRadiusM);
            }
            const double perKm = std::abs(distortion) * 1e6;
            checks.AddJudged(FieldCheckKind::ProjectionDistortion, FieldSideItem(side.index), perKm,
                             kProjectionDistortionLimit, "GB 50026-2007 3.1.4");
            failed = failed || perKm > kProjectionDistortionLimit;
        }
        // The surface that makes the height and the projection terms cancel
        // at the figure's middle.
        double heights = 0, ys = 0;
        int n = 0;
        for (int point = 0; point < 4; ++point) {
            if (auto h = HeightOf(book, point)) heights += *h, ++n;
        }
        if (failed && n == 4) {
            if (approximate)
                for (const Plane& p : *approximate) ys += FromCentralMeridian(p.y) / 4;
            out.compensatingSurface = heights / 4 - ys * ys / (2 * kEarthRadiusM);
        }
    }
    return out;
}

}  // namespace korvanet
