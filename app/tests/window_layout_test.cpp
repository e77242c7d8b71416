// SPDX-License-Identifier: GPL-3.0-or-later
// The form against its design: every text box, label, line and button with
// its name, caption, position, size, font and colour.  The tables below are
// written in twips from the design; the window converts them to pixels at
// the logical resolution (96 dpi offscreen: 15 twips a pixel).

#include <QApplication>
#include <QDockWidget>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <memory>

#include "app/form_canvas.h"
#include "app/main_window.h"

using korvanet::FormCanvas;
using korvanet::MainWindow;

namespace {

int Px(int twips) { return twips / 15; }
QRect PxRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

struct BoxSpec {
    const char* name;
    int left, top, width, height;
};

const BoxSpec kBoxes[] = {
    // known coordinates
    {"Text1", 1320, 2400, 1335, 285},
    {"Text2", 1320, 3000, 1335, 285},
    {"Text3", 1320, 4440, 1335, 285},
    {"Text4", 1320, 5040, 1335, 285},
    // start angles
    {"Text5", 1200, 7200, 1455, 285},
    {"Text6", 1200, 7920, 1455, 285},
    // observed angles
    {"Text9(0)", 3480, 1800, 1215, 285},
    {"Text9(1)", 3480, 2280, 1215, 285},
    {"Text9(2)", 3480, 2760, 1215, 285},
    {"Text9(3)", 3480, 3240, 1215, 285},
    {"Text9(4)", 3480, 3720, 1215, 285},
    {"Text9(5)", 3480, 4200, 1215, 285},
    {"Text9(6)", 3480, 4680, 1215, 285},
    {"Text9(7)", 3480, 5160, 1215, 285},
    // observed sides
    {"Text10(0)", 3480, 6360, 1095, 285},
    {"Text10(1)", 3480, 6840, 1095, 285},
    {"Text10(2)", 3480, 7320, 1095, 285},
    {"Text10(3)", 3480, 7800, 1095, 285},
    {"Text10(4)", 3480, 8280, 1095, 285},
    {"Text10(5)", 3480, 8760, 1095, 285},
    // condition misclosures
    {"Text23", 6120, 1920, 1095, 255},
    {"Text24", 8040, 1920, 1095, 255},
    {"Text25", 9960, 1920, 1095, 285},
    {"Text26", 5400, 2520, 1215, 285},
    {"Text27", 7080, 2520, 1215, 285},
    {"Text28", 8760, 2520, 1215, 285},
    {"Text29", 10440, 2520, 1215, 285},
    {"Text14", 5400, 3120, 1215, 285},
    {"Text15", 7080, 3120, 1215, 285},
    {"Text16", 8760, 3120, 1215, 285},
    {"Text17", 10440, 3120, 1215, 285},
    // precision statistics
    {"Text30", 6120, 4320, 1095, 285},
    {"Text31", 6120, 4920, 1095, 285},
    {"Text32", 8280, 4320, 1095, 285},
    {"Text33", 8280, 4920, 1095, 285},
    {"Text34", 6120, 5520, 1095, 285},
    {"Text35", 6120, 6120, 1095, 285},
    {"Text36", 6120, 6720, 1095, 285},
    {"Text37", 8280, 5520, 1095, 285},
    {"Text38", 8280, 6120, 1095, 285},
    {"Text39", 8280, 6720, 1095, 285},
    {"Text11", 10320, 5040, 1095, 285},
    {"Text12", 10320, 6000, 1095, 285},
    // adjustment results: name, x, y of A, B, C, D and A again
    {"Text40", 6600, 7560, 975, 285},
    {"Text41", 8040, 7560, 1335, 285},
    {"Text42", 9840, 7560, 1335, 285},
    {"Text43", 6600, 7920, 975, 285},
    {"Text44", 8040, 7920, 1335, 285},
    {"Text45", 9840, 7920, 1335, 285},
    {"Text46", 6600, 8280, 975, 285},
    {"Text47", 8040, 8280, 1335, 285},
    {"Text48", 9840, 8280, 1335, 285},
    {"Text49", 6600, 8640, 975, 285},
    {"Text50", 8040, 8640, 1335, 285},
    {"Text51", 9840, 8640, 1335, 285},
    {"Text7", 6600, 9000, 975, 285},
    {"Text8", 8040, 9000, 1335, 285},
    {"Text13", 9840, 9000, 1335, 285},
};

struct LabelSpec {
    const char* caption;
    int left, top;
    int width;  // 0: not fixed by the design, as wide as the caption needs
    int height;
    double points;
};

const LabelSpec kLabels[] = {
    {"Korvanet", 4920, 480, 2655, 375, 12},
    // known coordinates
    {"A点起算座标:", 960, 1800, 0, 255, 8.25},
    {" 纵 座 标", 1560, 2160, 0, 255, 8.25},
    {" Xa", 960, 2400, 0, 255, 8.25},
    {" 横 座 标", 1560, 2760, 0, 255, 8.25},
    {" Ya", 960, 3000, 0, 255, 8.25},
    {"D点起算座标:", 960, 3840, 0, 255, 8.25},
    {" 纵 座 标 ", 1560, 4200, 0, 255, 8.25},
    {" Xd", 960, 4440, 0, 255, 8.25},
    {" 横 座 标", 1560, 4800, 0, 255, 8.25},
    {" Yd", 960, 5040, 0, 255, 8.25},
    // start angles
    {"起始角度:", 1080, 6480, 0, 255, 8.25},
    {"起始外方位角", 1320, 6960, 0, 255, 8.25},
    {" T0", 840, 7200, 0, 255, 8.25},
    {"至 S(1) 边定向角", 1200, 7680, 0, 255, 8.25},
    {" Q1", 840, 7920, 0, 255, 8.25},
    // observed angles
    {"观 测 角", 3720, 1560, 0, 255, 8.25},
    {" B(1)", 3000, 1800, 495, 255, 8.25},
    {" B(2)", 3000, 2280, 495, 255, 8.25},
    {" B(3)", 3000, 2760, 495, 255, 8.25},
    {" B(4)", 3000, 3240, 495, 255, 8.25},
    {" B(5)", 3000, 3720, 495, 255, 8.25},
    {" B(6)", 3000, 4200, 495, 255, 8.25},
    {" B(7)", 3000, 4680, 495, 255, 8.25},
    {" B(8)", 3000, 5160, 495, 255, 8.25},
    // observed sides
    {"观 测 边", 3720, 6120, 0, 255, 8.25},
    {" S(1)", 3000, 6360, 495, 255, 8.25},
    {" S(2)", 3000, 6840, 495, 255, 8.25},
    {" S(3)", 3000, 7320, 495, 255, 8.25},
    {" S(4)", 3000, 7800, 495, 255, 8.25},
    {" S(5)", 3000, 8280, 495, 255, 8.25},
    {" S(6)", 3000, 8760, 495, 255, 8.25},
    // condition misclosures
    {"( 条件方程式闭合差 )", 5520, 1320, 0, 255, 8.25},
    {" 三角形闭合差", 6000, 1680, 0, 255, 8.25},
    {" 三角形闭合差", 7920, 1680, 0, 255, 8.25},
    {" 三角形闭合差", 9840, 1680, 0, 255, 8.25},
    {"wb1", 5760, 1920, 0, 255, 8.25},
    {"wb2", 7680, 1920, 0, 255, 8.25},
    {"wb3", 9600, 1920, 0, 255, 8.25},
    {" 边角条件闭合差", 5280, 2280, 0, 255, 8.25},
    {" 边角条件闭合差", 6960, 2280, 0, 255, 8.25},
    {" 边角条件闭合差", 8640, 2280, 0, 255, 8.25},
    {" 边角条件闭合差", 10320, 2280, 0, 255, 8.25},
    {"ws1", 5040, 2520, 0, 255, 8.25},
    {"ws2", 6720, 2520, 0, 255, 8.25},
    {"ws3", 8400, 2520, 0, 255, 8.25},
    {"ws4", 10080, 2520, 0, 255, 8.25},
    {" 边角条件闭合差", 5280, 2880, 0, 255, 8.25},
    {" 边角条件闭合差", 6960, 2880, 0, 255, 8.25},
    {" 边角条件闭合差", 8640, 2880, 0, 255, 8.25},
    {" 边角条件闭合差", 10320, 2880, 0, 255, 8.25},
    {"ws5", 5040, 3120, 0, 255, 8.25},
    {"ws6", 6720, 3120, 0, 255, 8.25},
    {"ws7", 8400, 3120, 0, 255, 8.25},
    {"ws8", 10080, 3120, 0, 255, 8.25},
    // precision statistics
    {"( 精度统计 )", 5160, 3720, 0, 255, 8.25},
    {"B点纵座标权倒数", 5880, 4080, 0, 255, 8.25},
    {"1/px", 5640, 4320, 0, 255, 8.25},
    {"B点横座标权倒数", 5880, 4680, 0, 255, 8.25},
    {"1/py", 5640, 4920, 0, 255, 8.25},
    {"C点纵座标权倒数", 8040, 4080, 0, 255, 8.25},
    {"1/px", 7800, 4320, 0, 255, 8.25},
    {"C点横座标权倒数", 8040, 4680, 0, 255, 8.25},
    {"1/py", 7800, 4920, 0, 255, 8.25},
    {"B点纵座标单位权中误差", 5640, 5280, 0, 255, 8.25},
    {" mx", 5760, 5520, 0, 255, 8.25},
    {"B点横座标单位权中误差", 5640, 5880, 0, 255, 8.25},
    {" my", 5760, 6120, 0, 255, 8.25},
    {"B点单位权点位中误差", 5640, 6480, 0, 255, 8.25},
    {" md", 5760, 6720, 0, 255, 8.25},
    {"C点纵座标单位权中误差", 7800, 5280, 0, 255, 8.25},
    {" mx", 7920, 5520, 0, 255, 8.25},
    {"C点横座标单位权中误差", 7800, 5880, 0, 255, 8.25},
    {" my", 7920, 6120, 0, 255, 8.25},
    {"C点单位权点位中误差", 7800, 6480, 0, 255, 8.25},
    {" md", 7920, 6720, 0, 255, 8.25},
    {"单位权测角中误差", 9960, 4800, 0, 255, 8.25},
    {" mb", 9960, 5040, 0, 255, 8.25},
    {"单位权测边中误差", 9960, 5760, 0, 255, 8.25},
    {" ms", 9960, 6000, 0, 255, 8.25},
    // adjustment results
    {"( 平差结果 )", 4920, 7440, 0, 255, 8.25},
    {"点  名", 6840, 7320, 0, 255, 8.25},
    {" 纵 座 标", 8280, 7320, 0, 255, 8.25},
    {" 横 座 标", 10080, 7320, 0, 255, 8.25},
    {" N(a)", 6120, 7560, 495, 255, 8.25},
    {" X(a)", 7560, 7560, 495, 255, 8.25},
    {" Y(a)", 9360, 7560, 495, 255, 8.25},
    {" N(b)", 6120, 7920, 495, 255, 8.25},
    {" X(b)", 7560, 7920, 495, 255, 8.25},
    {" Y(b)", 9360, 7920, 495, 255, 8.25},
    {" N(c)", 6120, 8280, 495, 255, 8.25},
    {" X(c)", 7560, 8280, 495, 255, 8.25},
    {" Y(c)", 9360, 8280, 495, 255, 8.25},
    {" N(d)", 6120, 8640, 495, 255, 8.25},
    {" X(d)", 7560, 8640, 495, 255, 8.25},
    {" Y(d)", 9360, 8640, 495, 255, 8.25},
    {" N(a)", 6120, 9000, 495, 255, 8.25},
    {" X(a)", 7560, 9000, 495, 255, 8.25},
    {" Y(a)", 9360, 9000, 495, 255, 8.25},
    // upper diagram
    {"A", 12840, 5280, 0, 375, 13.5},
    {"B", 12840, 2280, 0, 375, 13.5},
    {"C", 14880, 2280, 0, 375, 13.5},
    {"D", 14880, 5400, 0, 375, 13.5},
    {"S(1)", 12840, 3960, 0, 255, 8.25},
    {"S(2)", 13560, 3480, 0, 255, 8.25},
    {"S(3)", 13920, 2520, 0, 255, 8.25},
    {"S(4)", 14160, 3360, 0, 255, 8.25},
    {"S(5)", 14760, 3960, 0, 255, 8.25},
    {"S(6)", 13920, 5280, 0, 255, 8.25},
    {"a(1)", 13080, 4560, 0, 255, 8.25},
    {"a(2)", 13080, 3120, 0, 255, 8.25},
    {"a(3)", 13320, 2760, 0, 255, 8.25},
    {"a(4)", 14400, 2760, 0, 255, 8.25},
    {"a(5)", 14640, 3240, 0, 255, 8.25},
    {"a(6)", 14640, 4680, 0, 255, 8.25},
    {"a(7)", 14400, 5160, 0, 255, 8.25},
    {"a(8)", 13320, 5160, 0, 255, 8.25},
    // lower diagram
    {"T0", 12240, 7680, 0, 255, 9.75},
    {"Q1", 12600, 7320, 0, 255, 8.25},
};

struct LineSpec {
    const char* name;
    int x1, y1, x2, y2;
    QRgb colour;
    int width;
};

constexpr QRgb kFrame = qRgb(0, 0, 192);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 192, 0);

