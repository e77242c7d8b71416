// SPDX-License-Identifier: GPL-3.0-or-later
// The form as the surveyor meets it, checked without a copy of its design:
// every box that a real job writes is on the form once and the form has no
// other box; no two controls overlap; every caption fits its label or button
// and every text a reference job shows fits its box; the lines of the frame
// and of the diagrams are really painted; the keyboard starts in the sheet
// and Tab goes round the buttons and the sheet's controls, the read-only
// boxes passed by; the observations are written in the order they are asked.  The form is reached only as the
// window shows it: through its widgets and their object names.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
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
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/form_canvas.h"
#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "compute/job_run.h"
#include "core/scripted_session.h"
#include "core/text_display.h"
#include "testing/reference_runs.h"

using korvanet::FormCanvas;
using korvanet::MainWindow;

namespace {

const char* const kReferenceJobs[] = {"known-d", "free-d", "free-d-negative-q1", "free-d-q1-zero"};

// The boxes a reference job writes through the job runner, in the order
// each is first written.
std::vector<std::string> BoxesWrittenBy(const char* job) {
    korvanet::SurveyState state;
    korvanet::RecordingDisplay display;
    const korvanet::JobRun run = korvanet::RunJob(korvanet::testing::ReferenceAnswers(job), state, display);
    if (run.failure) qFatal("reference job %s did not complete: %s", job, run.failure->c_str());
    return display.Order();
}

// What a control shows, to name it in a failure.
QString Describe(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return QStringLiteral("label '%1'").arg(label->text());
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return QStringLiteral("button '%1'").arg(button->text());
    return QStringLiteral("%1 %2").arg(QLatin1String(control->metaObject()->className()),
                                       control->objectName());
}

// Where a control shows on the form: a box or button its whole rectangle,
// a label the ink of its caption (set on its top line, from its left edge).
QRect Footprint(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const QFontMetrics metrics(label->font());
        const QString caption = label->text();
        const QString ink = caption.trimmed();
        const int indent = metrics.horizontalAdvance(caption.left(caption.indexOf(ink)));
        return metrics.tightBoundingRect(ink).translated(label->pos() + QPoint(indent, metrics.ascent()));
    }
    return control->geometry();
}

