// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/observation_sheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "app/observation_sheet_model.h"
#include "app/order_class_choice.h"
#include "core/display_text.h"

namespace korvanet {

bool SheetDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto* widget = qobject_cast<QWidget*>(editor);
            emit commitData(widget);
            emit closeEditor(widget, QAbstractItemDelegate::SubmitModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

// Home and End (with Ctrl: the first and the last value of the figure) land
// on a value cell, never on a column that cannot be typed in.
QModelIndex SheetView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if (cursorAction != MoveHome && cursorAction != MoveEnd)
        return QTableView::moveCursor(cursorAction, modifiers);
    auto* sheet = qobject_cast<ObservationSheetModel*>(model());
    int row = currentIndex().isValid() ? currentIndex().row() : 0;
    if (modifiers & Qt::ControlModifier) {
        row = cursorAction == MoveHome ? sheet->nextRowOfFigure(-1) : kSheetRows - 1;
        while (row > 0 && !sheet->applies(row)) --row;
    }
    return sheet->index(row, ObservationSheetModel::ValueColumn);
}

void SheetView::goToNextCell() {
    auto* sheet = qobject_cast<ObservationSheetModel*>(model());
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    const int next = sheet->nextRowOfFigure(row);
    setCurrentIndex(sheet->index(next, ObservationSheetModel::ValueColumn));
}

ObservationSheet::ObservationSheet(QWidget* parent) : QWidget(parent) {
    undo_ = new QUndoStack(this);
    model_ = new ObservationSheetModel(undo_, this);

    jobLabel_ = new QLabel(this);
    jobLabel_->setObjectName(QStringLiteral("sheetJobLabel"));
    jobLabel_->setTextFormat(Qt::PlainText);

    dKnown_ = new QCheckBox(QStringLiteral("D 为已知点"), this);
    dKnown_->setObjectName(QStringLiteral("dKnownSwitch"));
    dKnown_->setToolTip(
        QStringLiteral("D 为已知点: 输入 D 的座标, 不用 T0、Q1 和第 6 条边长;\n"
                       "D 为待定点: 输入 T0、Q1 和六条边长, D 的座标按 0 计算。"));

    // The class, as the quality window checks it; choosing one here offers
    // its angle mean error as the tolerance.
    classChoice_ = new QComboBox(this);
    classChoice_->setObjectName(QStringLiteral("sheetClassChoice"));
    classChoice_->addItem(QStringLiteral("(无)"), QString());
    const LoadedOrderClasses loaded = LoadOrderClasses();
    classes_ = loaded.table;
    for (const OrderClass& c : classes_.classes) {
        const QString name = QString::fromStdString(c.name);
        classChoice_->addItem(name, name);
    }
    classChoice_->setToolTip(loaded.problem.isEmpty()
                                 ? QStringLiteral("选定等级后, 测角中误差 σ0 取该等级的测角中误差 m_β")
                                 : loaded.problem);
    const int chosen = classChoice_->findData(ChosenOrderClassName());
    classChoice_->setCurrentIndex(chosen > 0 ? chosen : 0);
    auto* classLabel = new QLabel(QStringLiteral("等级(&G):"), this);
    classLabel->setBuddy(classChoice_);
    auto* classRow = new QHBoxLayout;
    classRow->addWidget(classLabel);
    classRow->addWidget(classChoice_, 1);

    view_ = new SheetView(this);
    view_->setObjectName(QStringLiteral("observationTable"));
    view_->setModel(model_);
    view_->setItemDelegate(new SheetDelegate(view_));
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    // Tab leaves the sheet for the buttons; Enter and the arrows move in it.
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    // Measured once: the sheet is redrawn on every keystroke's edit, and
    // measuring every cell again each time would cost more than adjusting
    // the whole figure.  The longest texts of each column are there already
    // (the quantities, the units, "不用: D 已知").
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    measure();
    view_->setCurrentIndex(model_->index(0, ObservationSheetModel::ValueColumn));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(jobLabel_);
    layout->addWidget(dKnown_);
    layout->addLayout(classRow);
    layout->addWidget(view_, 1);
    setTabOrder(view_, dKnown_);

    followSwitch();
    showJob(QString(), false);
    connect(dKnown_, &QCheckBox::toggled, this, &ObservationSheet::switchD);
    connect(classChoice_, &QComboBox::activated, this, &ObservationSheet::chooseClass);
    // The quality window's 等级 box is the same choice: it shows here at once.
    connect(&OrderClassChoice::instance(), &OrderClassChoice::chosen, classChoice_,
            [this](const QString& name) {
                const int shown = classChoice_->findData(name);
                classChoice_->setCurrentIndex(shown > 0 ? shown : 0);
            });
    connect(model_, &ObservationSheetModel::figureChanged, this, &ObservationSheet::followSwitch);
    connect(view_, &SheetView::pasteRequested, this, &ObservationSheet::paste);
    connect(view_, &SheetView::copyRequested, this, &ObservationSheet::copy);
    connect(view_, &SheetView::clearRequested, this, &ObservationSheet::clearSelection);
}

void ObservationSheet::measure() {
    view_->resizeColumnsToContents();
    view_->horizontalHeader()->setSectionResizeMode(ObservationSheetModel::ValueColumn, QHeaderView::Stretch);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
}

void ObservationSheet::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) measure();
}

void ObservationSheet::switchD(bool known) {
    if (known == model_->dKnown()) return;
    SheetContent after = model_->content();
    after.dKnown = known;
    model_->change(after, known ? QStringLiteral("D 为已知点") : QStringLiteral("D 为待定点"));
}

