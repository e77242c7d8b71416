// A whole Compute run through the real window: the button is clicked, every
// real input box is answered key by key the way the surveyor would, and the
// boxes end up showing what the reference job says.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialog_answerer.h"
#include "main_window.h"

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

    // A value that is no number stops the run with a message; the window
    // keeps what it shows, and the next run goes through from the start.
    void badAngleStopsTheRunOnly() {
        const QStringList job = ReadLines(QStringLiteral("known-d.txt"));
        QVERIFY(job.size() > 9);
        QStringList bad = job;
        bad[9] =
            QStringLiteral("abc");  // the first observed angle, after the tolerance, 4 coordinates, 4 names

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        {
            JobScript script(bad);
            DialogAnswerer answerer(std::ref(script));
            ClickCompute(window);
            const auto messages = answerer.messageBoxes();
            QCOMPARE(messages.size(), std::size_t(1));
            QCOMPARE(messages[0].title, QStringLiteral("计算中止"));
            QVERIFY(!messages[0].message.isEmpty());
            QVERIFY(messages[0].modal);
            // Nothing more was asked after the bad angle was confirmed.
            QCOMPARE(script.used(), qsizetype(10));
            QVERIFY(answerer.seen().back().title == QStringLiteral("计算中止"));
        }
        QVERIFY(window.isVisible());
        QCOMPARE(BoxText(window, QStringLiteral("Text1")), QStringLiteral(" 4324901.631"));
        QCOMPARE(BoxText(window, QStringLiteral("Text40")), QStringLiteral(" 白塔"));
        QCOMPARE(BoxText(window, QStringLiteral("Text9(0)")), QStringLiteral(" abc"));

        JobScript script(job);
        DialogAnswerer answerer(std::ref(script));
        ClickCompute(window);
        QVERIFY(answerer.messageBoxes().empty());
        CheckFields(window, ReadLines(QStringLiteral("known-d.fields")));
    }
};

QTEST_MAIN(WindowComputeTest)
#include "window_compute_test.moc"
