// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/field_book_run.h"

#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "entry/job_layout.h"

namespace korvanet {
namespace {

// The job's answers in the order a run asks them; nothing when the book
// still lacks a value.
std::vector<std::string> JobAnswers(const FieldBook& book, const FieldReduction& reduction,
                                    const std::string& tolerance) {
    const bool dKnown = book.points[3].x.has_value();
    std::array<std::optional<double>, 7> sides;
    for (const ReducedSide& side : reduction.sides)
        sides[static_cast<std::size_t>(side.index)] = side.reduced;
    std::vector<std::string> answers;
    for (const JobAnswer& answer : kJobAnswers) {
        if (!IsAsked(answer, dKnown)) continue;
        const FieldPoint& a = book.points[0];
        const FieldPoint& d = book.points[3];
        switch (answer.value) {
            case FigureValue::Tolerance:
                answers.push_back(tolerance);
                break;
            case FigureValue::XOfA:
                answers.push_back(a.x->text);
                break;
            case FigureValue::YOfA:
                answers.push_back(a.y->text);
                break;
            case FigureValue::XOfD:
                answers.push_back(dKnown ? d.x->text : "0");
                break;
            case FigureValue::YOfD:
                answers.push_back(dKnown ? d.y->text : "0");
                break;
            case FigureValue::AzimuthT0:
                answers.push_back((*book.orient)[0].text);
                break;
            case FigureValue::OrientationQ1:
                answers.push_back((*book.orient)[1].text);
                break;
            case FigureValue::PointName:
                answers.push_back(book.points[static_cast<std::size_t>(answer.number)].name);
                break;
            case FigureValue::ObservedAngle:
                answers.push_back(
                    PackedAngleText(*reduction.angles[static_cast<std::size_t>(answer.number)], 2));
                break;
            case FigureValue::ObservedSide:
                answers.push_back(FixedText(*sides[static_cast<std::size_t>(answer.number)], 4));
                break;
        }
    }
    return answers;
}

}  // namespace

FieldBookRun RunFieldBook(const FieldBook& book, const OrderClassTable& table) {
    FieldBookRun run;
    run.book = book;
    FieldLimits limits;
    if (!book.orderClass.empty()) {
        const OrderClass* found = table.Find(book.orderClass);
        if (found == nullptr)
            throw InputError("外业手簿的等级 " + book.orderClass +
                             " 不在等级表中; 等级表中有: " + table.Names());
        run.orderClass = *found;
        const FieldInstruments instruments = InstrumentsOf(book);
        limits = FieldLimitsFor(table.fieldLimits, found->name, instruments.theodolite, instruments.edmA,
                                instruments.edmB);
    }
    run.reduction = ReduceFieldBook(book, limits, run.orderClass.has_value());

    run.missing = run.reduction.missing;
    std::string tolerance;
    if (book.tolerance)
        tolerance = book.tolerance->text;
    else if (run.orderClass && run.orderClass->angleMeanError)
        tolerance = ShortestText(*run.orderClass->angleMeanError);
    else
        run.missing.push_back("tolerance");
    if (book.points[0].given && !book.points[0].x) run.missing.push_back("coordinates A");
    if (book.points[3].given && !book.points[3].x && !book.orient) run.missing.push_back("orientation");

    if (run.orderClass) {
        bool all = true;
        for (const FieldCheck& check : run.reduction.checks) all = all && check.passed.value_or(true);
        run.compliant = all;
    }
    if (run.missing.empty()) run.job = JobAnswers(book, run.reduction, tolerance);
    return run;
}

}  // namespace korvanet
