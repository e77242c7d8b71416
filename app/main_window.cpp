// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
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
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QUndoStack>
#include <QUrl>
#include <exception>
#include <stdexcept>
#include <utility>

#include "app/design_window.h"
#include "app/field_book_document.h"
#include "app/field_book_window.h"
#include "app/figure_export.h"
#include "app/form_canvas.h"
#include "app/form_design.h"
#include "app/form_fonts.h"
#include "app/job_in_hand.h"
#include "app/job_store.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "app/order_class_choice.h"
#include "app/print_command.h"
#include "app/program_settings.h"
#include "app/qt_prompter.h"
#include "app/quality_window.h"
#include "app/report_export.h"
#include "compute/adjustment_report.h"
#include "compute/compute_run.h"
#include "compute/figure_exports.h"
#include "compute/job_file_reader.h"
#include "compute/job_run.h"
#include "core/form_boxes.h"
#include "core/korvanet_error.h"
#include "core/korvanet_version.h"

namespace korvanet {
namespace {

// The text of a box that still shows a value of an earlier run, after a run
// that did not complete: plainly not part of what is shown beside it.
const QColor kStaleText(150, 150, 150);

// The window's remembered settings: ~/.config/Korvanet/Korvanet.conf, the
// same file whether or not the application has been given a name.

const char* const kJobFilter = "作业文件 (*.txt *.kvj);;所有文件 (*)";

QString BoxName(const char* name) { return QString::fromLatin1(name); }

// The box that shows a misclosure of the quality check.
const char* MisclosureBox(const MisclosureCheck& m) {
    return m.kind == MisclosureKind::Triangle ? boxes::TriangleMisclosure(m.index)
                                              : boxes::ConditionMisclosure(m.index);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    DressFormWindow(*this);

    canvas_ = new FormCanvas;
    canvas_->setAutoFillBackground(true);
    canvas_->setFixedSize(FormClientSize(*this));

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("formScrollArea"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->viewport()->setAutoFillBackground(true);
    scrollArea_->setWidget(canvas_);
    setCentralWidget(scrollArea_);

    createSheetDock();
    jobs_ = std::make_unique<JobInHand>(sheet_->model());
    fieldBook_ = new FieldBookDocument(this);
    // A failed write of the kept book is told here too, with its window closed.
    connect(fieldBook_, &FieldBookDocument::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    createMenus();
    const FormControls form = BuildForm(*canvas_);
    boxes_ = form.boxes;
    connect(form.compute, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(form.end, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(form.print, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    buttons_ = {form.compute, form.end, form.print};
    // The boxes are read-only: the keyboard passes them by (the mouse can
    // still select and copy their text).  Tab goes from the sheet to the
    // buttons, the form (its arrow keys scroll it), and round to the sheet's
    // 等级 box and switch.
    for (QLineEdit* box : std::as_const(boxes_)) box->setFocusPolicy(Qt::ClickFocus);
    setTabOrder(sheet_->classChoice(), sheet_->dKnownSwitch());
    setTabOrder(sheet_->dKnownSwitch(), sheet_->view());
    setTabOrder(sheet_->view(), form.compute);
    setTabOrder(form.compute, form.end);
    setTabOrder(form.end, form.print);
    setTabOrder(form.print, scrollArea_);
    connect(this, &MainWindow::jobInHandChanged, this, &MainWindow::showJobInSheet);
    fitToScreen();
    setAcceptDrops(true);
    jobFolder_ = QDir::homePath();

    focusFirstEmptyCell();
}

void MainWindow::focusFirstEmptyCell() {
    const ObservationSheetModel* model = sheet_->model();
    int row = model->firstProblem().value_or(sheet_row::kTolerance);
    for (int r = 0; r < kSheetRows; ++r) {
        if (model->state(r) == ObservationSheetModel::CellState::Empty) {
            row = r;
            break;
        }
    }
    sheet_->view()->setCurrentIndex(model->index(row, ObservationSheetModel::ValueColumn));
    // The keyboard starts there, so that typing at once fills the cell.
    sheet_->view()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetText(const std::string& box, const std::string& text) {
    QLineEdit* edit = boxes_.value(QString::fromStdString(box));
    if (edit == nullptr) {
        throw std::logic_error("the form has no text box named \"" + box + "\"");
    }
    // Each edit of the sheet writes every box again, most of them unchanged.
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) edit->setText(shown);
    // Show the start of a text wider than its box, as a freshly filled box does.
    edit->setCursorPosition(0);
    // A value this run wrote belongs to this run, whatever the box showed before.
    clearStaleGrey(edit);
    writtenThisRun_.insert(edit->objectName());
}

// On a screen too small for the whole form (a laptop's 768 lines hold the
// form but not the menu bar, the status bar and the scroll bar that the
// sheet beside it makes as well) the form starts scrolled so that its three
// buttons are in view (at 1366 × 768 that hides only the empty margin above
// the form's title).
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    for (QPushButton* button : buttons_) scrollArea_->ensureWidgetVisible(button, 8, 8);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayDiscardSheet(QStringLiteral("退出"))) {
        event->ignore();
        return;
    }
    saveSettings();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::Command1_Click() {
    // The run starts from empty fields and its answers become the sheet.
    if (running_ || !mayDiscardSheet(QStringLiteral("进行计算"))) return;
    runCompute({});
}

void MainWindow::runAgain() {
    // A copy: the run replaces the job in hand while it still offers from it.
    const std::vector<std::string> offered = jobInHand();
    runCompute(offered);
}

namespace {

// The job a run leaves in hand: its answers, and when it ended part-way the
// answers it was offered beyond them, so that nothing offered is lost.
std::vector<std::string> JobAfter(const std::vector<std::string>& answers,
                                  const std::vector<std::string>& offered, bool completed) {
    std::vector<std::string> job = answers;
    if (!completed && offered.size() > job.size()) {
        job.insert(job.end(), offered.begin() + static_cast<std::ptrdiff_t>(job.size()), offered.end());
    }
    return job;
}

}  // namespace

void MainWindow::runCompute(const std::vector<std::string>& offered) {
    if (running_) return;
    beginRun();
    const SheetContent before = sheet_->model()->content();
    QtPrompter prompter(this, offered);
    // Each confirmed value is kept at once, the rest of what was offered after it.
    bool confirmedAny = false;
    prompter.setOnConfirmed([this, &offered, &confirmedAny](const std::vector<std::string>& confirmed) {
        confirmedAny = true;
        replaceJobInHand(JobAfter(confirmed, offered, false));
    });
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
    // Stopped before its first value was confirmed (an Escape on the first
    // prompt, then 中止计算 on its correction), the run changed nothing of
    // the job in hand: the sheet and the remembered job stay as they were.
    endRun(confirmedAny || state_.RunCompleted ? prompter.Answers() : std::vector<std::string>(), offered);
    putRunInSheet(before, QStringLiteral("进行计算"));
    // The command stops; what the window shows and the program stay.
    if (programFault) {
        QMessageBox::critical(this, QStringLiteral("计算中止"), failure);
    } else if (!failure.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("计算中止"), failure);
    }
}

void MainWindow::openJob(const QString& path) {
    if (running_) return;
    JobFile job;
    try {
        // Read as the batch tool reads a job: a folder, a device or a huge
        // file is refused at once, before anything of the window changes.
        job = ReadJobFile(QFile::encodeName(path).toStdString());
    } catch (const KorvanetError& error) {
        QMessageBox::warning(this, QStringLiteral("打开作业"), QString::fromUtf8(error.what()));
        return;
    }
    if (!mayDiscardSheet(QStringLiteral("打开作业 %1").arg(QFileInfo(path).fileName()))) return;
    jobFolder_ = QFileInfo(path).absolutePath();
    beginRun();
    const SheetContent before = sheet_->model()->content();
    JobRun run = RunJob(job.answers, state_, *this);
    quality_ = run.quality;
    const std::size_t dropped = endRun(run.prompter.Answers(), job.answers);
    putRunInSheet(before, QStringLiteral("打开作业"));
    tookJobFile(path, job.answers);
    if (run.failure) {
        QString message = QStringLiteral("作业 %1 没有算完:\n%2")
                              .arg(QFileInfo(path).fileName(), QString::fromStdString(*run.failure));
        if (dropped > 0) {
            message += QStringLiteral("\n一次计算用不到的 %1 个多余答案没有保留。").arg(dropped);
        }
        QMessageBox::warning(this, QStringLiteral("计算中止"), message);
    }
}

bool MainWindow::saveJob(const QString& path) {
    QString error;
    if (!WriteJobFile(path, jobInHand(), error)) {
        QMessageBox::warning(this, QStringLiteral("保存作业"), error);
        return false;
    }
    jobFolder_ = QFileInfo(path).absolutePath();
    tookJobFile(path, jobInHand());
    return true;
}

QString MainWindow::keepLastRunIn(const QString& path) {
    // The sheet as it was left, even by a crash; a whole figure is adjusted
    // at once, so that the form shows its results.
    QString note = jobs_->rememberIn(path);
    // The field book is kept beside the job in hand.
    const QString bookNote =
        fieldBook_->keepIn(QFileInfo(path).absoluteDir().filePath(QStringLiteral("field-book.json")));
    if (!bookNote.isEmpty()) note += (note.isEmpty() ? QString() : QStringLiteral("\n")) + bookNote;
    if (!jobInHand().empty()) statusBar()->showMessage(QStringLiteral("已恢复上次的观测数据"));
    showSheetState();
    updateJobActions();
    emit jobInHandChanged();
    if (!jobInHand().empty() && !sheet_->model()->firstProblem())
        adjustFigure(QStringLiteral("已恢复上次的观测数据, "));
    focusFirstEmptyCell();
    return note;
}

void MainWindow::replaceJobInHand(std::vector<std::string> job) {
    const QString failure = jobs_->replace(std::move(job));
    // Told once the run is over, not between two prompts.
    if (!failure.isEmpty() && keepingFailure_.isEmpty()) keepingFailure_ = failure;
    updateJobActions();
    emit jobInHandChanged();
}

void MainWindow::beginRun() {
    running_ = true;
    keepingFailure_.clear();
    writtenThisRun_.clear();
    quality_.reset();
    setResultsAvailable(false);
    applyQualityColours(nullptr);
}

std::size_t MainWindow::endRun(const std::vector<std::string>& answers,
                               const std::vector<std::string>& offered) {
    std::vector<std::string> job = JobAfter(answers, offered, state_.RunCompleted);
    const std::size_t most = ValuesAskedBy(job);
    const std::size_t dropped = job.size() > most ? job.size() - most : 0;
    if (state_.RunCompleted) {
        clearStaleGrey();
        if (quality_) applyQualityColours(&*quality_);
        setResultsAvailable(quality_.has_value());
    } else {
        quality_.reset();
        greyBoxesFromEarlierRuns();
    }
    if (qualityWindow_) {
        if (state_.RunCompleted && quality_) {
            qualityWindow_->showCheck(state_, *quality_);
        } else {
            // What it shows no longer belongs to the figure.
            qualityWindow_->setEnabled(false);
        }
    }
    // A run that ended before its first answer leaves the job in hand as it was.
    if (!answers.empty()) replaceJobInHand(std::move(job));
    updateJobActions();
    running_ = false;
    if (!keepingFailure_.isEmpty()) {
        const QString failure = std::exchange(keepingFailure_, QString());
        QMessageBox::warning(this, QStringLiteral("保存上次计算的答案"),
                             failure + QStringLiteral("\n下次启动时 重新计算 可能拿不到这些答案。"));
    }
    return dropped;
}

// The sheet stands in a dock on the right of the form, so the form keeps its
// place in the window.
void MainWindow::createSheetDock() {
    sheet_ = new ObservationSheet;
    sheetDock_ = new QDockWidget(QStringLiteral("观测数据"), this);
    sheetDock_->setObjectName(QStringLiteral("observationSheetDock"));
    sheetDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    sheetDock_->setWidget(sheet_);
    // The sheet and the status bar use the desktop's own font and colours,
    // not the form's: every attribute set, so that none comes from the form.
    QFont plain = QApplication::font();
    plain.setFamily(plain.family());
    plain.setPointSizeF(plain.pointSizeF());
    plain.setWeight(QFont::Normal);
    QPalette colours = QApplication::palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            colours.setBrush(g, r, colours.brush(g, r));
        }
    }
    sheetDock_->setFont(plain);
    sheetDock_->setPalette(colours);
    sheet_->setMinimumWidth(440);
    sheet_->setAutoFillBackground(true);
    addDockWidget(Qt::RightDockWidgetArea, sheetDock_);
    sheetDock_->setAcceptDrops(true);
    sheetDock_->installEventFilter(this);
    connect(sheet_->model(), &ObservationSheetModel::figureChanged, this, &MainWindow::adjustSheet);
    connect(sheet_, &ObservationSheet::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    statusBar()->setFont(plain);
}

void MainWindow::createEditMenu() {
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    QAction* undo = sheet_->undoStack()->createUndoAction(this, QStringLiteral("撤销(&U)"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = sheet_->undoStack()->createRedoAction(this, QStringLiteral("重做(&R)"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction* paste = edit->addAction(QStringLiteral("粘贴到观测数据(&P)"), sheet_, &ObservationSheet::paste);
    paste->setShortcut(QKeySequence::Paste);
    // Only in the sheet: elsewhere Ctrl+V belongs to whatever has the keyboard.
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    sheet_->addAction(paste);
}

void MainWindow::createViewMenu() {
    QMenu* view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    QAction* shown = sheetDock_->toggleViewAction();
    shown->setText(QStringLiteral("观测数据(&S)"));
    view->addAction(shown);
    view->addAction(QStringLiteral("转到观测数据(&G)"), QKeySequence(Qt::Key_F6), this,
                    &MainWindow::focusSheet);
}

void MainWindow::focusSheet() {
    sheetDock_->show();
    sheetDock_->raise();
    sheet_->focusTable();
}

bool MainWindow::sheetModified() const { return jobs_->modified(); }

void MainWindow::putRunInSheet(const SheetContent& before, const QString& what) {
    jobs_->putRunInSheet(before, what);
    showSheetState();
}

void MainWindow::showJobInSheet() {
    jobs_->showInSheet(running_);
    showSheetState();
}

void MainWindow::tookJobFile(const QString& path, const std::vector<std::string>& answers) {
    jobs_->tookFile(path, answers);
    updateRecentMenu();
    showSheetState();
}

void MainWindow::updateRecentMenu() {
    recentMenu_->clear();
    for (const QString& path : jobs_->recent()) {
        QAction* open = recentMenu_->addAction(QDir::toNativeSeparators(path));
        connect(open, &QAction::triggered, this, [this, path] { openJob(path); });
    }
    recentMenu_->setEnabled(!jobs_->recent().isEmpty());
}

void MainWindow::showSheetState() { sheet_->showJob(jobs_->fileName(), sheetModified()); }

bool MainWindow::mayDiscardSheet(const QString& doing) {
    if (!sheetModified()) return true;
    QMessageBox ask(QMessageBox::Question, QStringLiteral("观测数据已修改"),
                    QStringLiteral("观测数据与保存的作业文件不同。%1之前要保存吗?").arg(doing),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    ask.setDefaultButton(QMessageBox::Save);
    ask.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    ask.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
    ask.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    switch (ask.exec()) {
        case QMessageBox::Save:
            chooseFileToSave();
            return !sheetModified();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

void MainWindow::saveSettings() {
    QSettings settings = ProgramSettings();
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
}

void MainWindow::restoreSettings() {
    QSettings settings = ProgramSettings();
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    jobs_->restoreFiles();
    updateRecentMenu();
}

void MainWindow::adjustSheet() {
    if (running_ || jobs_->fillingSheet()) return;
    // Every edit is kept at once, through the one keeping path.
    replaceJobInHand(sheet_->model()->job());
    if (const std::optional<int> problem = sheet_->model()->firstProblem()) {
        showFigureIncomplete(*problem);
        return;
    }
    adjustFigure(QString());
}

void MainWindow::showFigureIncomplete(int problem) {
    // Not a whole figure: what the form shows is the last whole one's.
    state_.RunCompleted = false;
    quality_.reset();
    setResultsAvailable(false);
    applyQualityColours(nullptr);
    writtenThisRun_.clear();
    greyBoxesFromEarlierRuns();
    if (qualityWindow_) qualityWindow_->setEnabled(false);
    statusBar()->showMessage(sheet_->model()->problemMessage(problem));
}

void MainWindow::adjustFigure(const QString& said) {
    beginRun();
    const std::vector<std::string> figure = jobInHand();
    JobRun run = RunJob(figure, state_, *this);
    quality_ = run.quality;
    endRun(run.prompter.Answers(), figure);
    if (run.failure) {
        statusBar()->showMessage(
            said + QStringLiteral("计算没有完成: %1").arg(QString::fromStdString(*run.failure)));
    } else if (quality_) {
        statusBar()->showMessage(said + QStringLiteral("已平差。%1").arg(GlobalTestText(*quality_)));
    }
}

void MainWindow::updateJobActions() {
    saveAction_->setEnabled(!jobInHand().empty());
    runAgainAction_->setEnabled(!jobInHand().empty());
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
                       "边角网大地四边形的严密条件平差: 输入测角中误差 σ0、已知数据、点名、八个观测角和边长, "
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sheetDock_ && event->type() == QEvent::DragEnter) {
        dragEnterEvent(static_cast<QDragEnterEvent*>(event));
        return event->isAccepted();
    }
    if (watched == sheetDock_ && event->type() == QEvent::Drop) {
        dropEvent(static_cast<QDropEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Command2_Click() { close(); }

void MainWindow::Command3_Click() { RunPrintCommand(state_, this); }

// Like Print, the export refuses until a run has completed: a half-filled
// report must not look valid.  The document is made when the surveyor
// presses 导出, from the run completed then.
void MainWindow::exportReport() {
    if (!quality_ || !state_.RunCompleted) {
        QMessageBox::information(this, QString::fromUtf8(kApplicationTitle),
                                 QStringLiteral("还没有完成的计算: 先完成一次\"进行计算\", 再导出报告。"));
        return;
    }
    const LoadedOrderClasses loaded = LoadOrderClasses();
    const std::optional<OrderClass> orderClass = ChosenOrderClass(loaded.table);
    const QString job = reportJobName();
    // A figure that came from the field book: its sections open the report.
    std::shared_ptr<const FieldBookRun> book;
    if (fieldBook_->job() && *fieldBook_->job() == jobInHand())
        book = std::make_shared<const FieldBookRun>(*fieldBook_->run());
    auto build = [this, orderClass, source = loaded.table.source, job, book](bool steps) {
        if (!quality_ || !state_.RunCompleted) throw KorvanetError("计算没有完成, 无法导出报告");
        return JobReportDocument(
            state_, *quality_,
            {job.toStdString(), TodayText(), orderClass ? &*orderClass : nullptr, source, steps, book.get()});
    };
    auto* dialog = new ReportExportDialog(build, true, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        statusBar()->showMessage(
            QStringLiteral("报告已导出到 %1").arg(QDir::toNativeSeparators(dialog->writtenPath())));
    });
    dialog->open();
}

void MainWindow::setResultsAvailable(bool available) {
    qualityAction_->setEnabled(available);
    figureExportMenu_->setEnabled(available);
}

// As the report, the figure goes out only from a completed run; the file is
// made when the surveyor presses 导出, from the run completed then.
void MainWindow::exportFigure(FigureExport kind) {
    if (!quality_ || !state_.RunCompleted) return;
    QString heightsSaid;
    const PointHeights heights = BookHeights(fieldBook_->book(), state_.PointNames, heightsSaid);
    auto bytes = [this, kind, heights](CassEncoding encoding) {
        if (!quality_ || !state_.RunCompleted) throw KorvanetError("计算没有完成, 无法导出");
        switch (kind) {
            case FigureExport::Cass:
                return CassCoordinateFile(*quality_, heights, encoding);
            case FigureExport::Dxf:
                return FigureDxf(*quality_);
            default:
                return GamaLocalXml(state_, *quality_);
        }
    };
    auto* dialog = new FigureExportDialog(kind, bytes, QStringLiteral("平差成果"), heightsSaid, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { statusBar()->showMessage(dialog->doneText()); });
    dialog->open();
}

QString MainWindow::reportJobName() const {
    return jobs_->fileName().isEmpty() ? QStringLiteral("未保存的作业") : jobs_->fileName();
}

void MainWindow::openDesignWindow() {
    auto* window = new DesignWindow(quality_ ? DesignOf(*quality_) : ExampleDesign(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The template is put in hand as an opened job is: 重新计算 offers its
    // names and coordinates, 保存作业 writes it.
    // The sheet shows it at once (showJobInSheet), as one undoable step.
    // What the form shows then belongs to no figure in hand: it is greyed
    // and Print refuses until the template is completed and adjusted.
    connect(window, &DesignWindow::jobTemplateMade, this, [this](const std::vector<std::string>& answers) {
        if (running_ || !mayDiscardSheet(QStringLiteral("从设计生成作业"))) return;
        replaceJobInHand(answers);
        updateJobActions();
        if (const std::optional<int> problem = sheet_->model()->firstProblem()) {
            showFigureIncomplete(*problem);
        } else {
            adjustFigure(QString());
        }
    });
    window->show();
}

void MainWindow::openFieldBookWindow() {
    if (!fieldBookWindow_) {
        fieldBookWindow_ = new FieldBookWindow(fieldBook_, this);
        connect(fieldBookWindow_, &FieldBookWindow::jobOffered, this, &MainWindow::takeFieldBookJob);
    }
    fieldBookWindow_->show();
    fieldBookWindow_->raise();
    fieldBookWindow_->activateWindow();
}

void MainWindow::takeFieldBookJob(const std::vector<std::string>& answers) {
    if (running_) return;
    // The sheet still holding the book's last job has nothing of the surveyor's to lose.
    const bool fromBook = !fedFromBook_.empty() && jobInHand() == fedFromBook_;
    if (!fromBook && !mayDiscardSheet(QStringLiteral("送入外业手簿的观测数据"))) return;
    fedFromBook_ = answers;
    // The sheet's change adjusts the figure at once, as any edit of it does.
    sheet_->putJob(answers, QStringLiteral("送入外业手簿的观测数据"));
}

void MainWindow::openQualityWindow() {
    if (!quality_ || !state_.RunCompleted) return;
    if (qualityWindow_) {
        qualityWindow_->showCheck(state_, *quality_);
        qualityWindow_->raise();
        qualityWindow_->activateWindow();
        return;
    }
    qualityWindow_ = new QualityWindow(state_, *quality_, this);
    qualityWindow_->setJobName([this] { return reportJobName(); });
    qualityWindow_->show();
}

void MainWindow::createQualityMenu() {
    QMenu* results = menuBar()->addMenu(QStringLiteral("结果(&R)"));
    qualityAction_ =
        results->addAction(QStringLiteral("质量检查(&Q)…"), this, &MainWindow::openQualityWindow);
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
        if (m.exceeded) colour(boxes_.value(BoxName(MisclosureBox(m))), alarm);
    }
    if (!quality->global.passed) colour(boxes_.value(BoxName(boxes::kUnitWeightError)), alarm);
}

// The menu bar sits above the client area, so the form keeps its coordinates.
void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("进行计算(&C)"), QKeySequence(Qt::Key_F5), this,
                    &MainWindow::Command1_Click);
    file->addSeparator();
    file->addAction(QStringLiteral("打开作业(&O)…"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &MainWindow::chooseJobToOpen);
    recentMenu_ = file->addMenu(QStringLiteral("最近的作业(&J)"));
    recentMenu_->setObjectName(QStringLiteral("recentJobsMenu"));
    saveAction_ = file->addAction(QStringLiteral("保存作业(&S)…"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                  &MainWindow::chooseFileToSave);
    file->addAction(QStringLiteral("精度估算(&D)…"), this, &MainWindow::openDesignWindow);
    QAction* fieldBook = file->addAction(QStringLiteral("外业手簿(&B)…"), QKeySequence(Qt::CTRL | Qt::Key_B),
                                         this, &MainWindow::openFieldBookWindow);
    fieldBook->setObjectName(QStringLiteral("fieldBookAction"));
    runAgainAction_ = file->addAction(QStringLiteral("重新计算(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R),
                                      this, &MainWindow::runAgain);
    file->addAction(QStringLiteral("打印(&P)"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                    &MainWindow::Command3_Click);
    QAction* exportAction = file->addAction(
        QStringLiteral("导出报告(&E)…"), QKeySequence(Qt::CTRL | Qt::Key_E), this, &MainWindow::exportReport);
    exportAction->setObjectName(QStringLiteral("exportReportAction"));
    figureExportMenu_ =
        FigureExportMenu(QStringLiteral("导出(&T)"), this, [this](FigureExport kind) { exportFigure(kind); });
    file->addMenu(figureExportMenu_);
    figureExportMenu_->setEnabled(false);  // only a completed run has a figure to export
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &MainWindow::close);

    createEditMenu();
    createViewMenu();
    createQualityMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于 Korvanet(&A)"), this, &MainWindow::showAbout);
    updateJobActions();
    updateRecentMenu();
}

// Open large enough to show the whole form where the screen allows; a
// smaller screen scrolls.
void MainWindow::fitToScreen() {
    QSize wanted =
        canvas_->size() + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    // The sheet stands beside the form.
    if (sheetDock_ != nullptr && !sheetDock_->isHidden()) {
        wanted.rwidth() +=
            sheetDock_->sizeHint().width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent);
    }
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

}  // namespace korvanet
