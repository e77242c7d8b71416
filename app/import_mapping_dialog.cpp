// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/import_mapping_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <set>

#include "adjust/quadrilateral.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

constexpr const auto& kLetters = quadrilateral::kPointLetters;

QString Letter(int point) { return QString::fromLatin1(kLetters.at(static_cast<std::size_t>(point))); }
QString Id(const std::string& id) { return QString::fromStdString(id); }

// Where each id appears, for the surveyor to recognise it: 测站, 照准点, 座标.
std::map<std::string, QStringList> Appearances(const std::vector<InstrumentFile>& files) {
    std::map<std::string, QStringList> seen;
    auto note = [&seen](const std::string& id, const QString& what) {
        QStringList& list = seen[id];
        if (!list.contains(what)) list << what;
    };
    for (const InstrumentFile& file : files) {
        if (file.record) {
            for (const InstrumentStation& station : file.record->stations) {
                note(station.id, QStringLiteral("测站"));
                for (const InstrumentPointing& pointing : station.pointings)
                    note(pointing.target, QStringLiteral("照准点"));
            }
        }
        for (const CsvPoint& point : file.points) note(point.id, QStringLiteral("座标"));
    }
    return seen;
}

}  // namespace

PointMapping OfferedMapping(const std::vector<std::string>& ids, const FieldBook& open) {
    PointMapping mapping;
    std::set<int> taken;
    auto offer = [&](const std::string& id, int point) {
        if (mapping.count(id) != 0 || taken.count(point) != 0) return;
        mapping[id] = point;
        taken.insert(point);
    };
    // The letters first: an id "B" is B whatever the book calls its points.
    for (const std::string& id : ids)
        for (int p = 0; p < 4; ++p)
            if (id == kLetters.at(static_cast<std::size_t>(p))) offer(id, p);
    for (const std::string& id : ids)
        for (int p = 0; p < 4; ++p)
            if (!id.empty() && open.points.at(static_cast<std::size_t>(p)).name == id) offer(id, p);
    return mapping;
}

QString MappingProblem(const std::vector<std::string>& ids, const std::vector<std::string>& recorded,
                       const PointMapping& mapping) {
    std::map<int, QStringList> byPoint;
    for (const std::string& id : ids) {
        const auto found = mapping.find(id);
        if (found != mapping.end()) byPoint[found->second] << Id(id);
    }
    for (const auto& [point, named] : byPoint) {
        if (named.size() > 1)
            return QStringLiteral("%1 都对应 %2: 每个点只能对应一个点号。")
                .arg(named.join(QStringLiteral(" 和 ")), Letter(point));
    }
    QStringList free;
    for (int p = 0; p < 4; ++p)
        if (byPoint.count(p) == 0) free << Letter(p);
    // With all four points given, a recorded id left at (不用) is a point
    // beyond the figure, left out of the book with a note; while a letter is
    // still free, it is more likely the one forgotten.
    for (const std::string& id : recorded) {
        if (mapping.count(id) != 0 || free.isEmpty()) continue;
        return QStringLiteral("仪器记录了点号 %1 (测站或照准点), 它要对应一个点: 还没有对应的是 %2。")
            .arg(Id(id), free.join(QStringLiteral("、")));
    }
    if (byPoint.empty()) return QStringLiteral("没有一个点号对应 A、B、C 或 D: 没有可导入的内容。");
    return {};
}

ImportMappingDialog::ImportMappingDialog(std::vector<InstrumentFile> files, const FieldBook& open,
                                         QWidget* parent)
    : QDialog(parent), files_(std::move(files)) {
    setWindowTitle(QStringLiteral("导入: 点号对应"));
    ids_ = ImportIds(files_);
    for (const InstrumentFile& file : files_) {
        if (!file.record) continue;
        for (const std::string& id : RecordIds(*file.record))
            if (std::find(recorded_.begin(), recorded_.end(), id) == recorded_.end()) recorded_.push_back(id);
    }
    const PointMapping offered = OfferedMapping(ids_, open);
    const std::map<std::string, QStringList> appearances = Appearances(files_);

    QStringList names;
    for (const InstrumentFile& file : files_) names << QString::fromStdString(file.name);
    auto* intro = new QLabel(QStringLiteral("%1 中的点号各是图形的哪个点? 选 (不用) 的点号不导入。")
                                 .arg(names.join(QStringLiteral(", "))),
                             this);
    intro->setWordWrap(true);

    table_ = new QTableWidget(static_cast<int>(ids_.size()), 3, this);
    table_->setObjectName(QStringLiteral("importMapping"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("点号"), QStringLiteral("出现在"), QStringLiteral("对应")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab goes from one choice to the next, not from cell to cell.
    table_->setTabKeyNavigation(false);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < static_cast<int>(ids_.size()); ++row) {
        const std::string& id = ids_[static_cast<std::size_t>(row)];
        table_->setItem(row, 0, new QTableWidgetItem(Id(id)));
        const auto seen = appearances.find(id);
        table_->setItem(row, 1,
                        new QTableWidgetItem(
                            seen == appearances.end() ? QString() : seen->second.join(QStringLiteral("、"))));
        auto* choice = new QComboBox(table_);
        choice->setObjectName(QStringLiteral("mapping%1").arg(row));
        for (int p = 0; p < 4; ++p) choice->addItem(Letter(p));
        choice->addItem(QStringLiteral("(不用)"));
        const auto given = offered.find(id);
        choice->setCurrentIndex(given == offered.end() ? kUnused : given->second);
        table_->setCellWidget(row, 2, choice);
        choices_.push_back(choice);
    }
    const int rows = std::min(static_cast<int>(ids_.size()), 12);
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                             rows * table_->verticalHeader()->defaultSectionSize() + 4);
    table_->setMinimumWidth(360);

    auto* mappingLabel = new QLabel(QStringLiteral("点号对应(&M):"), this);
    if (!choices_.empty()) mappingLabel->setBuddy(choices_.front());

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("mappingProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(mappingLabel);
    layout->addWidget(table_, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    for (QComboBox* choice : choices_)
        connect(choice, &QComboBox::currentIndexChanged, problem_, &QLabel::hide);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportMappingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportMappingDialog::reject);
    if (!choices_.empty()) choices_.front()->setFocus(Qt::OtherFocusReason);
}

PointMapping ImportMappingDialog::chosen() const {
    PointMapping mapping;
    for (std::size_t row = 0; row < ids_.size(); ++row) {
        const int point = choices_[row]->currentIndex();
        if (point >= 0 && point < 4) mapping[ids_[row]] = point;
    }
    return mapping;
}

void ImportMappingDialog::refuse(const QString& why) {
    problem_->setText(why);
    problem_->show();
}

void ImportMappingDialog::accept() {
    const PointMapping mapping = chosen();
    const QString problem = MappingProblem(ids_, recorded_, mapping);
    if (!problem.isEmpty()) {
        refuse(problem);
        return;
    }
    try {
        imported_ = ImportBook(files_, mapping);
    } catch (const KorvanetError& e) {
        // The files read, but not into this figure under this mapping: the
        // surveyor may map again or cancel.
        refuse(QString::fromUtf8(e.what()));
        return;
    }
    QDialog::accept();
}

}  // namespace korvanet