QString At(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

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

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto* scroll = window_->findChild<QScrollArea*>();
        QVERIFY(scroll);
        canvas_ = qobject_cast<FormCanvas*>(scroll->widget());
        QVERIFY(canvas_);
        for (QWidget* child : canvas_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisible()) controls_.push_back(child);
        }
        image_ = canvas_->grab().toImage();
    }
    void cleanupTestCase() { window_.reset(); }

    // Each box a reference job writes is one read-only line edit of the form,
    // empty before the first run, and together the jobs use every box.
    void everyBoxAJobWritesIsOnTheFormOnce() {
        QSet<QString> written;
        for (const char* job : kReferenceJobs) {
            for (const std::string& box : BoxesWrittenBy(job)) written.insert(QString::fromStdString(box));
        }
        for (const QString& name : written) {
            const auto found = window_->findChildren<QLineEdit*>(name);
            QVERIFY2(found.size() == 1,
                     qPrintable(QStringLiteral("%1 boxes named %2").arg(found.size()).arg(name)));
            QLineEdit* box = found.front();
            QCOMPARE(box->parentWidget(), canvas_);
            QVERIFY2(box->isVisible(), qPrintable(name));
            // The program writes the boxes and nothing reads them.
            QVERIFY2(box->isReadOnly(), qPrintable(name));
            QCOMPARE(box->text(), QString());
        }
        QSet<QString> onTheForm;
        for (QLineEdit* box : window_->findChildren<QLineEdit*>()) onTheForm.insert(box->objectName());
        QCOMPARE(onTheForm, written);
    }

    // Boxes, buttons and the captions of the labels each have a place of
    // their own on the form.
    void noTwoControlsOverlap() {
        QVERIFY(controls_.size() > 100);
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            const QRect a = Footprint(controls_[i]);
            QVERIFY2(canvas_->rect().contains(controls_[i]->geometry()),
                     qPrintable(Describe(controls_[i]) + " leaves the form"));
            for (std::size_t j = i + 1; j < controls_.size(); ++j) {
                const QRect b = Footprint(controls_[j]);
                QVERIFY2(!a.intersects(b),
                         qPrintable(QStringLiteral("%1 at %2 overlaps %3 at %4")
                                        .arg(Describe(controls_[i]), At(a), Describe(controls_[j]), At(b))));
            }
        }
    }

    // Nothing of a caption is cut off: it fits across, and its ink, set on
    // the top line, ends inside the label; a button's caption fits its face.
    void captionsFit() {
        for (QLabel* label : canvas_->findChildren<QLabel*>()) {
            const QString caption = label->text();
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(caption) <= label->width(),
                     qPrintable(QStringLiteral("'%1' needs %2 px, has %3")
                                    .arg(caption)
                                    .arg(metrics.horizontalAdvance(caption))
                                    .arg(label->width())));
            QVERIFY2(metrics.ascent() + metrics.tightBoundingRect(caption).bottom() <= label->height(),
                     qPrintable(caption));
        }
        const auto buttons = canvas_->findChildren<QPushButton*>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton* button : buttons) {
            const QFontMetrics metrics(button->font());
            QVERIFY2(metrics.horizontalAdvance(button->text()) < button->width(), qPrintable(button->text()));
            QVERIFY2(metrics.height() < button->height(), qPrintable(button->text()));
        }
        // The stand-in for the form's family draws the Chinese captions.
        QCOMPARE(QFontInfo(window_->font()).family(), QStringLiteral("Noto Sans CJK SC"));
    }

    // Every text a reference job shows can be read whole in its box.
    void everyTextOfAJobFitsItsBox() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* job : kReferenceJobs) {
            window.openJob(QStringLiteral(KORVANET_REFERENCE_DIR "/%1.txt").arg(QLatin1String(job)));
            for (const std::string& name : BoxesWrittenBy(job)) {
                auto* box = window.findChild<QLineEdit*>(QString::fromStdString(name));
                QVERIFY(box);
                const QString text = box->text();
                // The frame and the line edit's own margins (2 px a side) take their share.
                const int room = box->width() - 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) -
                                 box->textMargins().left() - box->textMargins().right() - 2 * 2;
                QVERIFY2(box->fontMetrics().horizontalAdvance(text) <= room,
                         qPrintable(QStringLiteral("%1 of %2: '%3' needs %4 px, has %5")
                                        .arg(box->objectName(), QLatin1String(job), text)
                                        .arg(box->fontMetrics().horizontalAdvance(text))
                                        .arg(room)));
            }
        }
    }

    // The frame's panels and both diagrams are drawn: each line shows its
    // colour at a quarter, the middle and three quarters of its length; and
    // the buttons show theirs.
    void linesArePainted() {
        const std::vector<korvanet::FormLine>& lines = canvas_->lines();
        QVERIFY(lines.size() > 20);
        for (const korvanet::FormLine& line : lines) {
            QVERIFY2(canvas_->rect().contains(line.pixels.p1()) && canvas_->rect().contains(line.pixels.p2()),
                     qPrintable(line.name));
            QVERIFY2(line.colour.rgb() != canvas_->palette().color(QPalette::Window).rgb(),
                     qPrintable(line.name));
            for (double t : {0.25, 0.5, 0.75}) {
                const QPoint at(qRound(line.pixels.x1() + t * line.pixels.dx()),
                                qRound(line.pixels.y1() + t * line.pixels.dy()));
                QVERIFY2(
                    PaintedNear(image_, at, line.colour.rgb()),
                    qPrintable(
                        QStringLiteral("%1 not painted at %2,%3").arg(line.name).arg(at.x()).arg(at.y())));
            }
        }
        // Each button's face shows its colour beside the caption (the style
        // may lighten it), so that Print stands apart from the other two.
        for (QPushButton* button : canvas_->findChildren<QPushButton*>()) {
            const QColor face = image_.pixelColor(button->x() + 4, button->geometry().center().y());
            const QColor wanted = button->palette().color(QPalette::Button);
            QVERIFY2(face.hsvSaturation() > 10 && std::abs(face.hsvHue() - wanted.hsvHue()) <= 10,
                     qPrintable(button->text() + QStringLiteral(": ") + face.name()));
        }
        // Between the controls and the lines the form shows its own colour.
        QCOMPARE(image_.pixel(2, 2) & 0xffffff, canvas_->palette().color(QPalette::Window).rgb() & 0xffffff);
    }

    // The keyboard starts in the sheet.  The boxes are read-only and Tab
    // passes them by (the mouse still selects one): from the sheet it goes
    // to the three buttons in turn, the form (whose arrow keys scroll it), and
    // round to the sheet's 等级 box, the switch of D and the sheet again.  The boxes of the observations are
    // written in the order they are asked.
    void tabOrder() {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const std::vector<std::string> asked = BoxesWrittenBy("free-d");
        korvanet::ObservationSheet* sheet = window_->sheet();
        QCOMPARE(QApplication::focusWidget(), sheet->view());
        for (QWidget* control : controls_) {
            if (qobject_cast<QLineEdit*>(control))
                QVERIFY2(control->focusPolicy() == Qt::ClickFocus, qPrintable(Describe(control)));
        }
        QStringList chain;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain.push_back(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(chain, QStringList({QStringLiteral("Command1"), QStringLiteral("Command2"),
                                     QStringLiteral("Command3"), QStringLiteral("formScrollArea"),
                                     QStringLiteral("sheetClassChoice"), QStringLiteral("dKnownSwitch"),
                                     QStringLiteral("observationTable")}));

        QStringList observations;
        for (int i = 0; i < 8; ++i)
            observations.push_back(QString::fromStdString(korvanet::ArrayBox("Text9", i)));
        for (int i = 0; i < 6; ++i)
            observations.push_back(QString::fromStdString(korvanet::ArrayBox("Text10", i)));
        QStringList askedObservations;
        for (const std::string& box : asked) {
            if (observations.contains(QString::fromStdString(box)))
                askedObservations.push_back(QString::fromStdString(box));
        }
        QCOMPARE(askedObservations, observations);
    }

    // The whole form can be seen: in full where the screen is large enough,
    // otherwise the window takes the screen and the rest scrolls into view;
    // on a laptop's 1366 × 768 the three buttons are in view from the start,
    // the sheet beside the form.  The menu bar sits above the form and
    // leaves its coordinates alone.
    void wholeFormReachable() {
        QCOMPARE(window_->screen()->size(), QSize(1366, 768));
        auto* scroll = window_->findChild<QScrollArea*>();
        QVERIFY(scroll);
        const QSize canvas = canvas_->size();
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
        QCOMPARE(canvas_->mapTo(window_.get(), QPoint(0, 0)).y() + scroll->verticalScrollBar()->value(),
                 window_->menuBar()->geometry().bottom() + 1);
        // Only the empty margin above the form's title may be scrolled away.
        QVERIFY(dock->isVisible() && !dock->isFloating());
        std::vector<const QWidget*> inSight;
        for (const char* name : {"Command1", "Command2", "Command3"})
            inSight.push_back(canvas_->findChild<QPushButton*>(QString::fromLatin1(name)));
        for (const QLabel* label : canvas_->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Korvanet")) inSight.push_back(label);
        }
        QCOMPARE(inSight.size(), std::size_t(4));
        for (const QWidget* control : inSight) {
            const QRect inView(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
            QVERIFY2(scroll->viewport()->rect().contains(inView),
                     qPrintable(Describe(control) + QStringLiteral(": ") + At(inView)));
        }
    }

private:
    std::unique_ptr<MainWindow> window_;
    FormCanvas* canvas_ = nullptr;
    std::vector<QWidget*> controls_;  // the visible controls on the form
    QImage image_;
};

// The window is laid out on a laptop's screen of 1366 × 768, the smallest a
// surveyor is likely to work on: the offscreen platform is given that screen.
int main(int argc, char** argv) {
    const QByteArray config = QDir::temp().filePath(QStringLiteral("screen-1366x768.json")).toLocal8Bit();
    {
        QFile file(QString::fromLocal8Bit(config));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,)"
                       R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
            return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    QApplication app(argc, argv);
    WindowLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "window_layout_test.moc"
