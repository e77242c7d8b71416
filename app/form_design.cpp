// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_design.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "app/form_canvas.h"
#include "app/form_fonts.h"
#include "app/twips.h"
#include "core/form_boxes.h"

namespace korvanet {
namespace {

// Everything below is in twips from the top-left corner of the client area.
constexpr int kFormWidth = 15255;
constexpr int kFormHeight = 10215;
// The buttons end exactly at the layout's bottom edge; this much more of the
// background on the right and below lets their borders show whole.
constexpr int kClientMargin = 120;

const QColor kFormBackground(255, 255, 192);
const QColor kFrameColour(0, 0, 192);
const QColor kSideA_D(255, 0, 0);  // the side between the two known points
const QColor kExteriorDirection(255, 0, 0);
const QColor kAngleMark(0, 192, 0);
// Lines drawn without a colour of their own take the window text colour.
const QColor kPlainLine(0, 0, 0);
const QColor kCommandBackground(192, 255, 255);
const QColor kPrintBackground(192, 192, 255);

constexpr double kControlPoints = 8.25;
constexpr double kTitlePoints = 12.0;
constexpr double kPointLetterPoints = 13.5;
constexpr double kAzimuthLabelPoints = 9.75;

struct LabelAt {
    const char* caption;
    int left, top;
};

struct BoxAt {
    const char* name;
    int left, top, width;
};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Puts the controls on the canvas one by one, in the form's own order.
class FormBuilder {
public:
    explicit FormBuilder(FormCanvas& canvas)
        : canvas_(canvas), dpiX_(canvas.logicalDpiX()), dpiY_(canvas.logicalDpiY()) {}

    void createFramePanels();
    void createLabels();
    void createTextBoxes();
    void createDiagrams();
    void createButtons();

    FormControls controls;

private:
    QPoint pixels(int x, int y) const;
    QLabel* addLabel(const QString& caption, int left, int top, int width = 0, int height = 255);
    QLabel* addLabel(const QString& caption, int left, int top, const QFont& font, int height, int width = 0);
    QLabel* placeLabel(QLabel* label, int left, int top, int width, int height);
    QLineEdit* addTextBox(const QString& name, int left, int top, int width, int height = 285);
    QPushButton* addButton(const QString& name, const QString& caption, int left, const QColor& background);
    void addLine(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour, int width);

