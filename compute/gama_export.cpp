// SPDX-License-Identifier: GPL-3.0-or-later
// The figure as gama-local reads it, so that the surveyor can adjust the same
// observations with GNU Gama and lay its coordinates and its m0 beside ours.
//
// gama-local takes an angle written d-m-s ("46-43-52.3") as degrees, and then
// its standard deviation in arc seconds; distances in metres with their
// standard deviations in mm.  Its weights are sigma-apr^2 / stdev^2, so with
// sigma-apr = sigma0 an angle has weight 1 and a side sigma0^2 / ms^2, the
// weights of our adjustment, and its a-posteriori m0 is in arc seconds as
// ours.  axes-xy="ne" is our x north, y east; angles="left-handed" are
// angles turning clockwise, as the figure's, from the backsight (the ray to
// `from`) to the foresight (the ray to `to`).

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "adjust/condition_equations.h"
#include "adjust/quadrilateral.h"
#include "compute/export_point_name.h"
#include "compute/figure_exports.h"
#include "core/display_text.h"
#include "core/packed_angle.h"
#include "report/markup_text.h"

namespace korvanet {
namespace {

// Seconds of the angles to a millionth: every digit a job's packed angle or
// a field book's mean direction holds.
constexpr int kSecondDecimals = 6;

// A Q1 of zero is no measured orientation: the figure is turned by T0 alone,
// taken as free of error.  gama-local knows no error-free azimuth, so it gets
// one a thousand times sharper than an angle: its residual is zero either
// way (the azimuth alone orients the figure) and what it adds to the
// points' mean errors lies far below a tenth of a millimetre.
constexpr double kErrorFreeAzimuthShare = 0.001;

// Decimal degrees (0 <= degrees < 360) as gama-local's "d-m-s", the seconds
// without trailing zeros.
std::string GamaAngle(double degrees) {
    const std::string packed = PackedAngleText(degrees, kSecondDecimals);  // d.mmss + decimals
    const std::size_t point = packed.find('.');
    std::string text = packed.substr(0, point) + '-' + packed.substr(point + 1, 2) + '-' +
                       packed.substr(point + 3, 2) + '.' + packed.substr(point + 5);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// A single-precision figure (the tolerance, the side mean error) with the
// digits it was given.
std::string SingleText(double value) { return FormatGeneral(value, 7); }

// The name with its runs of blanks closed up and no blank at either end, as
// gama-local (and an xs:token) reads a point id.
std::string TokenForm(std::string_view name) {
    std::string token;
    for (char c : name) {
        if (c == ' ') {
            if (!token.empty() && token.back() != ' ') token += ' ';
        } else {
            token += c;
        }
    }
    if (!token.empty() && token.back() == ' ') token.pop_back();
    return token;
}

// The point ids: the names the points carry into every export (an unnamed
// point its letter) where gama-local can tell all four apart (no two alike
// once their blanks are closed up, none of blanks only, none holding U+FFFE
// or U+FFFF, which XML refuses); else the letters, for every point, so that
// no name can be mistaken for another point's letter.
std::array<std::string, 4> PointIds(const QualityCheck& quality, bool& lettersUsed) {
    std::array<std::string, 4> ids;
    lettersUsed = false;
    for (int p = 0; p < 4; ++p) {
        ids[p] = TokenForm(ExportPointName(quality.points[p]));
        const bool nonCharacter = ids[p].find("\xEF\xBF\xBE") != std::string::npos ||
                                  ids[p].find("\xEF\xBF\xBF") != std::string::npos;
        if (ids[p].empty() || nonCharacter) lettersUsed = true;
        for (int q = 0; q < p; ++q) {
            if (ids[q] == ids[p]) lettersUsed = true;
        }
    }
    if (lettersUsed) {
        for (int p = 0; p < 4; ++p) ids[p] = quadrilateral::kPointLetters[p];
    }
    return ids;
}

void Attribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscapedMarkup(out, value);
    out += '"';
}

}  // namespace

std::string GamaLocalXml(const SurveyState& state, const QualityCheck& quality) {
    bool lettersUsed = false;
    const std::array<std::string, 4> id = PointIds(quality, lettersUsed);
    const bool dKnown = quality.points[3].known;
    const std::string sigma0 = SingleText(quality.tolerance);
    const std::string sideStdev = SingleText(quality.figure.aprioriSideMeanError);

    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gama-local xmlns=\"http://www.gnu.org/software/gama/gama-local\">\n"
        "<network axes-xy=\"ne\" angles=\"left-handed\">\n<description>";
    AppendEscapedMarkup(out, "大地四边形 ABCD 的观测值 (korvanet 导出): A ");
    out += dKnown ? "和 D 为已知点" : "为已知点, 方位角 A-B = T0 + Q1";
    out += ", 角的中误差为 σ0, 边的中误差为先验边长中误差";
    if (lettersUsed) out += "; 作业的点名有相同的, 点号改用 A, B, C, D";
    out += "</description>\n<parameters";
    Attribute(out, "sigma-apr", sigma0);
    out += " sigma-act=\"aposteriori\" angles=\"360\" />\n<points-observations>\n";

    // Known points as entered, the others at the run's coordinates, from
    // which gama-local iterates.
    for (const PointCheck& p : quality.points) {
        out += "<point";
        Attribute(out, "id", id[p.point]);
        Attribute(out, "x", ShortestText(p.x));
        Attribute(out, "y", ShortestText(p.y));
        out += p.known ? " fix=\"xy\" />\n" : " adj=\"xy\" />\n";
    }

    out += "<obs>\n";
    for (const ObservationCheck& o : quality.observations) {
        if (o.kind == ObservationKind::Angle) {
            const quadrilateral::AngleRays& r = quadrilateral::kAngleRays[o.index];
            out += "<angle";
            Attribute(out, "from", id[r.at]);
            Attribute(out, "bs", id[r.from]);
            Attribute(out, "fs", id[r.to]);
            Attribute(out, "val", GamaAngle(o.observed));
            Attribute(out, "stdev", sigma0);
            out += " />\n";
        } else if (o.kind == ObservationKind::Side) {
            const quadrilateral::SideEnds& e = quadrilateral::kSideEnds[o.index];
            out += "<distance";
            Attribute(out, "from", id[e.from]);
            Attribute(out, "to", id[e.to]);
            Attribute(out, "val", ShortestText(o.observed));
            Attribute(out, "stdev", sideStdev);
            out += " />\n";
        }
    }
    if (!dKnown) {
        // After the angles: gama-local opens the set of observations with an
        // angle or a distance, never with an azimuth.
        const double azimuth = ReduceAzimuth(PackedToDegrees(state.T0) + SignedPackedToDegrees(state.Qa));
        const double q0 = quality.solved.q[0];
        const double stdev =
            q0 > 0 ? quality.tolerance * std::sqrt(q0) : quality.tolerance * kErrorFreeAzimuthShare;
        out += "<azimuth";
        Attribute(out, "from", id[0]);
        Attribute(out, "to", id[1]);
        Attribute(out, "val", GamaAngle(azimuth));
        Attribute(out, "stdev", SingleText(stdev));
        out += " />\n";
    }
    out += "</obs>\n</points-observations>\n</network>\n</gama-local>\n";
    return out;
}

}  // namespace korvanet
