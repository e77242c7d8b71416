// SPDX-License-Identifier: GPL-3.0-or-later
// A whole Compute run through the real window: the button is clicked, every
// real input box is answered key by key the way the surveyor would, and the
// boxes end up showing what the reference job says.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "core/form_boxes.h"
#include "testing/dialog_answerer.h"

using korvanet::MainWindow;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

namespace {

QStringList ReadLines(const QString& name) {
    const QString dir = QString::fromUtf8(KORVANET_REFERENCE_DIR);
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

// Value prompts get the job's answers in order; every confirmation is
// answered by Enter on the empty field.
class JobScript {
public:
    explicit JobScript(QStringList answers) : answers_(std::move(answers)) {}
    Reply operator()(const QString&, const QString& message) {
        if (message.startsWith(QStringLiteral("确认"))) return Reply{QString(), Finish::Enter};
        if (next_ >= answers_.size()) {
            exhausted_ = true;
            return Reply{QString(), Finish::Escape};
        }
        return Reply{answers_[next_++], Finish::Enter};
    }
    bool exhausted() const { return exhausted_; }
    qsizetype used() const { return next_; }

private:
    QStringList answers_;
    qsizetype next_ = 0;
    bool exhausted_ = false;
};

QString BoxText(const MainWindow& window, const QString& name) {
    auto* box = window.findChild<QLineEdit*>(name);
    return box ? box->text() : QStringLiteral("<no box %1>").arg(name);
}

void ClickCompute(MainWindow& window) {
    auto* compute = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(compute);
    QTest::mouseClick(compute, Qt::LeftButton);
}

// Every box the reference run wrote shows the same text in the window.
void CheckFields(const MainWindow& window, const QStringList& fields) {
    QVERIFY(!fields.isEmpty());
    for (const QString& field : fields) {
        const qsizetype equals = field.indexOf(QLatin1Char('='));
        QVERIFY(equals > 0);
        const QString box = field.left(equals);
        QCOMPARE(BoxText(window, box), field.mid(equals + 1));
    }
}

}  // namespace

class WindowComputeTest : public QObject {
    Q_OBJECT
private slots:
    void knownD() {
        const QStringList job = ReadLines(QStringLiteral("known-d.txt"));
        QVERIFY(!job.isEmpty());
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        JobScript script(job);
        DialogAnswerer answerer(std::ref(script));
        ClickCompute(window);

        QVERIFY(!script.exhausted());
        QCOMPARE(script.used(), job.size());
        QVERIFY2(
            answerer.messageBoxes().empty(),
            qPrintable(answerer.messageBoxes().empty() ? QString() : answerer.messageBoxes()[0].message));
        CheckFields(window, ReadLines(QStringLiteral("known-d.fields")));

        // Every prompt appeared with the title and message the dialogue of
        // the reference run records, each box empty and modal.
        QStringList asked;
        for (const QString& line : ReadLines(QStringLiteral("known-d.transcript"))) {
            if (line.startsWith(QStringLiteral("?\t"))) asked << line.mid(2);
        }
        QCOMPARE(qsizetype(answerer.seen().size()), asked.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            const auto& seen = answerer.seen()[i];
            QCOMPARE(seen.title + QLatin1Char('\t') + seen.message, asked[i]);
            QVERIFY(seen.modal);
            QCOMPARE(seen.initialText, QString());
            QVERIFY2(seen.messageFits, qPrintable(seen.message));
        }
    }

    // A typing error is caught the moment its value is confirmed: a warning
    // names the value, the value is asked again through its correction prompt,
    // and the run goes on with everything typed before it; the results are
    // those of the job typed without the errors.
    void typosAreRefusedAtOnceAndCorrected() {
        const QStringList job = ReadLines(QStringLiteral("known-d.txt"));
        QVERIFY(job.size() > 11);
        QStringList typed = job;
        typed[1] = QStringLiteral("43249z1.631");  // x of A, a letter for a digit
        typed[11] = QStringLiteral("51.14779");    // angle 3 with 77 seconds
        const QString correctX = QStringLiteral("输入已知点 A 正确的纵座标 :");
        const QString correctAngle3 = QStringLiteral("输入第 3 个观测角正确的数值 :");

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        JobScript script(typed);
        QStringList shownWhenRefused;
        DialogAnswerer answerer([&](const QString& title, const QString& message) {
            if (message == correctX) {
                shownWhenRefused << BoxText(window, QString::fromLatin1(korvanet::boxes::kXOfA));
                return Reply{job[1], Finish::Enter};
            }
            if (message == correctAngle3) return Reply{job[11], Finish::OkButton};
            return script(title, message);
        });
        ClickCompute(window);

        const auto warnings = answerer.messageBoxes();
        QCOMPARE(warnings.size(), std::size_t(2));
        for (const auto& warning : warnings) {
            QCOMPARE(warning.title, QStringLiteral("Korvanet"));
            QVERIFY(warning.modal);
        }
        QVERIFY2(warnings[0].message.contains(QStringLiteral("已知点 A 的纵座标")),
                 qPrintable(warnings[0].message));
        QVERIFY(warnings[0].message.contains(typed[1]));
        QVERIFY2(warnings[1].message.contains(QStringLiteral("第 3 个观测角")),
                 qPrintable(warnings[1].message));
        QVERIFY(warnings[1].message.contains(QStringLiteral("秒")));
        // The refused value left its box before it was asked again.
        QCOMPARE(shownWhenRefused, QStringList{QString()});
        // Right after each warning: the correction prompt, then "确认这次…".
        const auto& seen = answerer.seen();
        for (std::size_t i = 0; i < seen.size(); ++i) {
            if (seen[i].isInput) continue;
            QVERIFY(i + 2 < seen.size());
            QVERIFY(seen[i + 1].message == correctX || seen[i + 1].message == correctAngle3);
            QVERIFY(seen[i + 2].message.startsWith(QStringLiteral("确认这次")));
        }
        QCOMPARE(script.used(), job.size());
        CheckFields(window, ReadLines(QStringLiteral("known-d.fields")));
        // What the run keeps for Save and Run again is the job as corrected.
        QCOMPARE(qsizetype(window.jobInHand().size()), job.size());
        for (qsizetype i = 0; i < job.size(); ++i) {
            QCOMPARE(QString::fromStdString(window.jobInHand()[std::size_t(i)]), job[i]);
        }
    }
};

QTEST_MAIN(WindowComputeTest)
#include "window_compute_test.moc"
