// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 外业手簿: the field book beside the observation sheet.  Its tabs: the
// header (instruments, class, surface, projection, the four points), each
// station's sets laid out like the paper book (测回, 目标, 盘左, 盘右 typed;
// 2C, 平均读数, 归零方向值, 各测回平均方向值 and the checks reduced), the
// distance records with every step of their reduction and the sides, and
// every check against its limit.  The status line gives the book's verdict
// and its first failing check.
//
// The window only shows and types: the book, its reduction and keeping are
// the document's (app/field_book_document.h); 送入观测数据 offers the job the
// book gives to the main window, which puts it into the sheet.

#include <QMainWindow>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "app/field_book_cells.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace korvanet {

class BookView;
class FieldBookDocument;
class ImportMappingDialog;

class FieldBookWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FieldBookWindow(FieldBookDocument* document, QWidget* parent = nullptr);

    FieldBookDocument* document() const { return document_; }
    BookView* view(BookTable table) const { return views_.at(static_cast<std::size_t>(table)); }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* feedButton() const { return feed_; }
    QLabel* statusLabel() const { return status_; }
    QTableWidget* sidesTable() const { return sides_; }
    QTableWidget* checksTable() const { return checks_; }

    // 打开外业手簿: the book in `path` replaces the cells, as one undo step; a
    // file refused is told in a message box.  False when nothing was read.
    bool openBook(const QString& path);
    // 保存外业手簿: false (told in a message box) when nothing was written.
    bool saveBook(const QString& path);
    // 导入…: reads the instrument files in `paths` and asks their ids'
    // mapping in a dialog (opened as a child of this window, not run);
    // once accepted the book they make is laid over the open one as one
    // undo step.  A file refused is told in a message box with the reader's
    // message, and the book stays as it is.  False when nothing was read.
    bool importFiles(const QStringList& paths);
    // Shows the tab of `table` and makes its view the keyboard's.
    void showTable(BookTable table);

protected:
    // Its size and place are kept for the next time it opens.
    void closeEvent(QCloseEvent* event) override;

signals:
    // 送入观测数据 with the job the book gives.
    void jobOffered(const std::vector<std::string>& answers);

private:
    void createMenus();
    QWidget* createHeaderTab();
    QWidget* createDistanceTab();
    BookView* createView(BookTable table);
    void measure(BookView* view);
    // The document changed: the status line, the button, the sides and the checks.
    void showBook();
    void fillSides();
    void fillChecks();
    void chooseBookToOpen();
    void chooseFileToSave();
    void chooseFilesToImport();
    // The accepted import of `dialog` over the open book, and what it assumed told.
    void takeImport(const ImportMappingDialog& dialog);
    void offerJob();
    BookView* currentView() const;

    FieldBookDocument* document_;
    std::array<BookView*, kBookTables> views_{};
    QTabWidget* tabs_ = nullptr;
    QPushButton* feed_ = nullptr;
    QLabel* lacking_ = nullptr;
    QLabel* status_ = nullptr;
    QTableWidget* sides_ = nullptr;
    QLabel* sidesNote_ = nullptr;
    QTableWidget* checks_ = nullptr;
    QString folder_;
    QString importFolder_;
};

}  // namespace korvanet
