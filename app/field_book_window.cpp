// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_book_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "adjust/quadrilateral.h"
#include "app/field_book_document.h"
#include "app/field_book_model.h"
#include "app/import_mapping_dialog.h"
#include "app/program_settings.h"
#include "app/read_only_table.h"
#include "compute/field_check_texts.h"
#include "compute/instrument_import.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

const char* const kBookFilter = "外业手簿 (*.kvf);;所有文件 (*)";
const QString kFolderKey = QStringLiteral("fieldBook/folder");
const QString kGeometryKey = QStringLiteral("fieldBook/geometry");
const QString kImportFolderKey = QStringLiteral("fieldBook/importFolder");
const char* const kInstrumentFilter =
    "全站仪数据 (*.gsi *.txt *.dat *.raw *.csv);;徕卡 GSI (*.gsi);;点的座标 CSV (*.csv);;所有文件 (*)";

QString Fixed(const std::optional<double>& value, int decimals) {
    return value ? QString::fromStdString(FixedText(*value, decimals)) : QString();
}

// The widest text a column shows, to measure it once: the sheet follows
// every keystroke, and measuring every cell each time would cost more than
// the reduction.
QString WidestText(BookTable table, int column) {
    if (table == BookTable::Header)
        return column == 0 ? QStringLiteral("起始方位角 T0 (d.mmss)") : QStringLiteral("3521408.2500");
    if (table == BookTable::Points) return column == 0 ? QStringLiteral("A") : QStringLiteral("3521408.2500");
    if (table == BookTable::Distances) {
        switch (column) {
            case distance_column::From:
            case distance_column::To:
                return QStringLiteral("测站");
            case distance_column::ZenithLeft:
            case distance_column::ZenithRight:
                return QStringLiteral("270.00520");
            case distance_column::InstrumentHeight:
            case distance_column::ReflectorHeight:
            case distance_column::Temperature:
                return QStringLiteral("-21.50");
            case distance_column::Pressure:
                return QStringLiteral("1003.2");
            case distance_column::ReadingSpread:
            case distance_column::SetSpread:
            case distance_column::Constants:
            case distance_column::Meteorological:
            case distance_column::HeightReduction:
            case distance_column::ProjectionReduction:
                return QStringLiteral("-888.8");
            default:
                return QStringLiteral("1832.4812");
        }
    }
    switch (column) {
        case direction_column::Set:
        case direction_column::Target:
            return QStringLiteral("测回");
        case direction_column::Left:
        case direction_column::Right:
            return QStringLiteral("359.59595");
        case direction_column::TwoC:
        case direction_column::Spread:
            return QStringLiteral("-888.8");
        case direction_column::Mean:
            return QStringLiteral("右 359°59′59.9″");
        case direction_column::Check:
            return QStringLiteral("归零差 左 88.0″ 右 88.0″");
        default:
            return QStringLiteral("359°59′59.9″");
    }
}

}  // namespace

