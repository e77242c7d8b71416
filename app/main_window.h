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
// The form is laid out in twips exactly as designed and converted to pixels
// at the screen's logical resolution; it sits in a scroll area so that all
// of it can be reached on a small screen.

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "adjust/quality_check.h"
#include "core/survey_state.h"
#include "core/text_display.h"

class QAction;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace korvanet {

class FormCanvas;

class MainWindow : public QMainWindow, public TextDisplay {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // `box` is "Text1".."Text51" or an array element "Text9(0)".."Text10(5)".
    // A name the form does not have is a programming fault: std::logic_error.
    void SetText(const std::string& box, const std::string& text) override;

    FormCanvas* canvas() const { return canvas_; }

    // Runs the Compute command with the job in `path`, as the batch tool
    // would, showing every value in its box; a run that does not complete
    // shows why in a message box.
    void openJob(const QString& path);
    // Writes the answers of the last run (see jobInHand) to `path`; a failure
    // is shown in a message box.  False when nothing was written.
    bool saveJob(const QString& path);
    // The job the window holds: the answers of the last run, one per value
    // in the order asked.  When that run ended part-way, the answers it was
    // offered beyond that point (the rest of the opened job, or of the
    // answers Run again offered) follow, so that nothing typed is lost.
    const std::vector<std::string>& jobInHand() const { return job_; }
    // Keeps the job in hand in `path` from now on, after every run, and
    // takes it from there now if the file exists (the last program run's).
    void keepLastRunIn(const QString& path);

public slots:
    // Run again: Compute with each prompt offering the earlier answer.
    void runAgain();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

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
    void chooseJobToOpen();
    void chooseFileToSave();
    void showAbout();

private:
    void createMenus();
    void runCompute(const std::vector<std::string>& offered);
    void beginRun();
    void endRun(const std::vector<std::string>& answers, const std::vector<std::string>& offered);
    void updateJobActions();
    // After a run that did not complete: every box still showing a value of
    // an earlier run is greyed, the boxes this run wrote are not.
    void greyBoxesFromEarlierRuns();
    // After a completed run (and for a box as it is written): back to the
    // box's ordinary text colour, unless someone else coloured it meanwhile.
    void clearStaleGrey();
    static void clearStaleGrey(QLineEdit* box);

    void createFramePanels();
    void createLabels();
    void createTextBoxes();
    void createDiagrams();
    void createButtons();
    void fitToScreen();
    void createQualityMenu();
    // Red text in the misclosure boxes beyond their limit and in the m0 box
    // when the global test fails; nullptr takes the red away again.
    void applyQualityColours(const QualityCheck* quality);

    QPoint pixels(int x, int y) const;
    QLabel* addLabel(const QString& caption, int left, int top, int width = 0, int height = 255);
    QLabel* addLabel(const QString& caption, int left, int top, const QFont& font, int height, int width = 0);
    QLabel* placeLabel(QLabel* label, int left, int top, int width, int height);
    QLineEdit* addTextBox(const QString& name, int left, int top, int width, int height = 285);
    QPushButton* addButton(const QString& name, const QString& caption, int left, const QColor& background);
    void addLine(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour, int width);

    SurveyState state_;
    QScrollArea* scrollArea_ = nullptr;
    FormCanvas* canvas_ = nullptr;
    QHash<QString, QLineEdit*> boxes_;
    std::optional<QualityCheck> quality_;  // of the last completed run
    QAction* qualityAction_ = nullptr;

    std::vector<std::string> job_;
    QString lastRunPath_;
    QString jobFolder_;
    QSet<QString> writtenThisRun_;
    bool running_ = false;
    QAction* saveAction_ = nullptr;
    QAction* runAgainAction_ = nullptr;
};

}  // namespace korvanet
