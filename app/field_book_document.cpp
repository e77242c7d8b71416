// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_book_document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>

#include "adjust/quadrilateral.h"
#include "app/order_class_choice.h"
#include "compute/field_book_file.h"
#include "compute/field_check_texts.h"
#include "compute/file_writer.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// Larger than any book typed by hand: a kept file beyond it is no book.
constexpr qint64 kMostKeptBytes = 16 * 1024 * 1024;

class BookChangeCommand : public QUndoCommand {
public:
    BookChangeCommand(FieldBookDocument* document, FieldBookCells before, FieldBookCells after,
                      const QString& what)
        : QUndoCommand(what), document_(document), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { document_->setCells(before_); }
    void redo() override { document_->setCells(after_); }

private:
    FieldBookDocument* document_;
    FieldBookCells before_, after_;
};

QString MissingText(const std::string& what) { return QString::fromStdString(FieldMissingText(what)); }

}  // namespace

FieldBookDocument::FieldBookDocument(QObject* parent) : QObject(parent) {
    undo_ = new QUndoStack(this);
    classes_ = LoadOrderClasses().table;
    reduce();
}

quint64 FieldBookDocument::Key(BookTable table, int row, int column) {
    return (static_cast<quint64>(table) << 48) | (static_cast<quint64>(static_cast<quint32>(row)) << 16) |
           static_cast<quint64>(static_cast<quint16>(column));
}

void FieldBookDocument::change(const FieldBookCells& after, const QString& what) {
    if (after == cells_) return;
    undo_->push(new BookChangeCommand(this, cells_, after, what));
}

void FieldBookDocument::setCell(BookTable table, int row, int column, const QString& text) {
    FieldBookCells after = cells_;
    SetCellText(after, table, row, column, text);
    change(after, QStringLiteral("输入 %1").arg(text));
}

void FieldBookDocument::setCells(const FieldBookCells& cells) {
    cells_ = cells;
    reduce();
    keep();
    emit changed();
}

std::optional<std::vector<std::string>> FieldBookDocument::job() const {
    if (!run_ || !run_->job || refusedCount_ > 0 || !generalRefusal_.isEmpty()) return std::nullopt;
    return run_->job;
}

QStringList FieldBookDocument::missing() const {
    QStringList out;
    if (!generalRefusal_.isEmpty()) out << generalRefusal_;
    if (refusedCount_ > 0) out << QStringLiteral("改正 %1 个有误的单元格").arg(refusedCount_);
    if (run_) {
        for (const std::string& m : run_->missing) out << MissingText(m);
    }
    return out;
}

QString FieldBookDocument::computed(BookTable table, int row, int column) const {
    return computed_.value(Key(table, row, column));
}

QString FieldBookDocument::refusal(BookTable table, int row, int column) const {
    const auto found = marks_.constFind(Key(table, row, column));
    return found == marks_.constEnd() ? QString() : found->refusal;
}

bool FieldBookDocument::exceeded(BookTable table, int row, int column) const {
    const auto found = marks_.constFind(Key(table, row, column));
    if (found == marks_.constEnd()) return false;
    return std::any_of(found->checks.begin(), found->checks.end(),
                       [](const FieldCheck* c) { return c->passed == false; });
}

QString FieldBookDocument::checkTip(BookTable table, int row, int column) const {
    const auto found = marks_.constFind(Key(table, row, column));
    if (found == marks_.constEnd()) return {};
    QStringList tips;
    for (const FieldCheck* c : found->checks) tips << CheckTip(*c);
    return tips.join(QLatin1Char('\n'));
}

std::optional<CellRef> FieldBookDocument::firstProblem() const {
    if (problems_.empty()) return std::nullopt;
    return problems_.front();
}

QString FieldBookDocument::CheckTip(const FieldCheck& check) {
    QString tip =
        QStringLiteral("%1 %2: %3")
            .arg(QString::fromStdString(FieldCheckKindName(check.kind)), QString::fromStdString(check.item),
                 QString::fromStdString(FieldCheckValueText(check)));
    if (check.limit) {
        tip += QStringLiteral(", 限差 %1 — %2")
                   .arg(QString::fromStdString(FieldCheckLimitText(check)),
                        QString::fromStdString(FieldCheckVerdictText(check)));
    } else {
        tip += QStringLiteral(", 未检核");
    }
    if (!check.note.empty()) tip += QStringLiteral(" (%1)").arg(QString::fromStdString(check.note));
    return tip;
}