FieldBookWindow::FieldBookWindow(FieldBookDocument* document, QWidget* parent)
    : QMainWindow(parent), document_(document) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("fieldBookWindow"));
    setWindowTitle(QStringLiteral("外业手簿"));
    folder_ = ProgramSettings().value(kFolderKey, QDir::homePath()).toString();
    importFolder_ = ProgramSettings().value(kImportFolderKey, folder_).toString();

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("fieldBookTabs"));
    tabs_->addTab(createHeaderTab(), QStringLiteral("概况(&0)"));
    for (int point = 0; point < 4; ++point) {
        const QString letter =
            QString::fromLatin1(quadrilateral::kPointLetters.at(static_cast<std::size_t>(point)));
        tabs_->addTab(createView(StationTable(point)), QStringLiteral("测站 &%1").arg(letter));
    }
    tabs_->addTab(createDistanceTab(), QStringLiteral("测距(&L)"));
    checks_ = ReadOnlyTable({QStringLiteral("检核"), QStringLiteral("项目"), QStringLiteral("数值"),
                             QStringLiteral("限差"), QStringLiteral("结果"), QStringLiteral("依据")},
                            nullptr);
    checks_->setObjectName(QStringLiteral("fieldChecks"));
    checks_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    checks_->verticalHeader()->setDefaultSectionSize(checks_->fontMetrics().height() + 6);
    tabs_->addTab(checks_, QStringLiteral("限差检核(&K)"));

    feed_ = new QPushButton(QStringLiteral("送入观测数据(&J)"), this);
    feed_->setObjectName(QStringLiteral("feedButton"));
    lacking_ = new QLabel(this);
    lacking_->setObjectName(QStringLiteral("bookLacking"));
    lacking_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(feed_);
    buttons->addWidget(lacking_, 1);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("bookStatus"));
    // Permanent: a passing note in the status bar never hides the verdict.
    statusBar()->addPermanentWidget(status_, 1);

    createMenus();
    connect(feed_, &QPushButton::clicked, this, &FieldBookWindow::offerJob);
    connect(document_, &FieldBookDocument::changed, this, &FieldBookWindow::showBook);
    connect(document_, &FieldBookDocument::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (BookView* view = currentView()) view->setFocus(Qt::TabFocusReason);
    });
    showBook();
    resize(1280, 640);
    restoreGeometry(ProgramSettings().value(kGeometryKey).toByteArray());
}

void FieldBookWindow::closeEvent(QCloseEvent* event) {
    ProgramSettings().setValue(kGeometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}

BookView* FieldBookWindow::createView(BookTable table) {
    auto* model = new BookTableModel(document_, table, this);
    auto* view = new BookView(model);
    view->setObjectName(QStringLiteral("bookTable%1").arg(static_cast<int>(table)));
    if (table == BookTable::Header || table == BookTable::Points) view->verticalHeader()->setVisible(false);
    views_.at(static_cast<std::size_t>(table)) = view;
    measure(view);
    return view;
}

void FieldBookWindow::measure(BookView* view) {
    const BookTable table = view->bookModel()->table();
    const QFontMetrics metrics = view->fontMetrics();
    for (int column = 0; column < ColumnsOf(table); ++column) {
        const int heading = view->horizontalHeader()->fontMetrics().horizontalAdvance(
                                BookTableModel::ColumnName(table, column)) +
                            20;
        const int widest = metrics.horizontalAdvance(WidestText(table, column)) + 16;
        view->setColumnWidth(column, std::max(heading, widest));
    }
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
}

QWidget* FieldBookWindow::createHeaderTab() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* header = createView(BookTable::Header);
    auto* points = createView(BookTable::Points);
    header->horizontalHeader()->setStretchLastSection(true);
    auto* left = new QVBoxLayout;
    auto* headerLabel = new QLabel(QStringLiteral("仪器与归算(&I)"), page);
    headerLabel->setBuddy(header);
    left->addWidget(headerLabel);
    left->addWidget(header, 1);
    auto* right = new QVBoxLayout;
    auto* pointsLabel =
        new QLabel(QStringLiteral("点名、座标与高程(&N) — 座标不填为未知 (B、C 总是待定点)"), page);
    pointsLabel->setBuddy(points);
    right->addWidget(pointsLabel);
    right->addWidget(points, 1);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    return page;
}

QWidget* FieldBookWindow::createDistanceTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(createView(BookTable::Distances), 3);
    sides_ = ReadOnlyTable({QStringLiteral("边"), QStringLiteral("往测 (m)"), QStringLiteral("返测 (m)"),
                            QStringLiteral("往返较差 (mm)"), QStringLiteral("限差 (mm)"),
                            QStringLiteral("投影变形 (mm/km)"), QStringLiteral("边长 (m)")},
                           page);
    sides_->setObjectName(QStringLiteral("fieldSides"));
    sides_->verticalHeader()->setDefaultSectionSize(sides_->fontMetrics().height() + 6);
    sidesNote_ = new QLabel(page);
    sidesNote_->setWordWrap(true);
    layout->addWidget(new QLabel(QStringLiteral("边长 (往返测的平均)"), page));
    layout->addWidget(sides_);
    layout->addWidget(sidesNote_);
    return page;
}

