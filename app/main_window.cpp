// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <exception>
#include <stdexcept>

#include "app/design_window.h"
#include "app/form_canvas.h"
#include "app/form_fonts.h"
#include "app/job_files.h"
#include "app/print_command.h"
#include "app/qt_prompter.h"
#include "app/quality_window.h"
#include "app/twips.h"
#include "compute/compute_run.h"
#include "compute/job_run.h"
#include "core/korvanet_error.h"
#include "core/korvanet_version.h"

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
// The text of a box that still shows a value of an earlier run, after a run
// that did not complete: plainly not part of what is shown beside it.
const QColor kStaleText(150, 150, 150);

const char* const kJobFilter = "作业文件 (*.txt *.kvj);;所有文件 (*)";

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

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    InstallFormFontSubstitute();
    setWindowTitle(QStringLiteral("Form1"));
    setFont(FormFont(kControlPoints));

    QPalette formPalette = palette();
    formPalette.setColor(QPalette::Window, kFormBackground);
    setPalette(formPalette);

    canvas_ = new FormCanvas;
    canvas_->setAutoFillBackground(true);
    canvas_->setFixedSize(TwipsToPixels(kFormWidth + kClientMargin, logicalDpiX()),
                          TwipsToPixels(kFormHeight + kClientMargin, logicalDpiY()));

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->viewport()->setAutoFillBackground(true);
    scrollArea_->setWidget(canvas_);
    setCentralWidget(scrollArea_);

    createMenus();
    createFramePanels();
    createLabels();
    createTextBoxes();
    createDiagrams();
    createButtons();
    fitToScreen();
    setAcceptDrops(true);
    jobFolder_ = QDir::homePath();

    // Text1 is first in the tab order; the keyboard starts there.
    boxes_.value(QStringLiteral("Text1"))->setFocus();
}

void MainWindow::SetText(const std::string& box, const std::string& text) {
    QLineEdit* edit = boxes_.value(QString::fromStdString(box));
    if (edit == nullptr) {
        throw std::logic_error("the form has no text box named \"" + box + "\"");
    }
    edit->setText(QString::fromStdString(text));
    // Show the start of a text wider than its box, as a freshly filled box does.
    edit->setCursorPosition(0);
    // A value this run wrote belongs to this run, whatever the box showed before.
    clearStaleGrey(edit);
    writtenThisRun_.insert(edit->objectName());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::Command1_Click() { runCompute({}); }

void MainWindow::runAgain() {
    // A copy: the run replaces the job in hand while it still offers from it.
    const std::vector<std::string> offered = job_;
    runCompute(offered);
}

void MainWindow::runCompute(const std::vector<std::string>& offered) {
    if (running_) return;
    beginRun();
    QtPrompter prompter(this, offered);
    QString failure;
    bool programFault = false;
    try {
        quality_ = RunCompute(state_, prompter, *this);
    } catch (const RunStopped&) {
        // The surveyor stopped the run: nothing to tell.
    } catch (const KorvanetError& error) {
        failure = QString::fromStdString(error.what());
    } catch (const std::exception& error) {
        // Not a fault of the input but of the program; still, the surveyor's
        // window and everything typed so far stay.
        failure = QStringLiteral("计算时发生意外的程序错误, 计算没有完成:\n") +
                  QString::fromStdString(error.what());
        programFault = true;
    }
    endRun(prompter.Answers(), offered);
    // The command stops; what the window shows and the program stay.
    if (programFault) {
        QMessageBox::critical(this, QStringLiteral("计算中止"), failure);
    } else if (!failure.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("计算中止"), failure);
    }
}

void MainWindow::openJob(const QString& path) {
    if (running_) return;
    std::vector<std::string> answers;
    QString error;
    if (!ReadJobFile(path, answers, error)) {
        QMessageBox::warning(this, QStringLiteral("打开作业"), error);
        return;
    }
    jobFolder_ = QFileInfo(path).absolutePath();
    beginRun();
    JobRun run = RunJob(answers, state_, *this);
    quality_ = run.quality;
    endRun(run.prompter.Answers(), answers);
    if (run.failure) {
        QMessageBox::warning(this, QStringLiteral("计算中止"),
                             QStringLiteral("作业 %1 没有算完:\n%2")
                                 .arg(QFileInfo(path).fileName(), QString::fromStdString(*run.failure)));
    }
}

bool MainWindow::saveJob(const QString& path) {
    QString error;
    if (!WriteJobFile(path, job_, error)) {
        QMessageBox::warning(this, QStringLiteral("保存作业"), error);
        return false;
    }
    jobFolder_ = QFileInfo(path).absolutePath();
    return true;
}

