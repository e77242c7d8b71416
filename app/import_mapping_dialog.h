// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 外业手簿 → 导入…: which of the figure's points A, B, C and D each point id
// of the instrument files stands for.  One row an id (in the order the files
// name them), a choice of A, B, C, D or (不用) for each, filled in where the
// id is a letter of the figure or the name of a point of the open book.  The
// dialog goes on only with a mapping the import can use: no letter for two
// ids, every id the instrument recorded (a station or a target) given a
// letter; then the book is made (compute/instrument_import.h) and a refusal
// of it is shown in the dialog, which stays open.

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "adjust/field_book.h"
#include "compute/instrument_import.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace korvanet {

// The mapping offered at first: an id that is a letter A..D stands for that
// point, else an id equal to a point's name in `open` stands for that point;
// no letter twice.
PointMapping OfferedMapping(const std::vector<std::string>& ids, const FieldBook& open);

// Why `mapping` of `ids` cannot be imported, in the surveyor's words, or
// empty.  `recorded` are the ids the instrument recorded, which the book
// cannot do without.
QString MappingProblem(const std::vector<std::string>& ids, const std::vector<std::string>& recorded,
                       const PointMapping& mapping);

class ImportMappingDialog : public QDialog {
    Q_OBJECT
public:
    // The choice of the row "(不用)": the id is left out.
    static constexpr int kUnused = 4;

    ImportMappingDialog(std::vector<InstrumentFile> files, const FieldBook& open, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    // The choice of row `row`: A, B, C, D (0..3) or (不用).
    QComboBox* choice(int row) const { return choices_.at(static_cast<std::size_t>(row)); }
    QLabel* problemLabel() const { return problem_; }
    const std::vector<std::string>& ids() const { return ids_; }
    // The book made under the accepted mapping.
    const ImportedBook& imported() const { return *imported_; }
    const std::vector<InstrumentFile>& files() const { return files_; }

public slots:
    // Makes the book; closes the dialog only when it was made.
    void accept() override;

private:
    PointMapping chosen() const;
    void refuse(const QString& why);

    std::vector<InstrumentFile> files_;
    std::vector<std::string> ids_;
    std::vector<std::string> recorded_;
    QTableWidget* table_ = nullptr;
    std::vector<QComboBox*> choices_;
    QLabel* problem_ = nullptr;
    std::optional<ImportedBook> imported_;
};

}  // namespace korvanet