void ObservationSheet::chooseClass(int index) {
    const QString name = classChoice_->itemData(index).toString();
    SetChosenOrderClassName(name);
    const OrderClass* c = name.isEmpty() ? nullptr : classes_.Find(name.toStdString());
    if (c == nullptr) return;
    if (!c->angleMeanError) {
        emit message(QStringLiteral("等级 %1 没有给出测角中误差, 测角中误差 σ0 不变").arg(name));
        return;
    }
    const QString tolerance = QString::fromStdString(ShortestText(*c->angleMeanError));
    const QString typed = model_->text(sheet_row::kTolerance).trimmed();
    bool isNumber = false;
    const double typedValue = typed.toDouble(&isNumber);
    if (isNumber && typedValue == *c->angleMeanError) {
        emit message(QStringLiteral("测角中误差 σ0 已是等级 %1 的 m_β = %2″").arg(name, tolerance));
        return;
    }
    // A tolerance the surveyor typed is theirs: the class replaces it only
    // when they say so, and keeping it is what Enter does.
    if (!typed.isEmpty()) {
        QMessageBox ask(
            QMessageBox::Question, QStringLiteral("等级 %1").arg(name),
            QStringLiteral("测角中误差 σ0 现为 %1″, 等级 %2 的测角中误差 m_β 为 %3″。σ0 要改为 %3″ 吗?")
                .arg(typed, name, tolerance),
            QMessageBox::NoButton, this);
        QPushButton* change =
            ask.addButton(QStringLiteral("改为 %1″").arg(tolerance), QMessageBox::AcceptRole);
        QPushButton* keep = ask.addButton(QStringLiteral("保留 %1″").arg(typed), QMessageBox::RejectRole);
        ask.setDefaultButton(keep);
        ask.setEscapeButton(keep);
        ask.exec();
        if (ask.clickedButton() != change) {
            emit message(QStringLiteral("测角中误差 σ0 保留 %1″ (等级 %2 的测角中误差 m_β = %3″)")
                             .arg(typed, name, tolerance));
            return;
        }
    }
    SheetContent after = model_->content();
    after.texts.at(sheet_row::kTolerance) = tolerance;
    model_->change(after, QStringLiteral("等级 %1 的测角中误差 σ0").arg(name));
    emit message(QStringLiteral("测角中误差 σ0 取等级 %1 的 m_β = %2″ (可撤销)").arg(name, tolerance));
}

// The switch shows what the sheet holds (an undo or a job may change it).
void ObservationSheet::followSwitch() {
    const QSignalBlocker quiet(dKnown_);
    dKnown_->setChecked(model_->dKnown());
}

std::size_t ObservationSheet::putJob(const std::vector<std::string>& answers, const QString& what) {
    std::size_t used = 0;
    model_->change(model_->contentOfJob(answers, &used), what);
    return answers.size() - used;
}

void ObservationSheet::showJob(const QString& name, bool modified) {
    jobLabel_->setText(QStringLiteral("作业: %1%2")
                           .arg(name.isEmpty() ? QStringLiteral("(未保存)") : name,
                                modified ? QStringLiteral(" *") : QString()));
    jobLabel_->setToolTip(modified ? QStringLiteral("观测数据与保存的作业文件不同") : QString());
}

void ObservationSheet::focusTable() {
    if (!view_->currentIndex().isValid()) {
        view_->setCurrentIndex(model_->index(0, ObservationSheetModel::ValueColumn));
    }
    view_->setFocus(Qt::ShortcutFocusReason);
}

std::vector<QString> ObservationSheet::PastedValues(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line break ends the last line; it starts no value.
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    std::vector<QString> values;
    for (QString line : std::as_const(lines)) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QChar separator = line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
        if (!line.contains(separator)) {
            // A line of a job file: the answer exactly as written.
            values.push_back(line);
            continue;
        }
        for (const QString& cell : line.split(separator)) values.push_back(cell.trimmed());
    }
    return values;
}

void ObservationSheet::paste() {
    const std::vector<QString> values = PastedValues(QApplication::clipboard()->text());
    if (values.empty()) {
        emit message(QStringLiteral("剪贴板里没有可以粘贴的数值"));
        return;
    }
    const QModelIndex current = view_->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    std::size_t used = 0;
    QString told;
    if (row == sheet_row::kTolerance && values.size() > static_cast<std::size_t>(sheet_row::kYOfD)) {
        // From the first row on, the values are a job: its coordinates of D
        // say whether D is known.
        std::vector<std::string> answers;
        answers.reserve(values.size());
        for (const QString& value : values) answers.push_back(value.toStdString());
        const SheetContent after = model_->contentOfJob(answers, &used);
        model_->change(after, QStringLiteral("粘贴作业"));
        told = QStringLiteral("已粘贴作业: 填入 %1 个数值").arg(used);
    } else {
        const SheetContent after = model_->contentFilledFrom(row, values, &used);
        model_->change(after, QStringLiteral("粘贴 %1 个数值").arg(used));
        told = QStringLiteral("已粘贴: 填入 %1 个数值").arg(used);
    }
    if (used < values.size()) {
        told += QStringLiteral(", 另有 %1 个数值超出观测数据的末行, 没有用到").arg(values.size() - used);
    }
    emit message(told);
}

void ObservationSheet::copy() { view_->copyCells(Qt::DisplayRole); }

void ObservationSheet::clearSelection() {
    SheetContent after = model_->content();
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) {
        if (index.column() == ObservationSheetModel::ValueColumn && model_->applies(index.row())) {
            after.texts.at(static_cast<std::size_t>(index.row())).clear();
        }
    }
    model_->change(after, QStringLiteral("删除"));
}

}  // namespace korvanet