void MainWindow::keepLastRunIn(const QString& path) {
    lastRunPath_ = path;
    std::vector<std::string> answers;
    QString error;
    if (QFileInfo::exists(path) && ReadJobFile(path, answers, error)) job_ = std::move(answers);
    updateJobActions();
}

void MainWindow::beginRun() {
    running_ = true;
    writtenThisRun_.clear();
    quality_.reset();
    qualityAction_->setEnabled(false);
    applyQualityColours(nullptr);
}

void MainWindow::endRun(const std::vector<std::string>& answers, const std::vector<std::string>& offered) {
    job_ = answers;
    if (!state_.RunCompleted && offered.size() > job_.size()) {
        job_.insert(job_.end(), offered.begin() + static_cast<std::ptrdiff_t>(job_.size()), offered.end());
    }
    if (state_.RunCompleted) {
        clearStaleGrey();
        if (quality_) applyQualityColours(&*quality_);
        qualityAction_->setEnabled(quality_.has_value());
    } else {
        quality_.reset();
        greyBoxesFromEarlierRuns();
    }
    if (!lastRunPath_.isEmpty()) {
        QString error;
        QDir().mkpath(QFileInfo(lastRunPath_).absolutePath());
        if (!WriteJobFile(lastRunPath_, job_, error)) qWarning("%s", qUtf8Printable(error));
    }
    updateJobActions();
    running_ = false;
}

void MainWindow::updateJobActions() {
    saveAction_->setEnabled(!job_.empty());
    runAgainAction_->setEnabled(!job_.empty());
}

void MainWindow::greyBoxesFromEarlierRuns() {
    for (QLineEdit* box : std::as_const(boxes_)) {
        if (writtenThisRun_.contains(box->objectName()) || box->text().isEmpty()) continue;
        QPalette colours = box->palette();
        colours.setColor(QPalette::Text, kStaleText);
        box->setPalette(colours);
    }
}

void MainWindow::clearStaleGrey() {
    for (QLineEdit* box : std::as_const(boxes_)) clearStaleGrey(box);
}

void MainWindow::clearStaleGrey(QLineEdit* box) {
    QPalette colours = box->palette();
    if (colours.color(QPalette::Text) != kStaleText) return;
    colours.setColor(QPalette::Text, box->parentWidget()->palette().color(QPalette::Text));
    box->setPalette(colours);
}

void MainWindow::chooseJobToOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开作业"), jobFolder_,
                                                      QString::fromUtf8(kJobFilter));
    if (!path.isEmpty()) openJob(path);
}

void MainWindow::chooseFileToSave() {
    QFileDialog dialog(this, QStringLiteral("保存作业"), jobFolder_, QString::fromUtf8(kJobFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveJob(dialog.selectedFiles().constFirst());
}

void MainWindow::showAbout() {
    QMessageBox::about(
        this, QStringLiteral("关于 Korvanet"),
        QStringLiteral("Korvanet %1\n\n"
                       "边角网大地四边形的严密条件平差: 输入限差、已知数据、点名、八个观测角和边长, "
                       "求出平差后的角度、边长、座标及其精度, 并打印成果报告。\n\n"
                       "作业文件是 UTF-8 文本文件, 每行一个答案, 按提示的顺序写出 ( 确认提示不写 ) , "
                       "与 korvanet-batch 使用的文件相同。")
            .arg(QString::fromLatin1(kVersion)));
}

// A job file dropped on the window is opened as if chosen with 打开作业.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!running_ && urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (running_ || urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    // Run once the drop has finished, not inside the drag-and-drop exchange.
    const QString path = urls.front().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { openJob(path); }, Qt::QueuedConnection);
}

void MainWindow::Command2_Click() { close(); }

void MainWindow::Command3_Click() { RunPrintCommand(state_, this); }

