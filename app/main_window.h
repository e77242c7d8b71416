// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Korvanet's one window, "Form1".
//
// Architecture: core/ holds the survey record, the display rules and the two
// interfaces, entry/ asks the inputs through a Prompter, adjust/ computes and
// shows results through a TextDisplay, compute/ joins the two into the Compute
// command, report/ lays out the report and print/ prints it.  None of them
// knows this window: it implements
// TextDisplay (setting a box's text is the only thing done to it), hands a
// QtPrompter to the Compute command, and shows a failed command's message.
//
// Above the form a menu bar carries the surveyor's workflow: open a job file
// (run through the batch tool's own job runner), save the answers of the last
// run as a job, run again with every earlier answer offered, print, quit.
// The answers of the last run are kept in the user's data folder when the
// program is given a place for them (keepLastRunIn), so Run again still works
// after a restart.
//
// Beside the form, in a dock, the observation sheet (观测数据) holds the job
// in hand as a table: whatever fills it (typing, pasting, a job opened, a
// Compute run's prompts) is kept at once, and whenever every value of the
// figure is accepted the figure is adjusted again through the job runner,
// so that every box, the red and grey marks and the quality window follow
// each edit.
//
// The form itself is built as designed (app/form_design.h); it sits in a
// scroll area so that all of it can be reached on a small screen.  The
// window connects its buttons to the commands and colours its boxes: red
// where the quality check finds a limit exceeded, grey where a box still
// shows a value of an earlier run.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adjust/quality_check.h"
#include "app/job_in_hand.h"
#include "core/survey_state.h"
#include "core/text_display.h"

class QAction;
class QDockWidget;
class QMenu;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace korvanet {

enum class FigureExport;
class FieldBookDocument;
class FieldBookWindow;
class FormCanvas;
class ObservationSheet;
struct SheetContent;
class QualityWindow;

class MainWindow : public QMainWindow, public TextDisplay {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // `box` is one of the form's boxes (core/form_boxes.h).  A name the form
    // does not have is a programming fault: std::logic_error.
    void SetText(const std::string& box, const std::string& text) override;

    FormCanvas* canvas() const { return canvas_; }

    // Runs the Compute command with the job in `path`, as the batch tool
    // would, showing every value in its box; a run that does not complete
    // shows why in a message box.
    void openJob(const QString& path);
    // Writes the answers of the last run (see jobInHand) to `path`; a failure
    // is shown in a message box.  False when nothing was written.
    bool saveJob(const QString& path);
    // The job the window holds: the answers of the last run (while a run is
    // on, those confirmed so far), one per value in the order asked.  When that run ended part-way, the
    // answers it was offered beyond that point (the rest of the opened job, or of the answers Run again
    // offered) follow, so that nothing typed is lost. It never holds more answers than a run can use.
    const std::vector<std::string>& jobInHand() const { return jobs_->answers(); }
    // Keeps the job in hand in `path` from now on, each time it changes, and
    // takes it from there now if the file exists (the last program run's);
    // a whole figure is adjusted at once, so the form shows its results.
    // A damaged file is set aside; the returned note says so (else empty).
    QString keepLastRunIn(const QString& path);
    // The job in hand changed (a value was confirmed, a run ended): `job`
    // replaces it and is written at once, whole, to the remembered file, so
    // that a crash loses nothing confirmed.  jobInHandChanged follows.
    void replaceJobInHand(std::vector<std::string> job);