const LineSpec kLines[] = {
    {"Line1", 720, 1080, 11880, 1080, kFrame, 3},    {"Line3", 720, 9480, 11880, 9480, kFrame, 3},
    {"Line5", 720, 1080, 720, 9480, kFrame, 3},      {"Line2", 11880, 1080, 11880, 9480, kFrame, 3},
    {"Line6", 2880, 1080, 2880, 9480, kFrame, 3},    {"Line7", 4800, 1080, 4800, 9480, kFrame, 3},
    {"Line11", 720, 5760, 3360, 5760, kFrame, 3},    {"Line9", 3360, 5760, 4800, 5760, kFrame, 3},
    {"Line8", 4800, 3600, 11880, 3600, kFrame, 3},   {"Line4", 4800, 7200, 11880, 7200, kFrame, 3},
    {"Line12", 13080, 2640, 13080, 3840, kBlack, 2}, {"Line33", 13080, 4320, 13080, 5400, kBlack, 2},
    {"Line35", 13080, 2640, 13680, 3480, kBlack, 2}, {"Line17", 13800, 3720, 15000, 5400, kBlack, 2},
    {"Line14", 13080, 2640, 13800, 2640, kBlack, 2}, {"Line37", 14280, 2640, 15000, 2640, kBlack, 2},
    {"Line16", 15000, 2640, 13080, 5400, kBlack, 2}, {"Line15", 15000, 2640, 15000, 3840, kBlack, 2},
    {"Line34", 15000, 4200, 15000, 5400, kBlack, 2}, {"Line13", 13080, 5400, 13920, 5400, kRed, 3},
    {"Line36", 14280, 5400, 15000, 5400, kRed, 3},   {"Line19", 13080, 6120, 15000, 6120, kBlack, 2},
    {"Line20", 13080, 8760, 15000, 8760, kBlack, 2}, {"Line10", 13080, 6120, 13080, 8760, kBlack, 2},
    {"Line21", 15000, 6120, 15000, 8760, kBlack, 2}, {"Line22", 15000, 6120, 13080, 8760, kBlack, 2},
    {"Line23", 13080, 6120, 15000, 8760, kBlack, 2}, {"Line24", 12240, 7080, 13080, 8760, kRed, 3},
    {"Line25", 12240, 7080, 12240, 7320, kRed, 2},   {"Line26", 12240, 7080, 12480, 7200, kRed, 2},
    {"Line27", 12480, 7560, 12600, 7440, kGreen, 2}, {"Line28", 12840, 7440, 13080, 7560, kGreen, 2},
};