QString FieldBookDocument::statusText() const {
    QStringList parts;
    if (!generalRefusal_.isEmpty()) parts << QStringLiteral("手簿无法读取: %1").arg(generalRefusal_);
    if (refusedCount_ > 0) {
        const CellRef& first = problems_.front();
        parts << QStringLiteral("%1 个单元格有误, 第一个: %2")
                     .arg(refusedCount_)
                     .arg(refusal(first.table, first.row, first.column));
    }
    if (run_) {
        const FieldCheck* failed = nullptr;
        for (const FieldCheck& c : run_->reduction.checks) {
            if (c.passed == false) {
                failed = &c;
                break;
            }
        }
        QString verdict;
        if (run_->compliant) {
            verdict = !*run_->compliant       ? QStringLiteral("手簿超限 (等级 %1)")
                      : run_->missing.empty() ? QStringLiteral("手簿合格: 等级 %1 的限差全部满足")
                                              : QStringLiteral("已记录的观测合格 (等级 %1)");
            verdict = verdict.arg(QString::fromStdString(run_->orderClass->name));
        } else {
            verdict = failed ? QStringLiteral("未定等级, 投影长度变形超限")
                             : QStringLiteral("未定等级: 只检核投影长度变形");
        }
        if (failed) {
            verdict += QStringLiteral(", 第一项超限: %1 %2 = %3, 限差 %4")
                           .arg(QString::fromStdString(FieldCheckKindName(failed->kind)),
                                QString::fromStdString(failed->item),
                                QString::fromStdString(FieldCheckValueText(*failed)),
                                QString::fromStdString(FieldCheckLimitText(*failed)));
        }
        parts << verdict;
        if (!run_->missing.empty()) {
            QStringList lacking;
            for (const std::string& m : run_->missing) lacking << MissingText(m);
            parts << QStringLiteral("还缺: %1").arg(lacking.join(QStringLiteral(", ")));
        }
    }
    return parts.join(QStringLiteral("; "));
}

void FieldBookDocument::markRefused(const CellRef& cell, const QString& why) {
    Mark& mark = marks_[Key(cell.table, cell.row, cell.column)];
    if (!mark.refusal.isEmpty()) return;
    mark.refusal = why;
    ++refusedCount_;
    problems_.push_back(cell);
}

void FieldBookDocument::reduce() {
    computed_.clear();
    marks_.clear();
    problems_.clear();
    refusedCount_ = 0;
    generalRefusal_.clear();
    setRows_.clear();
    recordRows_.clear();
    run_.reset();
    book_ = FieldBook();

    const BookLines lines = LinesOfCells(cells_);
    for (const auto& [cell, why] : lines.unwritten) markRefused(cell, QString::fromUtf8(why.c_str()));

    // Read as the batch tool reads a book; a refused line is marked and left
    // out (a refused `set` or `distance` line with the lines under it), and
    // the rest read again.  Each round leaves out a line, so this ends.
    std::vector<bool> dropped(lines.lines.size(), false);
    std::vector<std::size_t> kept;
    bool read = false;
    while (!read) {
        kept.clear();
        std::string text;
        for (std::size_t i = 0; i < lines.lines.size(); ++i) {
            if (dropped[i]) continue;
            kept.push_back(i);
            text += lines.lines[i].text;
            text += '\n';
        }
        try {
            book_ = ReadFieldBook(text);
            read = true;
        } catch (const FieldBookLineError& e) {
            if (e.line() < 1 || kept.empty()) {
                generalRefusal_ = QString::fromStdString(e.what());
                break;
            }
            // A refusal found only at the end of the text (a last set left
            // short) belongs to the last line.
            const std::size_t k = std::min(static_cast<std::size_t>(e.line()) - 1, kept.size() - 1);
            const BookLines::Line& line = lines.lines[kept[k]];
            const QString why = QString::fromStdString(e.why());
            // A set's line with a reading that is no reading: that reading's cell.
            bool placed = false;
            if (line.readings) {
                for (std::size_t c = 1; c < line.cells.size() && !placed; ++c) {
                    std::string no;
                    const QString typed =
                        CellText(cells_, line.cells[c].table, line.cells[c].row, line.cells[c].column);
                    if (!ReadPackedReading(typed.trimmed().toStdString(), no)) {
                        markRefused(line.cells[c], why);
                        placed = true;
                    }
                }
            }
            if (!placed)
                for (const CellRef& cell : line.cells) markRefused(cell, why);
            if (line.opensGroup) {
                for (std::size_t i = 0; i < lines.lines.size(); ++i)
                    if (lines.lines[i].group == line.group) dropped[i] = true;
            } else {
                dropped[kept[k]] = true;
            }
        } catch (const KorvanetError& e) {
            generalRefusal_ = QString::fromStdString(e.what());
            break;
        }
    }
    if (!read) {
        book_ = FieldBook();
        return;
    }

    try {
        run_ = RunFieldBook(book_, classes_);
    } catch (const KorvanetError& e) {
        // A class the table does not hold: the cell says so, the book is reduced unjudged.
        markRefused({BookTable::Header, book_header::OrderClass, book_header::kValueColumn},
                    QString::fromStdString(e.what()));
        FieldBook unjudged = book_;
        unjudged.orderClass.clear();
        run_ = RunFieldBook(unjudged, classes_);
    }

    // Where the lines read went, in the order of the book.
    for (const std::size_t i : kept) {
        const BookLines::Line& line = lines.lines[i];
        const CellRef& cell = line.cells.front();
        if (line.opensGroup && IsStationTable(cell.table)) {
            const int point = StationOf(cell.table);
            int set = 0;
            for (const SetRows& s : setRows_) set += s.point == point ? 1 : 0;
            setRows_.push_back({point, set, {}, 0, 0});
        } else if (line.readings && !setRows_.empty()) {
            setRows_.back().rows.push_back(cell.row);
        } else if (line.opensGroup && cell.table == BookTable::Distances) {
            recordRows_.push_back(cell.row);
        }
    }
    placeComputed();
    placeChecks();
}