void FieldBookWindow::createMenus() {
    QMenu* book = menuBar()->addMenu(QStringLiteral("手簿(&F)"));
    book->addAction(QStringLiteral("打开外业手簿(&O)…"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &FieldBookWindow::chooseBookToOpen);
    book->addAction(QStringLiteral("保存外业手簿(&S)…"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                    &FieldBookWindow::chooseFileToSave);
    QAction* import = book->addAction(QStringLiteral("导入(&I)…"), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                                      &FieldBookWindow::chooseFilesToImport);
    import->setObjectName(QStringLiteral("importAction"));
    book->addSeparator();
    QAction* feed = book->addAction(QStringLiteral("送入观测数据(&J)"), QKeySequence(Qt::CTRL | Qt::Key_J),
                                    this, &FieldBookWindow::offerJob);
    feed->setObjectName(QStringLiteral("feedAction"));
    book->addSeparator();
    book->addAction(QStringLiteral("关闭(&C)"), QKeySequence(Qt::CTRL | Qt::Key_W), this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    QAction* undo = document_->undoStack()->createUndoAction(this, QStringLiteral("撤销(&U)"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = document_->undoStack()->createRedoAction(this, QStringLiteral("重做(&R)"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(QStringLiteral("粘贴(&P)"), this, [this] {
        if (BookView* view = currentView()) view->pasteText(QApplication::clipboard()->text());
    });
    edit->addAction(QStringLiteral("删除(&D)"), this, [this] {
        if (BookView* view = currentView()) view->clearSelected();
    });
    edit->addSeparator();
    // The keyboard to the first refused cell or the first value beyond its limit.
    edit->addAction(QStringLiteral("转到第一处问题(&G)"), QKeySequence(Qt::Key_F8), this, [this] {
        const std::optional<CellRef> problem = document_->firstProblem();
        if (!problem) {
            statusBar()->showMessage(QStringLiteral("手簿中没有有误的单元格或超限的数值"));
            return;
        }
        showTable(problem->table);
        if (problem->row < 0) {
            // A side's check: its table is below the records.
            sides_->setFocus(Qt::OtherFocusReason);
            return;
        }
        BookView* view = this->view(problem->table);
        view->setCurrentIndex(view->model()->index(problem->row, problem->column));
    });
}

BookView* FieldBookWindow::currentView() const {
    QWidget* page = tabs_->currentWidget();
    if (auto* view = qobject_cast<BookView*>(page)) return view;
    if (page == nullptr) return nullptr;
    // The pages of two tables: the one that had the keyboard last, else the first.
    const auto views = page->findChildren<BookView*>();
    for (BookView* view : views)
        if (view->hasFocus()) return view;
    return views.isEmpty() ? nullptr : views.front();
}

void FieldBookWindow::showTable(BookTable table) {
    BookView* view = this->view(table);
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        QWidget* page = tabs_->widget(tab);
        if (page == view || page->isAncestorOf(view)) tabs_->setCurrentIndex(tab);
    }
    view->setFocus(Qt::OtherFocusReason);
}

void FieldBookWindow::showBook() {
    status_->setText(document_->statusText());
    const QStringList missing = document_->missing();
    const bool whole = document_->job().has_value();
    feed_->setEnabled(whole);
    lacking_->setText(
        whole ? QStringLiteral("手簿已齐全: 送入后观测数据表立即平差")
              : QStringLiteral("还不能送入观测数据, 还缺: %1").arg(missing.join(QStringLiteral(", "))));
    feed_->setToolTip(lacking_->text());
    fillSides();
    fillChecks();
}

void FieldBookWindow::fillSides() {
    const auto& run = document_->run();
    std::vector<QStringList> rows;
    std::vector<std::array<const FieldCheck*, 2>>
        marks;  // the forward-back and distortion checks of each row
    if (run) {
        for (const ReducedSide& side : run->reduction.sides) {
            const auto& ends = quadrilateral::kSideEnds.at(static_cast<std::size_t>(side.index));
            std::array<const FieldCheck*, 2> mark{};
            QString distortion;
            for (const FieldCheck& c : run->reduction.checks) {
                if (FieldBookDocument::SideOf(c) != side.index) continue;
                if (c.kind == FieldCheckKind::ForwardBack) mark[0] = &c;
                if (c.kind == FieldCheckKind::ProjectionDistortion) {
                    mark[1] = &c;
                    distortion = QString::fromStdString(FixedText(c.value, 1));
                }
            }
            rows.push_back({QStringLiteral("S(%1) %2-%3")
                                .arg(side.index)
                                .arg(QString::fromLatin1(quadrilateral::kPointLetters.at(
                                         static_cast<std::size_t>(ends.from))),
                                     QString::fromLatin1(
                                         quadrilateral::kPointLetters.at(static_cast<std::size_t>(ends.to)))),
                            Fixed(side.forward, 4), Fixed(side.back, 4), Fixed(side.difference, 1),
                            Fixed(side.limit, 1), distortion, Fixed(side.reduced, 4)});
            marks.push_back(mark);
        }
    }
    // Coloured apart: a style given to the fill would have the columns measured on every edit.
    FillReadOnlyTable(sides_, rows, {0});
    for (int row = 0; row < static_cast<int>(marks.size()); ++row) {
        for (int column : {3, 5}) {
            const FieldCheck* check = marks[static_cast<std::size_t>(row)][column == 3 ? 0 : 1];
            QTableWidgetItem* item = sides_->item(row, column);
            item->setForeground(check != nullptr && check->passed == false ? QBrush(Qt::red) : QBrush());
            const QString tip = check != nullptr ? FieldBookDocument::CheckTip(*check) : QString();
            item->setToolTip(tip);
        }
    }
    QStringList notes;
    if (run && run->reduction.knownAD) {
        notes << QStringLiteral("A-D 由已知座标反算 %1 m (实测的 A-D 只作检核, 不参加平差)")
                     .arg(Fixed(run->reduction.knownAD, 4));
    }
    if (run && run->reduction.compensatingSurface) {
        notes << QStringLiteral("投影长度变形超限: 可选抵偿高程面 H_P = %1 m")
                     .arg(Fixed(run->reduction.compensatingSurface, 1));
    }
    sidesNote_->setText(notes.join(QLatin1Char('\n')));
}

void FieldBookWindow::fillChecks() {
    const auto& run = document_->run();
    std::vector<QStringList> rows;
    std::vector<const FieldCheck*> checks;
    if (run) {
        for (const FieldCheck& c : run->reduction.checks) {
            rows.push_back({QString::fromStdString(FieldCheckKindName(c.kind)),
                            QString::fromStdString(c.item), QString::fromStdString(FieldCheckValueText(c)),
                            QString::fromStdString(FieldCheckLimitText(c)),
                            QString::fromStdString(FieldCheckVerdictText(c)),
                            QString::fromStdString(c.note)});
            checks.push_back(&c);
        }
    }
    FillReadOnlyTable(checks_, rows, {0, 1, 4, 5});
    for (int row = 0; row < static_cast<int>(checks.size()); ++row) {
        const QBrush ink =
            checks[static_cast<std::size_t>(row)]->passed == false ? QBrush(Qt::red) : QBrush();
        for (int column = 0; column < checks_->columnCount(); ++column)
            checks_->item(row, column)->setForeground(ink);
    }
    // The checks fill their own tab, which scrolls.
    checks_->setMinimumHeight(0);
    checks_->setMaximumHeight(QWIDGETSIZE_MAX);
}

bool FieldBookWindow::openBook(const QString& path) {
    try {
        document_->open(path);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QStringLiteral("打开外业手簿"), QString::fromUtf8(e.what()));
        return false;
    }
    folder_ = QFileInfo(path).absolutePath();
    ProgramSettings().setValue(kFolderKey, folder_);
    statusBar()->showMessage(QStringLiteral("已打开 %1 (可撤销)").arg(QFileInfo(path).fileName()));
    return true;
}

bool FieldBookWindow::saveBook(const QString& path) {
    try {
        document_->save(path);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QStringLiteral("保存外业手簿"), QString::fromUtf8(e.what()));
        return false;
    }
    folder_ = QFileInfo(path).absolutePath();
    ProgramSettings().setValue(kFolderKey, folder_);
    statusBar()->showMessage(QStringLiteral("外业手簿已保存到 %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void FieldBookWindow::chooseBookToOpen() {
    QFileDialog dialog(this, QStringLiteral("打开外业手簿"), folder_, QString::fromUtf8(kBookFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    openBook(dialog.selectedFiles().constFirst());
}

void FieldBookWindow::chooseFileToSave() {
    QFileDialog dialog(this, QStringLiteral("保存外业手簿"), folder_, QString::fromUtf8(kBookFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kvf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveBook(dialog.selectedFiles().constFirst());
}

namespace {

// An import is laid over the book read from the cells: a refused cell, left
// out of that book, would be lost with it.  Why not now, or empty.
QString ImportRefused(const FieldBookDocument& document) {
    if (document.refusedCells() == 0) return {};
    return QStringLiteral("手簿中有 %1 个有误的单元格, 导入会丢掉它们: 请先改正 (按 F8 转到第一处), 再导入。")
        .arg(document.refusedCells());
}

}  // namespace

void FieldBookWindow::chooseFilesToImport() {
    if (const QString refused = ImportRefused(*document_); !refused.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("导入"), refused);
        return;
    }
    QFileDialog dialog(this, QStringLiteral("导入全站仪数据"), importFolder_,
                       QString::fromUtf8(kInstrumentFilter));
    // A GSI file and a CSV of the points' coordinates may come together.
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    importFiles(dialog.selectedFiles());
}

bool FieldBookWindow::importFiles(const QStringList& paths) {
    if (const QString refused = ImportRefused(*document_); !refused.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("导入"), refused);
        return false;
    }
    std::vector<InstrumentFile> files;
    ImportMappingDialog* dialog = nullptr;
    try {
        for (const QString& path : paths)
            files.push_back(ReadInstrumentFile(QFile::encodeName(path).toStdString()));
        dialog = new ImportMappingDialog(std::move(files), document_->book(), this);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QStringLiteral("导入"),
                             QStringLiteral("没有导入, 手簿不变:\n%1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    importFolder_ = QFileInfo(paths.constFirst()).absolutePath();
    ProgramSettings().setValue(kImportFolderKey, importFolder_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { takeImport(*dialog); });
    dialog->open();
    return true;
}

void FieldBookWindow::takeImport(const ImportMappingDialog& dialog) {
    QStringList names;
    QStringList said;
    for (const InstrumentFile& file : dialog.files()) {
        names << QFileInfo(QString::fromStdString(file.name)).fileName();
        if (!file.notice.empty()) said << QString::fromStdString(file.notice);
    }
    for (const std::string& comment : dialog.imported().comments) said << QString::fromStdString(comment);
    const QString what = QStringLiteral("导入 %1").arg(names.join(QStringLiteral(", ")));
    try {
        const FieldBook merged = MergeImportedBook(document_->book(), dialog.imported().book);
        document_->change(CellsOfBook(merged), what);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QStringLiteral("导入"),
                             QStringLiteral("没有导入, 手簿不变:\n%1").arg(QString::fromUtf8(e.what())));
        return;
    }
    statusBar()->showMessage(
        QStringLiteral("已%1 (可撤销)%2")
            .arg(what, said.isEmpty() ? QString() : QStringLiteral(": ") + said.join(QStringLiteral("; "))));
    // What the import assumed or left out is the surveyor's to know, not only a passing line.
    if (!said.isEmpty())
        QMessageBox::information(
            this, QStringLiteral("导入"),
            QStringLiteral("已%1 (可撤销)。导入时:\n• %2").arg(what, said.join(QStringLiteral("\n• "))));
}

void FieldBookWindow::offerJob() {
    const auto job = document_->job();
    if (!job) {
        QMessageBox::information(this, QStringLiteral("送入观测数据"),
                                 QStringLiteral("外业手簿还不齐全, 不能送入观测数据。还缺:\n%1")
                                     .arg(document_->missing().join(QLatin1Char('\n'))));
        return;
    }
    emit jobOffered(*job);
}

}  // namespace korvanet
