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
// The form is laid out in twips exactly as designed and converted to pixels
// at the screen's logical resolution; it sits in a scroll area so that all
// of it can be reached on a small screen.

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <optional>
#include <string>

#include "quality_check.h"
#include "survey_state.h"
#include "text_display.h"

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

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    // The form's three buttons: Compute, End, Print.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // 结果 → 质量检查…: the quality window of the last completed run.
    void openQualityWindow();

private:
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
};

}  // namespace korvanet