void FieldBookDocument::keep() {
    if (keptPath_.isEmpty()) return;
    std::string bytes = CellsJson(cells_);
    if (bytes == keptBytes_) return;
    QDir().mkpath(QFileInfo(keptPath_).absolutePath());
    try {
        WriteFileWhole(QFile::encodeName(keptPath_).toStdString(), bytes);
        keptBytes_ = std::move(bytes);
        keepingFailure_.clear();
    } catch (const KorvanetError& e) {
        keepingFailure_ = QStringLiteral("无法保存外业手簿 %1: %2")
                              .arg(QDir::toNativeSeparators(keptPath_), QString::fromUtf8(e.what()));
        emit message(keepingFailure_);
    }
}

QString FieldBookDocument::keepIn(const QString& path) {
    keptPath_ = path;
    keptBytes_.clear();
    QFile file(path);
    if (!file.exists()) return {};
    QString problem;
    FieldBookCells kept;
    if (!QFileInfo(path).isFile() || file.size() > kMostKeptBytes || !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("无法读取");
    } else {
        const std::string bytes = file.readAll().toStdString();
        file.close();
        if (ReadCellsJson(bytes, kept)) {
            keptBytes_ = bytes;
            undo_->clear();
            setCells(kept);
            return {};
        }
        problem = QStringLiteral("不是外业手簿");
    }
    // Set aside, not deleted: the surveyor may still want to look at it.
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    const bool moved =
        std::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0;
    return QStringLiteral("上次的外业手簿%1, %2")
        .arg(problem, moved ? QStringLiteral("已改名为 %1 保留").arg(QDir::toNativeSeparators(aside))
                            : QStringLiteral("也无法改名保留"));
}

void FieldBookDocument::open(const QString& path) {
    const FieldBook read = ReadFieldBookFile(QFile::encodeName(path).toStdString());
    change(CellsOfBook(read), QStringLiteral("打开外业手簿 %1").arg(QFileInfo(path).fileName()));
}

void FieldBookDocument::save(const QString& path) const {
    if (refusedCount_ > 0 || !generalRefusal_.isEmpty()) {
        throw InputError(
            QStringLiteral("手簿中有 %1 处有误, 保存的文件会缺少它们: 请先改正 (%2)")
                .arg(std::max(refusedCount_, 1))
                .arg(generalRefusal_.isEmpty()
                         ? refusal(problems_.front().table, problems_.front().row, problems_.front().column)
                         : generalRefusal_)
                .toStdString());
    }
    try {
        WriteFileWhole(QFile::encodeName(path).toStdString(), FieldBookText(book_));
    } catch (const KorvanetError& e) {
        throw InputError(QStringLiteral("无法保存外业手簿 %1: %2")
                             .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what()))
                             .toStdString());
    }
}

}  // namespace korvanet