struct ButtonSpec {
    const char* name;
    const char* caption;
    int left, top;
    QRgb background;
};

const ButtonSpec kButtons[] = {
    {"Command1", "进行计算", 5040, 9840, qRgb(192, 255, 255)},
    {"Command2", "结束退出", 6360, 9840, qRgb(192, 255, 255)},
    {"Command3", "打 印", 7680, 9840, qRgb(192, 192, 255)},
};

constexpr QRgb kFormBackground = qRgb(255, 255, 192);

// Does the image carry `colour` within one pixel of `at`?
bool PaintedNear(const QImage& image, QPoint at, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && (image.pixel(p) & 0xffffff) == (colour & 0xffffff)) return true;
        }
    }
    return false;
}

void CheckFormFont(const QFont& font, double points) {
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.weight(), QFont::Bold);
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0);
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0);
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        image_ = window_->canvas()->grab().toImage();
    }
    void cleanupTestCase() { window_.reset(); }

    void windowAndBackground() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form1"));
        FormCanvas* canvas = window_->canvas();
        // The layout, 15255 x 10215 twips, and 120 twips more on the right and
        // below, so the borders of the buttons on the bottom edge show whole.
        QCOMPARE(canvas->size(), QSize(1025, 689));
        QCOMPARE(canvas->palette().color(QPalette::Window).rgb(), kFormBackground);
        QVERIFY(canvas->autoFillBackground());
        // A blank spot of the form and a blank spot inside a panel.
        QCOMPARE(image_.pixel(5, 5) & 0xffffff, kFormBackground & 0xffffff);
        QCOMPARE(image_.pixel(Px(11600), Px(9360)) & 0xffffff, kFormBackground & 0xffffff);
        // The margin, just below a button and beyond the layout's right edge.
        QCOMPARE(image_.pixel(Px(5400), Px(10215) + 3) & 0xffffff, kFormBackground & 0xffffff);
        QCOMPARE(image_.pixel(1024, 688) & 0xffffff, kFormBackground & 0xffffff);
        // The menu bar sits above the form and leaves its coordinates alone.
        QCOMPARE(canvas->mapTo(window_.get(), QPoint(0, 0)).y(), window_->menuBar()->geometry().bottom() + 1);
        CheckFormFont(window_->font(), 8.25);
        // The stand-in for the form's family is a CJK sans-serif.
        QCOMPARE(QFontInfo(window_->font()).family(), QStringLiteral("Noto Sans CJK SC"));
    }

    // The whole form can be seen: in full where the screen is large enough,
    // otherwise the window takes the screen and the rest scrolls into view.
    void wholeFormReachable() {
        auto* scroll = window_->findChild<QScrollArea*>();
        QVERIFY(scroll);
        QCOMPARE(scroll->widget(), window_->canvas());
        const QSize canvas = window_->canvas()->size();
        const QSize viewport = scroll->viewport()->size();
        const QSize available = window_->screen()->availableSize();
        const int allowance = 48;  // the title bar and border a window manager adds
        if (viewport.width() < canvas.width()) {
            QVERIFY(window_->width() >= available.width() - allowance);
            QCOMPARE(scroll->horizontalScrollBar()->maximum(), canvas.width() - viewport.width());
        }
        if (viewport.height() < canvas.height()) {
            QVERIFY(window_->height() >= available.height() - allowance);
            QCOMPARE(scroll->verticalScrollBar()->maximum(), canvas.height() - viewport.height());
        }
        // The observation sheet stands beside the form and takes its share of the width.
        auto* dock = window_->findChild<QDockWidget*>(QStringLiteral("observationSheetDock"));
        QVERIFY(dock);
        const int beside = dock->isVisible() && !dock->isFloating() ? dock->width() : 0;
        QVERIFY(viewport.width() >= std::min(canvas.width(), available.width() - allowance - 20 - beside));
        QVERIFY(viewport.height() >= std::min(canvas.height(), available.height() - allowance - 20));
    }

    void textBoxes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        for (const BoxSpec& box : kBoxes) {
            QTest::newRow(box.name) << QString::fromUtf8(box.name)
                                    << PxRect(box.left, box.top, box.width, box.height);
        }
    }
    void textBoxes() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        const auto found = window_->findChildren<QLineEdit*>(name);
        QCOMPARE(found.size(), qsizetype(1));
        QLineEdit* box = found.front();
        QCOMPARE(box->parentWidget(), window_->canvas());
        QCOMPARE(box->geometry(), geometry);
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QString());
        // Output only: the program writes the boxes and never reads them.
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        CheckFormFont(box->font(), 8.25);
    }

    void noOtherTextBoxes() {
        QSet<QString> expected;
        for (const BoxSpec& box : kBoxes) expected.insert(QString::fromUtf8(box.name));
        QSet<QString> actual;
        for (QLineEdit* box : window_->findChildren<QLineEdit*>()) {
            // The scroll area has no line edits of its own; every one is a box of the form.
            actual.insert(box->objectName());
        }
        QCOMPARE(actual, expected);
        QCOMPARE(window_->findChildren<QLineEdit*>().size(), qsizetype(58));
    }

    void labels_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("points");
        for (const LabelSpec& label : kLabels) {
            const QByteArray row = QByteArray(label.caption) + " @" + QByteArray::number(label.left) + "," +
                                   QByteArray::number(label.top);
            QTest::newRow(row.constData())
                << QString::fromUtf8(label.caption) << QPoint(Px(label.left), Px(label.top))
                << Px(label.width) << Px(label.height) << label.points;
        }
    }
    void labels() {
        QFETCH(QString, caption);
        QFETCH(QPoint, position);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, points);
        QLabel* label = labelAt(caption, position);
        QVERIFY2(label, "no label with this caption at this position");
        QCOMPARE(label->height(), height);
        if (width > 0) QCOMPARE(label->width(), width);
        CheckFormFont(label->font(), points);
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(label->palette().color(QPalette::Window).rgb(), kFormBackground);
        QVERIFY(label->isVisible());
        // Nothing of the caption is cut off: it fits across, and its ink,
        // set on the top line, ends inside the label.
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(caption) <= label->width(),
                 qPrintable(QStringLiteral("needs %1 px, has %2")
                                .arg(metrics.horizontalAdvance(caption))
                                .arg(label->width())));
        QVERIFY(metrics.ascent() + metrics.tightBoundingRect(caption).bottom() <= label->height());
    }

    void noOtherLabels() {
        const auto labels = window_->canvas()->findChildren<QLabel*>();
        QCOMPARE(labels.size(), qsizetype(std::size(kLabels)));
    }

    void lines_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QLine>("line");
        QTest::addColumn<uint>("colour");
        QTest::addColumn<int>("width");
        for (const LineSpec& line : kLines) {
            QTest::newRow(line.name) << QString::fromUtf8(line.name)
                                     << QLine(Px(line.x1), Px(line.y1), Px(line.x2), Px(line.y2))
                                     << uint(line.colour) << line.width;
        }
    }
    void lines() {
        QFETCH(QString, name);
        QFETCH(QLine, line);
        QFETCH(uint, colour);
        QFETCH(int, width);
        const korvanet::FormLine* drawn = window_->canvas()->line(name);
        QVERIFY(drawn);
        QCOMPARE(drawn->pixels, line);
        QCOMPARE(drawn->colour.rgb(), QRgb(colour));
        QCOMPARE(drawn->width, width);
        // It is really painted: at a quarter, the middle and three quarters.
        for (double t : {0.25, 0.5, 0.75}) {
            const QPoint at(qRound(line.x1() + t * line.dx()), qRound(line.y1() + t * line.dy()));
            QVERIFY2(PaintedNear(image_, at, colour),
                     qPrintable(QStringLiteral("not painted at %1,%2").arg(at.x()).arg(at.y())));
        }
    }

    void noOtherLines() { QCOMPARE(window_->canvas()->lines().size(), std::size(kLines)); }

    void buttons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<uint>("background");
        for (const ButtonSpec& button : kButtons) {
            QTest::newRow(button.name)
                << QString::fromUtf8(button.name) << QString::fromUtf8(button.caption)
                << PxRect(button.left, button.top, 975, 375) << uint(button.background);
        }
    }
    void buttons() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(uint, background);
        auto* button = window_->findChild<QPushButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->geometry(), geometry);
        QCOMPARE(button->palette().color(QPalette::Button).rgb(), QRgb(background));
        CheckFormFont(button->font(), 8.25);
        QVERIFY(QFontMetrics(button->font()).horizontalAdvance(caption) < button->width());
        // The colour shows: the face beside the caption has its hue (the
        // style may lighten it), so the print button stands apart.
        const QColor face = image_.pixelColor(geometry.left() + 4, geometry.center().y());
        const QColor wanted = QColor::fromRgb(background);
        QVERIFY2(face.hsvSaturation() > 10 && std::abs(face.hsvHue() - wanted.hsvHue()) <= 10,
                 qPrintable(face.name()));
    }

    void noOtherButtons() { QCOMPARE(window_->findChildren<QPushButton*>().size(), qsizetype(3)); }

private:
    QLabel* labelAt(const QString& caption, QPoint position) const {
        for (QLabel* label : window_->canvas()->findChildren<QLabel*>()) {
            if (label->text() == caption && label->pos() == position) return label;
        }
        return nullptr;
    }

    std::unique_ptr<MainWindow> window_;
    QImage image_;
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
