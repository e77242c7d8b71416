// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Print command of the window: the report of the last Compute run on the
// default printer, or, when the system has none, as a PDF the user places.
//
// What the command asks of the machine and of the user (is there a printer,
// where does the PDF go, the closing message) goes through `PrintDesk`, so
// that the same command runs with the real dialogs in the window and with
// scripted answers in a test.

#include <QString>

class QWidget;

namespace korvanet {

struct ReportDocument;
struct SurveyState;

class PrintDesk {
public:
    virtual ~PrintDesk() = default;

    // Prints on the system's default printer.  False, with nothing printed,
    // when the system has no printer; throws KorvanetError when it fails.
    virtual bool PrintOnDefaultPrinter(const ReportDocument& report) = 0;

    // Asks where the PDF goes, offering the file `suggested` (absolute path).
    // Empty when the user cancels.
    virtual QString AskPdfPath(const QString& suggested) = 0;

    // A closing message (the PDF was saved) and a refusal or failure.
    virtual void Inform(const QString& message) = 0;
    virtual void Warn(const QString& message) = 0;
};

// The real printer and the real modal dialogs (a file dialog, message boxes
// titled "Korvanet"), all on `parent`.
class QtPrintDesk : public PrintDesk {
public:
    explicit QtPrintDesk(QWidget* parent) : parent_(parent) {}

    bool PrintOnDefaultPrinter(const ReportDocument& report) override;
    QString AskPdfPath(const QString& suggested) override;
    void Inform(const QString& message) override;
    void Warn(const QString& message) override;

private:
    QWidget* parent_;
};

// Runs the command; shows every refusal or failure through `desk`; never throws.
void RunPrintCommand(const SurveyState& state, PrintDesk& desk);

// The window's form: the real printer and dialogs on `parent`.
void RunPrintCommand(const SurveyState& state, QWidget* parent);

}  // namespace korvanet