    // The observation sheet beside the form.
    ObservationSheet* sheet() const { return sheet_; }
    // Whether the sheet differs from the job file it was opened from or
    // saved to (with none, whether it holds anything).
    bool sheetModified() const;
    // The window's size, the dock's place, the recent jobs and the file of
    // the job in hand, as the last program run left them.
    void restoreSettings();

signals:
    void jobInHandChanged();

public slots:
    // Run again: Compute with each prompt offering the earlier answer.
    void runAgain();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // A job file dropped on the sheet opens it, even with the sheet floating.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // The form's three buttons: Compute, End, Print.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // 结果 → 质量检查…: the quality window of the last completed run.
    void openQualityWindow();
    // 文件 → 精度估算…: a design from the last completed run's figure (or the
    // example's); its job template becomes the job in hand.
    void openDesignWindow();
    // 文件 → 外业手簿…: the field book beside the sheet; 送入观测数据 puts its
    // job into the sheet as one undo step, asking first over an unsaved sheet.
    void openFieldBookWindow();
    void takeFieldBookJob(const std::vector<std::string>& answers);
    // 导出报告…: the adjustment report of the last completed run as HTML, ODT or CSV.
    void exportReport();
    void chooseJobToOpen();
    void chooseFileToSave();
    void showAbout();
    // The sheet changed: keep it, and adjust the figure when it is whole.
    void adjustSheet();
    void focusSheet();

private:
    // 文件 → 导出 → CASS 坐标…, DXF 图形…, Gama XML…: the last completed run's figure.
    void exportFigure(FigureExport kind);
    // The job's name in a report: its file's name, or 未保存的作业.
    QString reportJobName() const;
    void createMenus();
    void createSheetDock();
    void createEditMenu();
    void createViewMenu();
    void updateRecentMenu();
    // The job in hand changed: the sheet shows it, unless it already does.
    void showJobInSheet();
    // A run's answers into the sheet, as one step of its undo stack.
    void putRunInSheet(const SheetContent& before, const QString& what);
    // The sheet's job label and the recent jobs after a job was opened or saved.
    void tookJobFile(const QString& path, const std::vector<std::string>& answers);
    void showSheetState();
    // The job in hand is a whole figure: adjust it through the job runner, as
    // 打开作业 does; the status bar tells the outcome after `said`.
    void adjustFigure(const QString& said);
    // The sheet holds no whole figure (`problem` is its first row empty or
    // refused): the results shown are greyed, Print and the quality check refuse.
    void showFigureIncomplete(int problem);
    // The current cell to the sheet's first empty value, with the keyboard.
    void focusFirstEmptyCell();
    // Before the sheet is replaced or the window closes: true to go on.
    bool mayDiscardSheet(const QString& doing);
    void saveSettings();
    void runCompute(const std::vector<std::string>& offered);
    void beginRun();
    // Returns how many answers of `offered` were dropped as more than a run can use.
    std::size_t endRun(const std::vector<std::string>& answers, const std::vector<std::string>& offered);
    void updateJobActions();
    // After a run that did not complete: every box still showing a value of
    // an earlier run is greyed, the boxes this run wrote are not.
    void greyBoxesFromEarlierRuns();
    // After a completed run (and for a box as it is written): back to the
    // box's ordinary text colour, unless someone else coloured it meanwhile.
    void clearStaleGrey();
    static void clearStaleGrey(QLineEdit* box);

    void fitToScreen();
    void createQualityMenu();
    // Red text in the misclosure boxes beyond their limit and in the m0 box
    // when the global test fails; nullptr takes the red away again.
    void applyQualityColours(const QualityCheck* quality);
    // The quality check and the exports, offered only for a completed run.
    void setResultsAvailable(bool available);

    SurveyState state_;
    QScrollArea* scrollArea_ = nullptr;
    std::vector<QPushButton*> buttons_;  // Compute, End, Print
    bool shownOnce_ = false;
    FormCanvas* canvas_ = nullptr;
    QHash<QString, QLineEdit*> boxes_;
    std::optional<QualityCheck> quality_;  // of the last completed run
    QAction* qualityAction_ = nullptr;
    QMenu* figureExportMenu_ = nullptr;

    std::unique_ptr<JobInHand> jobs_;  // made with the sheet, which shows it
    QString keepingFailure_;           // the first failed write of the remembered job during a run
    QString jobFolder_;
    QSet<QString> writtenThisRun_;
    bool running_ = false;
    QAction* saveAction_ = nullptr;
    QAction* runAgainAction_ = nullptr;

    ObservationSheet* sheet_ = nullptr;
    QDockWidget* sheetDock_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QPointer<QualityWindow> qualityWindow_;
    FieldBookDocument* fieldBook_ = nullptr;  // kept beside the job in hand
    QPointer<FieldBookWindow> fieldBookWindow_;
    std::vector<std::string> fedFromBook_;  // the job last put into the sheet from the field book
};

}  // namespace korvanet