void MainWindow::openDesignWindow() {
    auto* window = new DesignWindow(quality_ ? DesignOf(*quality_) : ExampleDesign(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The template is put in hand as an opened job is: 重新计算 offers its
    // names and coordinates, 保存作业 writes it.
    connect(window, &DesignWindow::jobTemplateMade, this, [this](const std::vector<std::string>& answers) {
        job_ = answers;
        updateJobActions();
    });
    window->show();
}

void MainWindow::openQualityWindow() {
    if (!quality_ || !state_.RunCompleted) return;
    auto* window = new QualityWindow(state_, *quality_, this);
    window->show();
}

void MainWindow::createQualityMenu() {
    QMenu* results = menuBar()->addMenu(QStringLiteral("结果"));
    qualityAction_ = results->addAction(QStringLiteral("质量检查…"), this, &MainWindow::openQualityWindow);
    qualityAction_->setObjectName(QStringLiteral("qualityAction"));
    qualityAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    qualityAction_->setEnabled(false);  // only a completed run has a quality check
}

void MainWindow::applyQualityColours(const QualityCheck* quality) {
    const QColor alarm(Qt::red);
    auto colour = [&](QLineEdit* box, const QColor& text) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, text);
        box->setPalette(palette);
    };
    // Only the red goes: a box greyed as stale stays grey.
    for (QLineEdit* box : std::as_const(boxes_)) {
        if (box->palette().color(QPalette::Text) == alarm) {
            colour(box, box->parentWidget()->palette().color(QPalette::Text));
        }
    }
    if (quality == nullptr) return;
    for (const MisclosureCheck& m : quality->misclosures) {
        QLineEdit* box = boxes_.value(QString::fromUtf8(m.box.data(), static_cast<qsizetype>(m.box.size())));
        if (m.exceeded && box != nullptr) colour(box, alarm);
    }
    if (!quality->global.passed) colour(boxes_.value(QStringLiteral("Text11")), alarm);
}