    FormCanvas& canvas_;
    const int dpiX_;
    const int dpiY_;
};

// Ten lines divide the area (720, 1080)-(11880, 9480) into the seven panels:
// known coordinates and start angles on the left, observed angles and sides
// next to them, misclosures, precision and results on the right.
void FormBuilder::createFramePanels() {
    addLine(QStringLiteral("Line1"), 720, 1080, 11880, 1080, kFrameColour, 3);
    addLine(QStringLiteral("Line3"), 720, 9480, 11880, 9480, kFrameColour, 3);
    addLine(QStringLiteral("Line5"), 720, 1080, 720, 9480, kFrameColour, 3);
    addLine(QStringLiteral("Line2"), 11880, 1080, 11880, 9480, kFrameColour, 3);
    addLine(QStringLiteral("Line6"), 2880, 1080, 2880, 9480, kFrameColour, 3);
    addLine(QStringLiteral("Line7"), 4800, 1080, 4800, 9480, kFrameColour, 3);
    addLine(QStringLiteral("Line11"), 720, 5760, 3360, 5760, kFrameColour, 3);
    addLine(QStringLiteral("Line9"), 3360, 5760, 4800, 5760, kFrameColour, 3);
    addLine(QStringLiteral("Line8"), 4800, 3600, 11880, 3600, kFrameColour, 3);
    addLine(QStringLiteral("Line4"), 4800, 7200, 11880, 7200, kFrameColour, 3);
}

void FormBuilder::createLabels() {
    addLabel(QStringLiteral("Korvanet"), 4920, 480, FormFont(kTitlePoints), 375, 2655);

    static const LabelAt kPanelLabels[] = {
        // known coordinates
        {"A点起算座标:", 960, 1800},
        {" 纵 座 标", 1560, 2160},
        {" Xa", 960, 2400},
        {" 横 座 标", 1560, 2760},
        {" Ya", 960, 3000},
        {"D点起算座标:", 960, 3840},
        {" 纵 座 标 ", 1560, 4200},
        {" Xd", 960, 4440},
        {" 横 座 标", 1560, 4800},
        {" Yd", 960, 5040},
        // start angles
        {"起始角度:", 1080, 6480},
        {"起始外方位角", 1320, 6960},
        {" T0", 840, 7200},
        {"至 S(1) 边定向角", 1200, 7680},
        {" Q1", 840, 7920},
        // headers of the observations
        {"观 测 角", 3720, 1560},
        {"观 测 边", 3720, 6120},
        // condition misclosures
        {"( 条件方程式闭合差 )", 5520, 1320},
        {" 三角形闭合差", 6000, 1680},
        {" 三角形闭合差", 7920, 1680},
        {" 三角形闭合差", 9840, 1680},
        {"wb1", 5760, 1920},
        {"wb2", 7680, 1920},
        {"wb3", 9600, 1920},
        {" 边角条件闭合差", 5280, 2280},
        {" 边角条件闭合差", 6960, 2280},
        {" 边角条件闭合差", 8640, 2280},
        {" 边角条件闭合差", 10320, 2280},
        {"ws1", 5040, 2520},
        {"ws2", 6720, 2520},
        {"ws3", 8400, 2520},
        {"ws4", 10080, 2520},
        {" 边角条件闭合差", 5280, 2880},
        {" 边角条件闭合差", 6960, 2880},
        {" 边角条件闭合差", 8640, 2880},
        {" 边角条件闭合差", 10320, 2880},
        {"ws5", 5040, 3120},
        {"ws6", 6720, 3120},
        {"ws7", 8400, 3120},
        {"ws8", 10080, 3120},
        // precision statistics
        {"( 精度统计 )", 5160, 3720},
        {"B点纵座标权倒数", 5880, 4080},
        {"1/px", 5640, 4320},
        {"B点横座标权倒数", 5880, 4680},
        {"1/py", 5640, 4920},
        {"C点纵座标权倒数", 8040, 4080},
        {"1/px", 7800, 4320},
        {"C点横座标权倒数", 8040, 4680},
        {"1/py", 7800, 4920},
        {"B点纵座标单位权中误差", 5640, 5280},
        {" mx", 5760, 5520},
        {"B点横座标单位权中误差", 5640, 5880},
        {" my", 5760, 6120},
        {"B点单位权点位中误差", 5640, 6480},
        {" md", 5760, 6720},
        {"C点纵座标单位权中误差", 7800, 5280},
        {" mx", 7920, 5520},
        {"C点横座标单位权中误差", 7800, 5880},
        {" my", 7920, 6120},
        {"C点单位权点位中误差", 7800, 6480},
        {" md", 7920, 6720},
        {"单位权测角中误差", 9960, 4800},
        {" mb", 9960, 5040},
        {"单位权测边中误差", 9960, 5760},
        {" ms", 9960, 6000},
        // adjustment results
        {"( 平差结果 )", 4920, 7440},
        {"点  名", 6840, 7320},
        {" 纵 座 标", 8280, 7320},
        {" 横 座 标", 10080, 7320},
    };
    for (const LabelAt& label : kPanelLabels) addLabel(Utf8(label.caption), label.left, label.top);

    // The eight angles and six sides, one row every 480 twips, in the order
    // the diagram numbers them.
    for (int i = 1; i <= 8; ++i) {
        addLabel(QStringLiteral(" B(%1)").arg(i), 3000, 1800 + 480 * (i - 1), 495);
    }
    for (int i = 1; i <= 6; ++i) {
        addLabel(QStringLiteral(" S(%1)").arg(i), 3000, 6360 + 480 * (i - 1), 495);
    }

    // The table of points: A, B, C, D, then A again as reached around the figure.
    const char letters[] = {'a', 'b', 'c', 'd', 'a'};
    for (int row = 0; row < 5; ++row) {
        const int top = 7560 + 360 * row;
        const QChar letter = QLatin1Char(letters[row]);
        addLabel(QStringLiteral(" N(%1)").arg(letter), 6120, top, 495);
        addLabel(QStringLiteral(" X(%1)").arg(letter), 7560, top, 495);
        addLabel(QStringLiteral(" Y(%1)").arg(letter), 9360, top, 495);
    }
}

// Created panel by panel, so the tab order runs Text1, Text2, ... down the
// inputs first and then through the results.
void FormBuilder::createTextBoxes() {
    static const BoxAt kInputBoxes[] = {
        {boxes::kXOfA, 1320, 2400, 1335},      {boxes::kYOfA, 1320, 3000, 1335},
        {boxes::kXOfD, 1320, 4440, 1335},      {boxes::kYOfD, 1320, 5040, 1335},
        {boxes::kAzimuthT0, 1200, 7200, 1455}, {boxes::kOrientationQ1, 1200, 7920, 1455},
    };
    for (const BoxAt& box : kInputBoxes) addTextBox(Utf8(box.name), box.left, box.top, box.width);
    for (int i = 1; i <= boxes::kAngleCount; ++i) {
        addTextBox(QString::fromStdString(boxes::ObservedAngle(i)), 3480, 1800 + 480 * (i - 1), 1215);
    }
    for (int i = 1; i <= boxes::kSideCount; ++i) {
        addTextBox(QString::fromStdString(boxes::ObservedSide(i)), 3480, 6360 + 480 * (i - 1), 1095);
    }

    // The triangle misclosures and w(1); the first two boxes are a little shorter.
    addTextBox(Utf8(boxes::kTriangleMisclosure1), 6120, 1920, 1095, 255);
    addTextBox(Utf8(boxes::kTriangleMisclosure2), 8040, 1920, 1095, 255);
    addTextBox(Utf8(boxes::ConditionMisclosure(1)), 9960, 1920, 1095);

    static const BoxAt kResultBoxes[] = {
        // the side-angle misclosures w(2)..w(9), four to a row
        {boxes::kConditionMisclosures[2], 5400, 2520, 1215},
        {boxes::kConditionMisclosures[3], 7080, 2520, 1215},
        {boxes::kConditionMisclosures[4], 8760, 2520, 1215},
        {boxes::kConditionMisclosures[5], 10440, 2520, 1215},
        {boxes::kConditionMisclosures[6], 5400, 3120, 1215},
        {boxes::kConditionMisclosures[7], 7080, 3120, 1215},
        {boxes::kConditionMisclosures[8], 8760, 3120, 1215},
        {boxes::kConditionMisclosures[9], 10440, 3120, 1215},
        // weight reciprocals and mean errors
        {boxes::kWeightReciprocalXOfB, 6120, 4320, 1095},
        {boxes::kWeightReciprocalYOfB, 6120, 4920, 1095},
        {boxes::kWeightReciprocalXOfC, 8280, 4320, 1095},
        {boxes::kWeightReciprocalYOfC, 8280, 4920, 1095},
        {boxes::kMeanErrorXOfB, 6120, 5520, 1095},
        {boxes::kMeanErrorYOfB, 6120, 6120, 1095},
        {boxes::kPointErrorB, 6120, 6720, 1095},
        {boxes::kMeanErrorXOfC, 8280, 5520, 1095},
        {boxes::kMeanErrorYOfC, 8280, 6120, 1095},
        {boxes::kPointErrorC, 8280, 6720, 1095},
        {boxes::kUnitWeightError, 10320, 5040, 1095},
        {boxes::kSideMeanError, 10320, 6000, 1095},
    };
    for (const BoxAt& box : kResultBoxes) addTextBox(Utf8(box.name), box.left, box.top, box.width);

    // The table of points: name, x and y of A, B, C, D and A again, one row
    // every 360 twips.
    for (std::size_t p = 0; p < boxes::kPointTable.size(); ++p) {
        const int top = 7560 + 360 * static_cast<int>(p);
        addTextBox(Utf8(boxes::kPointTable[p].name), 6600, top, 975);
        addTextBox(Utf8(boxes::kPointTable[p].x), 8040, top, 1335);
        addTextBox(Utf8(boxes::kPointTable[p].y), 9840, top, 1335);
    }
}

// Right of the frame: the quadrilateral that fixes the numbering of points,
// angles and sides, and below it the orientation by T0 and Q1 used when D
// is not a known point.
void FormBuilder::createDiagrams() {
    // Upper diagram: A (13080, 5400), B (13080, 2640), C (15000, 2640),
    // D (15000, 5400).  A side is broken where its label sits on it.
    addLine(QStringLiteral("Line12"), 13080, 2640, 13080, 3840, kPlainLine, 2);  // S(1) A-B
    addLine(QStringLiteral("Line33"), 13080, 4320, 13080, 5400, kPlainLine, 2);
    addLine(QStringLiteral("Line35"), 13080, 2640, 13680, 3480, kPlainLine, 2);  // S(2) B-D
    addLine(QStringLiteral("Line17"), 13800, 3720, 15000, 5400, kPlainLine, 2);
    addLine(QStringLiteral("Line14"), 13080, 2640, 13800, 2640, kPlainLine, 2);  // S(3) B-C
    addLine(QStringLiteral("Line37"), 14280, 2640, 15000, 2640, kPlainLine, 2);
    addLine(QStringLiteral("Line16"), 15000, 2640, 13080, 5400, kPlainLine, 2);  // S(4) C-A
    addLine(QStringLiteral("Line15"), 15000, 2640, 15000, 3840, kPlainLine, 2);  // S(5) C-D
    addLine(QStringLiteral("Line34"), 15000, 4200, 15000, 5400, kPlainLine, 2);
    addLine(QStringLiteral("Line13"), 13080, 5400, 13920, 5400, kSideA_D, 3);  // S(6) A-D
    addLine(QStringLiteral("Line36"), 14280, 5400, 15000, 5400, kSideA_D, 3);

    const QFont letterFont = FormFont(kPointLetterPoints);
    addLabel(QStringLiteral("A"), 12840, 5280, letterFont, 375);
    addLabel(QStringLiteral("B"), 12840, 2280, letterFont, 375);
    addLabel(QStringLiteral("C"), 14880, 2280, letterFont, 375);
    addLabel(QStringLiteral("D"), 14880, 5400, letterFont, 375);

    // A side's label sits on the side and breaks it.  Most sides are drawn
    // in two pieces around their label; the diagonal S(4) is whole, so the
    // side labels blank out what lies beneath them.
    static const LabelAt kSideNumbers[] = {
        {"S(1)", 12840, 3960}, {"S(2)", 13560, 3480}, {"S(3)", 13920, 2520},
        {"S(4)", 14160, 3360}, {"S(5)", 14760, 3960}, {"S(6)", 13920, 5280},
    };
    for (const LabelAt& side : kSideNumbers) {
        addLabel(Utf8(side.caption), side.left, side.top)->setAutoFillBackground(true);
    }
    // Where each observed angle lies, which fixes the order they are asked
    // in.  These labels touch the sides beside them and let them show through.
    static const LabelAt kAngleNumbers[] = {
        {"a(1)", 13080, 4560}, {"a(2)", 13080, 3120}, {"a(3)", 13320, 2760}, {"a(4)", 14400, 2760},
        {"a(5)", 14640, 3240}, {"a(6)", 14640, 4680}, {"a(7)", 14400, 5160}, {"a(8)", 13320, 5160},
    };
    for (const LabelAt& angle : kAngleNumbers) addLabel(Utf8(angle.caption), angle.left, angle.top);

    // Lower diagram: the same figure as a square with A at its lower left.
    addLine(QStringLiteral("Line19"), 13080, 6120, 15000, 6120, kPlainLine, 2);
    addLine(QStringLiteral("Line20"), 13080, 8760, 15000, 8760, kPlainLine, 2);
    addLine(QStringLiteral("Line10"), 13080, 6120, 13080, 8760, kPlainLine, 2);
    addLine(QStringLiteral("Line21"), 15000, 6120, 15000, 8760, kPlainLine, 2);
    addLine(QStringLiteral("Line22"), 15000, 6120, 13080, 8760, kPlainLine, 2);
    addLine(QStringLiteral("Line23"), 13080, 6120, 15000, 8760, kPlainLine, 2);
    // The exterior direction from A whose azimuth is T0, with its arrow head.
    addLine(QStringLiteral("Line24"), 12240, 7080, 13080, 8760, kExteriorDirection, 3);
    addLine(QStringLiteral("Line25"), 12240, 7080, 12240, 7320, kExteriorDirection, 2);
    addLine(QStringLiteral("Line26"), 12240, 7080, 12480, 7200, kExteriorDirection, 2);
    addLabel(QStringLiteral("T0"), 12240, 7680, FormFont(kAzimuthLabelPoints), 255);
    // Q1 turns from the exterior direction to side A-B.
    addLine(QStringLiteral("Line27"), 12480, 7560, 12600, 7440, kAngleMark, 2);
    addLine(QStringLiteral("Line28"), 12840, 7440, 13080, 7560, kAngleMark, 2);
    addLabel(QStringLiteral("Q1"), 12600, 7320);
}

void FormBuilder::createButtons() {
    controls.compute =
        addButton(QStringLiteral("Command1"), QStringLiteral("进行计算"), 5040, kCommandBackground);
    controls.end =
        addButton(QStringLiteral("Command2"), QStringLiteral("结束退出"), 6360, kCommandBackground);
    controls.print = addButton(QStringLiteral("Command3"), QStringLiteral("打 印"), 7680, kPrintBackground);
}

QPoint FormBuilder::pixels(int x, int y) const { return {TwipsToPixels(x, dpiX_), TwipsToPixels(y, dpiY_)}; }

// A label in the form's font; without a width it is as wide as its caption.
QLabel* FormBuilder::addLabel(const QString& caption, int left, int top, int width, int height) {
    return placeLabel(new QLabel(caption, &canvas_), left, top, width, height);
}

QLabel* FormBuilder::addLabel(const QString& caption, int left, int top, const QFont& font, int height,
                              int width) {
    auto* label = new QLabel(caption, &canvas_);
    label->setFont(font);
    return placeLabel(label, left, top, width, height);
}

QLabel* FormBuilder::placeLabel(QLabel* label, int left, int top, int width, int height) {
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The form's background shows through, so a diagram line running along
    // the edge of a label stays whole.
    label->setAutoFillBackground(false);
    label->move(pixels(left, top));
    const int widthPixels = width > 0 ? TwipsToPixels(width, dpiX_) : label->sizeHint().width();
    label->resize(widthPixels, TwipsToPixels(height, dpiY_));
    return label;
}

QLineEdit* FormBuilder::addTextBox(const QString& name, int left, int top, int width, int height) {
    auto* box = new QLineEdit(&canvas_);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The program writes the boxes and nothing reads them: an edit would be ignored.
    box->setReadOnly(true);
    box->setGeometry(
        QRect(pixels(left, top), QSize(TwipsToPixels(width, dpiX_), TwipsToPixels(height, dpiY_))));
    controls.boxes.insert(name, box);
    return box;
}

QPushButton* FormBuilder::addButton(const QString& name, const QString& caption, int left,
                                    const QColor& background) {
    auto* button = new QPushButton(caption, &canvas_);
    button->setObjectName(name);
    QPalette colours = button->palette();
    colours.setColor(QPalette::Button, background);
    button->setPalette(colours);
    button->setGeometry(
        QRect(pixels(left, 9840), QSize(TwipsToPixels(975, dpiX_), TwipsToPixels(375, dpiY_))));
    return button;
}

void FormBuilder::addLine(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour,
                          int width) {
    canvas_.addLine(FormLine{name, QLine(pixels(x1, y1), pixels(x2, y2)), colour, width});
}

}  // namespace

void DressFormWindow(QWidget& window) {
    InstallFormFontSubstitute();
    window.setWindowTitle(QStringLiteral("Form1"));
    window.setFont(FormFont(kControlPoints));
    QPalette formPalette = window.palette();
    formPalette.setColor(QPalette::Window, kFormBackground);
    window.setPalette(formPalette);
}

QSize FormClientSize(const QWidget& window) {
    return {TwipsToPixels(kFormWidth + kClientMargin, window.logicalDpiX()),
            TwipsToPixels(kFormHeight + kClientMargin, window.logicalDpiY())};
}

FormControls BuildForm(FormCanvas& canvas) {
    FormBuilder form(canvas);
    form.createFramePanels();
    form.createLabels();
    form.createTextBoxes();
    form.createDiagrams();
    form.createButtons();
    return form.controls;
}

}  // namespace korvanet
