// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every 导出… dialog shares: the file to write (offered in the folder
// used last, with 浏览…), a line for what is wrong, 导出 and 取消.  导出
// writes the file through the subclass; a write that fails is told with its
// reason and the dialog stays open with what was typed, so that another
// place can be chosen; only a file written whole closes it and remembers its
// folder.

#include <QDialog>
#include <QString>

class QFormLayout;
class QLabel;
class QLineEdit;
class QSettings;
class QVBoxLayout;

namespace korvanet {

class ExportFileDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit* pathField() const { return path_; }
    // The file written by the last accepted export.
    QString writtenPath() const { return written_; }

public slots:
    // Writes the file; closes the dialog only when it was written.
    void accept() override;

protected:
    struct Texts {
        QString title;        // the window's and the file dialog's
        QString what;         // the file as the messages call it: "报告", "DXF 图形文件"
        QString emptyPath;    // said when no file is given
        QString filter;       // of the file dialog
        QString folderKey;    // the setting that remembers the folder
        QString offeredName;  // the file offered in that folder
        QString pathName;     // the file field's object name, for the tests
    };
    ExportFileDialog(Texts texts, QWidget* parent);

    // The form, holding the file's row: a subclass adds its rows below it,
    // and its own widgets to layout(), then calls finishLayout().
    QFormLayout* form() const { return form_; }
    QVBoxLayout* layout() const { return layout_; }
    void finishLayout();

    // Writes the whole file at `path`; throws a KorvanetError saying why not.
    virtual void write(const QString& path) = 0;
    // Keeps the subclass's own choices once a file was written.
    virtual void remember(QSettings&) {}

private:
    void browse();

    Texts texts_;
    QLineEdit* path_ = nullptr;
    QLabel* problem_ = nullptr;
    QFormLayout* form_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    QString written_;
};

}  // namespace korvanet
