// SPDX-License-Identifier: GPL-3.0-or-later
// The figure as a DXF drawing for the drawing office, written by dxflib.
//
// Notation: a point (x north, y east) in metres lies at CAD (y, x), metres,
// so that CAD's x runs east and its y north, as AutoCAD and CASS draw a
// survey.  An ellipse with semi-axes a, b (mm) and azimuth theta of the
// major axis (from north towards east) is drawn magnified by k as the closed
// polyline of the points
//   centre + (a k / 1000) cos t (sin theta, cos theta)
//          + (b k / 1000) sin t (cos theta, -sin theta)      (CAD x, CAD y)
// for t = 0, 5, ..., 355 degrees, so its vertices at t = 0 and 90 degrees
// lie on the axes.
//
// The drawing is DXF R2000 (AC1015) in code page ANSI_936 with its texts in
// GBK: the version and code page Chinese AutoCAD writes, which ezdxf,
// LibreCAD and QCAD read back as the same Chinese.  dxflib writes its groups
// through a DL_WriterA; the writer here keeps them in a string, so the
// drawing's bytes go to the disk once, whole, through WriteFileWhole, and no
// half-written temporary file is ever left behind.

#include <dl_attributes.h>
#include <dl_dxf.h>
#include <dl_entities.h>
#include <dl_writer_ascii.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "adjust/quadrilateral.h"
#include "compute/export_point_name.h"
#include "compute/figure_drawing.h"
#include "compute/figure_exports.h"
#include "compute/gbk_text.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

const char* const kPointsLayer = "控制点";
const char* const kSidesLayer = "观测边";
const char* const kEllipsesLayer = "误差椭圆";
const char* const kNotesLayer = "注记";
const char* const kTextStyle = "Standard";

constexpr int kEllipseVertices = 72;  // every 5 degrees

// dxflib's groups, collected in a string instead of a file.  dxflib opens
// no file for it: the name given to its file stream is empty, so the stream
// stays closed and every group goes through the overrides below.
class DxfText : public DL_WriterA {
public:
    explicit DxfText(std::string& out) : DL_WriterA("", DL_VERSION_2000), out_(out) {}