// The menu bar sits above the client area, so the form keeps its coordinates.
void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
    file->addAction(QStringLiteral("打开作业…"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &MainWindow::chooseJobToOpen);
    saveAction_ = file->addAction(QStringLiteral("保存作业…"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                  &MainWindow::chooseFileToSave);
    file->addAction(QStringLiteral("精度估算…"), this, &MainWindow::openDesignWindow);
    runAgainAction_ = file->addAction(QStringLiteral("重新计算"), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                                      &MainWindow::runAgain);
    file->addAction(QStringLiteral("打印"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                    &MainWindow::Command3_Click);
    file->addSeparator();
    file->addAction(QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &MainWindow::close);

    createQualityMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    help->addAction(QStringLiteral("关于 Korvanet"), this, &MainWindow::showAbout);
    updateJobActions();
}

// Ten lines divide the area (720, 1080)-(11880, 9480) into the seven panels:
// known coordinates and start angles on the left, observed angles and sides
// next to them, misclosures, precision and results on the right.
void MainWindow::createFramePanels() {
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

void MainWindow::createLabels() {
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
void MainWindow::createTextBoxes() {
    static const BoxAt kInputBoxes[] = {
        {"Text1", 1320, 2400, 1335}, {"Text2", 1320, 3000, 1335}, {"Text3", 1320, 4440, 1335},
        {"Text4", 1320, 5040, 1335}, {"Text5", 1200, 7200, 1455}, {"Text6", 1200, 7920, 1455},
    };
    for (const BoxAt& box : kInputBoxes) addTextBox(Utf8(box.name), box.left, box.top, box.width);
    for (int i = 0; i < 8; ++i) {
        addTextBox(QString::fromStdString(ArrayBox("Text9", i)), 3480, 1800 + 480 * i, 1215);
    }
    for (int i = 0; i < 6; ++i) {
        addTextBox(QString::fromStdString(ArrayBox("Text10", i)), 3480, 6360 + 480 * i, 1095);
    }

    // Triangle misclosures; the first two boxes are a little shorter.
    addTextBox(QStringLiteral("Text23"), 6120, 1920, 1095, 255);
    addTextBox(QStringLiteral("Text24"), 8040, 1920, 1095, 255);
    addTextBox(QStringLiteral("Text25"), 9960, 1920, 1095);

    static const BoxAt kResultBoxes[] = {
        // side-angle misclosures 1 to 8
        {"Text26", 5400, 2520, 1215},
        {"Text27", 7080, 2520, 1215},
        {"Text28", 8760, 2520, 1215},
        {"Text29", 10440, 2520, 1215},
        {"Text14", 5400, 3120, 1215},
        {"Text15", 7080, 3120, 1215},
        {"Text16", 8760, 3120, 1215},
        {"Text17", 10440, 3120, 1215},
        // weight reciprocals and mean errors
        {"Text30", 6120, 4320, 1095},
        {"Text31", 6120, 4920, 1095},
        {"Text32", 8280, 4320, 1095},
        {"Text33", 8280, 4920, 1095},
        {"Text34", 6120, 5520, 1095},
        {"Text35", 6120, 6120, 1095},
        {"Text36", 6120, 6720, 1095},
        {"Text37", 8280, 5520, 1095},
        {"Text38", 8280, 6120, 1095},
        {"Text39", 8280, 6720, 1095},
        {"Text11", 10320, 5040, 1095},
        {"Text12", 10320, 6000, 1095},
        // table of points: name, x, y per row
        {"Text40", 6600, 7560, 975},
        {"Text41", 8040, 7560, 1335},
        {"Text42", 9840, 7560, 1335},
        {"Text43", 6600, 7920, 975},
        {"Text44", 8040, 7920, 1335},
        {"Text45", 9840, 7920, 1335},
        {"Text46", 6600, 8280, 975},
        {"Text47", 8040, 8280, 1335},
        {"Text48", 9840, 8280, 1335},
        {"Text49", 6600, 8640, 975},
        {"Text50", 8040, 8640, 1335},
        {"Text51", 9840, 8640, 1335},
        {"Text7", 6600, 9000, 975},
        {"Text8", 8040, 9000, 1335},
        {"Text13", 9840, 9000, 1335},
    };
    for (const BoxAt& box : kResultBoxes) addTextBox(Utf8(box.name), box.left, box.top, box.width);
}

// Right of the frame: the quadrilateral that fixes the numbering of points,
// angles and sides, and below it the orientation by T0 and Q1 used when D
// is not a known point.
void MainWindow::createDiagrams() {
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

void MainWindow::createButtons() {
    QPushButton* compute =
        addButton(QStringLiteral("Command1"), QStringLiteral("进行计算"), 5040, kCommandBackground);
    QPushButton* end =
        addButton(QStringLiteral("Command2"), QStringLiteral("结束退出"), 6360, kCommandBackground);
    QPushButton* print =
        addButton(QStringLiteral("Command3"), QStringLiteral("打 印"), 7680, kPrintBackground);
    connect(compute, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(end, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(print, &QPushButton::clicked, this, &MainWindow::Command3_Click);
}

// Open large enough to show the whole form where the screen allows; a
// smaller screen scrolls.
void MainWindow::fitToScreen() {
    QSize wanted = canvas_->size() + QSize(0, menuBar()->sizeHint().height());
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        resize(wanted);
        return;
    }
    // Room for the title bar and border that the window manager adds.
    const QSize available = screen->availableSize() - QSize(16, 48);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (wanted.width() > available.width()) wanted.rheight() += scrollBar;
    if (wanted.height() > available.height()) wanted.rwidth() += scrollBar;
    resize(wanted.boundedTo(available));
}

QPoint MainWindow::pixels(int x, int y) const {
    return {TwipsToPixels(x, logicalDpiX()), TwipsToPixels(y, logicalDpiY())};
}

// A label in the form's font; without a width it is as wide as its caption.
QLabel* MainWindow::addLabel(const QString& caption, int left, int top, int width, int height) {
    return placeLabel(new QLabel(caption, canvas_), left, top, width, height);
}

QLabel* MainWindow::addLabel(const QString& caption, int left, int top, const QFont& font, int height,
                             int width) {
    auto* label = new QLabel(caption, canvas_);
    label->setFont(font);
    return placeLabel(label, left, top, width, height);
}

QLabel* MainWindow::placeLabel(QLabel* label, int left, int top, int width, int height) {
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The form's background shows through, so a diagram line running along
    // the edge of a label stays whole.
    label->setAutoFillBackground(false);
    label->move(pixels(left, top));
    const int widthPixels = width > 0 ? TwipsToPixels(width, logicalDpiX()) : label->sizeHint().width();
    label->resize(widthPixels, TwipsToPixels(height, logicalDpiY()));
    return label;
}

QLineEdit* MainWindow::addTextBox(const QString& name, int left, int top, int width, int height) {
    auto* box = new QLineEdit(canvas_);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The program writes the boxes and nothing reads them: an edit would be ignored.
    box->setReadOnly(true);
    box->setGeometry(QRect(pixels(left, top),
                           QSize(TwipsToPixels(width, logicalDpiX()), TwipsToPixels(height, logicalDpiY()))));
    boxes_.insert(name, box);
    return box;
}

QPushButton* MainWindow::addButton(const QString& name, const QString& caption, int left,
                                   const QColor& background) {
    auto* button = new QPushButton(caption, canvas_);
    button->setObjectName(name);
    QPalette colours = button->palette();
    colours.setColor(QPalette::Button, background);
    button->setPalette(colours);
    button->setGeometry(QRect(pixels(left, 9840),
                              QSize(TwipsToPixels(975, logicalDpiX()), TwipsToPixels(375, logicalDpiY()))));
    return button;
}

void MainWindow::addLine(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour,
                         int width) {
    canvas_->addLine(FormLine{name, QLine(pixels(x1, y1), pixels(x2, y2)), colour, width});
}

}  // namespace korvanet
