// SPDX-License-Identifier: GPL-3.0-or-later
// The quality window's 精度统计 and 规范检核 for the example job with D
// known, as the window opens it: the class chosen in the 等级 box is checked,
// coloured, named in the title line and still chosen in the next window.

#include "app/precision_summary.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/quality_window.h"
#include "compute/job_run.h"
#include "compute/job_text.h"
#include "core/scripted_session.h"

using korvanet::PrecisionSummary;
using korvanet::QualityWindow;

namespace {

struct Completed {
    korvanet::SurveyState state;
    korvanet::JobRun run;
};

Completed RunExample(const char* name) {
    std::ifstream in(std::string(KORVANET_EXAMPLES_DIR) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    korvanet::SurveyState state;
    korvanet::RecordingDisplay display;
    korvanet::JobRun run = korvanet::RunJob(korvanet::SplitJobLines(text.str()), state, display);
    return {std::move(state), std::move(run)};
}

}  // namespace

class PrecisionSummaryTest : public QObject {
    Q_OBJECT
private slots:
    void classChosenIsCheckedColouredAndKept() {
        const Completed c = RunExample("known-d.txt");
        QVERIFY(c.run.quality.has_value());
        const QString title = QStringLiteral("质量检查: 青龙山 - 望江楼 - 石门 - 东岗");
        {
            QualityWindow window(c.state, *c.run.quality);
            PrecisionSummary* summary = window.precisionSummary();
            QVERIFY(summary);
            // No class until one is chosen: no checks, a plain title.
            QCOMPARE(summary->classChoice()->currentText(), QStringLiteral("无"));
            QVERIFY(summary->checksTable()->isHidden());
            QCOMPARE(window.headingLine()->text(), title);
            // Five observed sides (D known), the weakest marked; B-C alone has a relative ellipse.
            QTableWidget* sides = summary->sidesTable();
            QCOMPARE(sides->rowCount(), 5);
            const int weakest = c.run.quality->figure.Weakest().index - 1;
            for (int r = 0; r < 5; ++r)
                QCOMPARE(sides->item(r, sides->columnCount() - 1)->text().isEmpty(), r != weakest);
            QCOMPARE(sides->item(weakest, 4)->text(), QStringLiteral("1/181914"));
            QCOMPARE(summary->relativeEllipsesTable()->rowCount(), 1);
            QCOMPARE(summary->relativeEllipsesTable()->item(0, 0)->text(), QStringLiteral("B-C"));

            summary->classChoice()->setCurrentIndex(summary->classChoice()->findText(QStringLiteral("四等")));
            QTableWidget* checks = summary->checksTable();
            QVERIFY(!checks->isHidden());
            QCOMPARE(checks->rowCount(), 8);
            // The example's side mean error of the preparation over its
            // shortest side is 1/93371, beyond 1/100000; all else passes.
            for (int r = 0; r < checks->rowCount(); ++r) {
                QTableWidgetItem* verdict = checks->item(r, checks->columnCount() - 1);
                const bool measuredSides =
                    checks->item(r, 0)->text().startsWith(QStringLiteral("测边相对中误差"));
                QCOMPARE(verdict->text(), measuredSides ? QStringLiteral("未通过") : QStringLiteral("通过"));
                // A failed check reads red, a passed one green.
                const QColor ink = verdict->foreground().color();
                QVERIFY2(measuredSides ? ink.red() > 2 * ink.green() : ink.green() > 2 * ink.red(),
                         qPrintable(ink.name()));
                if (measuredSides) {
                    QCOMPARE(checks->item(r, 1)->text(), QStringLiteral("1/93371"));
                    QCOMPARE(checks->item(r, 2)->text(), QStringLiteral("≤ 1/100000"));
                }
            }
            QCOMPARE(checks->item(0, 0)->text(), QStringLiteral("三角形 ABC 闭合差"));
            QCOMPARE(checks->item(0, 1)->text(), QStringLiteral("-6.70″"));
            QCOMPARE(checks->item(0, 2)->text(), QStringLiteral("±9.00″"));
            QCOMPARE(window.headingLine()->text(), title + QStringLiteral("  —  不符合 四等 的要求"));
        }
        {
            // The next window opens with the class chosen last.
            QualityWindow window(c.state, *c.run.quality);
            QComboBox* choice = window.precisionSummary()->classChoice();
            QCOMPARE(choice->currentText(), QStringLiteral("四等"));
            QCOMPARE(window.headingLine()->text(), title + QStringLiteral("  —  不符合 四等 的要求"));
            // 一级 allows 1/40000 for the measured sides: the figure meets it.
            choice->setCurrentIndex(choice->findText(QStringLiteral("一级")));
            QCOMPARE(window.headingLine()->text(), title + QStringLiteral("  —  符合 一级 的要求"));
            // The national orders give no side figures: those are not checked, and it says so.
            choice->setCurrentIndex(choice->findText(QStringLiteral("国家四等")));
            QCOMPARE(window.precisionSummary()->checksTable()->rowCount(), 5);
            // The report 打印 puts on paper checks the class chosen here and
            // says what it leaves unchecked.
            QString classSection;
            for (const korvanet::DocumentSection& section : window.reportDocument().sections)
                if (section.heading == "规范检核")
                    for (const korvanet::DocumentBlock& block : section.blocks)
                        classSection += QString::fromStdString(block.text) + QLatin1Char('\n');
            QVERIFY2(classSection.contains(QStringLiteral("国家四等")), qPrintable(classSection));
            QVERIFY2(classSection.contains(QStringLiteral("未检核")), qPrintable(classSection));
            choice->setCurrentIndex(0);
            QCOMPARE(window.headingLine()->text(), title);
        }
        QualityWindow window(c.state, *c.run.quality);
        QCOMPARE(window.precisionSummary()->classChoice()->currentText(), QStringLiteral("无"));

        // The drawing shows the relative ellipse of B-C on request, and still renders.
        QVERIFY(!window.svg().contains(QStringLiteral("relative-ellipse")));
        auto* relative = window.findChild<QCheckBox*>(QStringLiteral("relativeEllipses"));
        QVERIFY(relative);
        relative->setChecked(true);
        QVERIFY(window.svg().contains(QStringLiteral("id=\"relative-BC\"")));
        QVERIFY(window.drawing()->renderer()->isValid());
        relative->setChecked(false);
        QVERIFY(!window.svg().contains(QStringLiteral("relative-ellipse")));
    }
};

QTEST_MAIN(PrecisionSummaryTest)
#include "precision_summary_test.moc"