    // Numbers in the drawing never take the user's locale ("1,5" would break
    // it); 15 significant digits keep a coordinate of millions of metres to
    // far below a millimetre.
    void dxfReal(int gc, double value) const override { Group(gc, FormatGeneral(value, 15)); }
    void dxfInt(int gc, int value) const override { Group(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override {
        static const char digits[] = "0123456789ABCDEF";
        auto rest = static_cast<unsigned int>(value);
        std::string hex;
        do {
            hex.insert(hex.begin(), digits[rest % 16]);
            rest /= 16;
        } while (rest != 0);
        Group(gc, hex);
    }
    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
    void dxfString(int gc, const std::string& value) const override {
        Group(gc, GbkText(value, "DXF 图的文字「" + value + "」"));
    }

private:
    void Group(int gc, const std::string& value) const {
        Write(gc, value);
        if (gc == 2 && value == "OBJECTS") inObjects_ = true;
        if (!inObjects_) return;
        // dxflib writes the fixed objects of an R2000 drawing (dictionaries,
        // layouts) without their owners; each is owned by the dictionary that
        // lists it (350), and the root dictionary by none.  Readers that check
        // the drawing (ezdxf's audit) would otherwise repair it.
        if (gc == 0) object_.clear();
        if (gc == 5) {
            object_ = value;
            const auto owner = owners_.find(value);
            Write(330, owner != owners_.end() ? owner->second : "0");
        }
        if (gc == 350 && !object_.empty()) owners_[value] = object_;
    }

    void Write(int gc, const std::string& value) const {
        const std::string code = std::to_string(gc);
        out_.append(code.size() < 3 ? 3 - code.size() : 0, ' ');
        out_ += code + "\n" + value + "\n";
    }

    std::string& out_;
    // dxflib's writer calls are const: what the objects' owners need is kept
    // beside the text.
    mutable bool inObjects_ = false;
    mutable std::string object_;
    mutable std::map<std::string, std::string> owners_;
};

struct CadPoint {
    double x, y;  // east, north, metres
};

CadPoint Cad(const PointCheck& p) { return {p.y, p.x}; }

DL_Attributes On(const char* layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

class FigureWriter {
public:
    FigureWriter(std::string& out) : w_(out) {}

    void Closed(const std::vector<CadPoint>& vertices, const char* layer) {
        dxf_.writePolyline(w_, DL_PolylineData(static_cast<int>(vertices.size()), 0, 0, 1), On(layer));
        for (const CadPoint& v : vertices) dxf_.writeVertex(w_, DL_VertexData(v.x, v.y, 0, 0));
        dxf_.writePolylineEnd(w_);
    }

    void Text(const CadPoint& at, double height, const std::string& text, const char* layer) {
        dxf_.writeText(w_, DL_TextData(at.x, at.y, 0, at.x, at.y, 0, height, 1, 0, 0, 0, text, kTextStyle, 0),
                       On(layer));
    }

    void Head(const CadPoint& low, const CadPoint& high, double textHeight) {
        dxf_.writeHeader(w_);
        w_.dxfString(9, "$DWGCODEPAGE");
        w_.dxfString(3, "ANSI_936");
        w_.dxfString(9, "$INSUNITS");
        w_.dxfInt(70, 6);  // metres
        w_.dxfString(9, "$EXTMIN");
        Point3(low);
        w_.dxfString(9, "$EXTMAX");
        Point3(high);
        w_.dxfString(9, "$TEXTSIZE");
        w_.dxfReal(40, textHeight);
        w_.sectionEnd();

        w_.sectionTables();
        dxf_.writeVPort(w_);
        w_.tableLinetypes(3);
        dxf_.writeLinetype(w_, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
        dxf_.writeLinetype(w_, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
        dxf_.writeLinetype(w_, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        w_.tableEnd();
        // Colours of AutoCAD's index: white (black on paper), grey, blue, green.
        const struct {
            const char* name;
            int colour;
        } layers[] = {{"0", 7}, {kPointsLayer, 7}, {kSidesLayer, 8}, {kEllipsesLayer, 5}, {kNotesLayer, 3}};
        w_.tableLayers(static_cast<int>(std::size(layers)));
        for (const auto& layer : layers)
            dxf_.writeLayer(w_, DL_LayerData(layer.name, 0),
                            DL_Attributes("", layer.colour, -3, "CONTINUOUS", 1.0));
        w_.tableEnd();
        // dxflib names an R2000 style's font as a TrueType family: SimSun (宋体),
        // which every Chinese Windows has, so that AutoCAD shows the names.
        w_.tableStyle(1);
        dxf_.writeStyle(w_, DL_StyleData(kTextStyle, 0, 0.0, 1.0, 0.0, 0, textHeight, "SimSun", ""));
        w_.tableEnd();
        dxf_.writeView(w_);
        dxf_.writeUcs(w_);
        w_.tableAppid(1);
        dxf_.writeAppid(w_, "ACAD");
        w_.tableEnd();
        dxf_.writeDimStyle(w_, textHeight, textHeight / 2, textHeight / 2, textHeight / 2, textHeight);
        dxf_.writeBlockRecord(w_);
        w_.tableEnd();
        w_.sectionEnd();

        w_.sectionBlocks();
        for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
            dxf_.writeBlock(w_, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
            dxf_.writeEndBlock(w_, block);
        }
        w_.sectionEnd();
        w_.sectionEntities();
    }

    void Tail() {
        w_.sectionEnd();
        dxf_.writeObjects(w_);
        dxf_.writeObjectsEnd(w_);
        w_.dxfEOF();
    }

    DL_Dxf& Dxf() { return dxf_; }
    DxfText& Out() { return w_; }

private:
    void Point3(const CadPoint& p) {
        w_.dxfReal(10, p.x);
        w_.dxfReal(20, p.y);
        w_.dxfReal(30, 0);
    }

    DL_Dxf dxf_;
    DxfText w_;
};

std::vector<CadPoint> EllipseVertices(const CadPoint& centre, const ErrorEllipse& e, double magnification) {
    const double theta = e.azimuth * std::numbers::pi / 180;
    const double a = e.a * magnification / 1000, b = e.b * magnification / 1000;
    std::vector<CadPoint> vertices;
    for (int i = 0; i < kEllipseVertices; ++i) {
        const double t = 2 * std::numbers::pi * i / kEllipseVertices;
        const double along = a * std::cos(t), across = b * std::sin(t);
        vertices.push_back({centre.x + along * std::sin(theta) + across * std::cos(theta),
                            centre.y + along * std::cos(theta) - across * std::sin(theta)});
    }
    return vertices;
}

// The known point's triangle, apex north, round the point.
std::vector<CadPoint> Triangle(const CadPoint& centre, double radius) {
    std::vector<CadPoint> corners;
    for (int i = 0; i < 3; ++i) {
        const double bearing = 2 * std::numbers::pi * i / 3;
        corners.push_back({centre.x + radius * std::sin(bearing), centre.y + radius * std::cos(bearing)});
    }
    return corners;
}

}  // namespace

std::string FigureDxf(const QualityCheck& quality) {
    const std::vector<PointCheck>& points = quality.points;
    CadPoint low = Cad(points[0]), high = low;
    for (const PointCheck& p : points) {
        low = {std::min(low.x, Cad(p).x), std::min(low.y, Cad(p).y)};
        high = {std::max(high.x, Cad(p).x), std::max(high.y, Cad(p).y)};
    }
    // Names readable beside a figure of kilometres: a fiftieth of its size.
    const double size = std::max({high.x - low.x, high.y - low.y, 1e-3});
    const double h = size / 50;
    const double magnification = FigureEllipseMagnification(quality);

    std::string out;
    FigureWriter figure(out);
    // The notes run below the figure, one text height and a half apart.
    const CadPoint notes{low.x, low.y - 3 * h};
    figure.Head({low.x - 2 * h, notes.y - 6 * h}, {high.x + 2 * h, high.y + 2 * h}, h);
    DL_Dxf& dxf = figure.Dxf();
    DxfText& w = figure.Out();

    for (const ObservationCheck& o : quality.observations) {
        if (o.kind != ObservationKind::Side) continue;
        const CadPoint from = Cad(points[quadrilateral::kSideEnds[o.index].from]);
        const CadPoint to = Cad(points[quadrilateral::kSideEnds[o.index].to]);
        dxf.writeLine(w, DL_LineData(from.x, from.y, 0, to.x, to.y, 0), On(kSidesLayer));
    }

    bool anyEllipse = false;
    for (const PointCheck& p : points) {
        if (!p.precision) continue;
        figure.Closed(EllipseVertices(Cad(p), p.precision->ellipse, magnification), kEllipsesLayer);
        anyEllipse = true;
    }

    for (const PointCheck& p : points) {
        const CadPoint at = Cad(p);
        dxf.writePoint(w, DL_PointData(at.x, at.y, 0), On(kPointsLayer));
        if (p.known) figure.Closed(Triangle(at, 0.6 * h), kPointsLayer);
        // The name up and to the right of its point, clear of the triangle.
        figure.Text({at.x + 0.8 * h, at.y + 0.5 * h}, h, ExportPointName(p), kPointsLayer);
    }

    double line = notes.y;
    if (anyEllipse) {
        figure.Text({notes.x, line}, h, MagnificationText(magnification), kEllipsesLayer);
        line -= 1.5 * h;
    }
    if (quality.scale == PrecisionScale::APriori) {
        figure.Text({notes.x, line}, h, kDesignDrawingTitle, kNotesLayer);
        line -= 1.5 * h;
        figure.Text({notes.x, line}, h, DesignEllipsesText(quality), kNotesLayer);
    } else {
        figure.Text({notes.x, line}, h, "验后单位权中误差 m0 = " + FixedText(quality.m0, 2) + "″",
                    kNotesLayer);
    }
    line -= 1.5 * h;
    figure.Text({notes.x, line}, h, "坐标单位: 米; 图上 x 为东 (Y), y 为北 (X); 三角形为已知点", kNotesLayer);

    figure.Tail();
    return out;
}

}  // namespace korvanet
