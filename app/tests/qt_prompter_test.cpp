// SPDX-License-Identifier: GPL-3.0-or-later
// The real input box, shown headless and answered key by key.

#include "app/qt_prompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QPushButton>
#include <QTest>

#include "app/qt_translations.h"
#include "core/korvanet_error.h"
#include "core/prompter.h"
#include "testing/dialog_answerer.h"
#include "testing/stop_button.h"

using korvanet::PromptKind;
using korvanet::QtPrompter;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

namespace {

const std::string kValuePrompt = "输入已知点 A 的纵座标 :";
// The longest kind of prompt the Compute command shows: two sentences.
const std::string kConfirmationPrompt =
    "确认输入的已知点 A 的纵座标是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  "
    "输入错误输入零 ( 即:0 )";

// Asks once through a real box answered by `reply`; returns the answer.
std::string AskOnce(const std::string& message, const std::string& title, Reply reply,
                    std::vector<korvanet::testing::SeenDialog>* seen = nullptr) {
    DialogAnswerer answerer([reply](const QString&, const QString&) { return reply; });
    QtPrompter prompter(nullptr);
    std::string answer = prompter.Ask(message, title, korvanet::PromptKind::Value);
    if (seen) *seen = answerer.seen();
    return answer;
}

}  // namespace

class QtPrompterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // A name unlike the default title proves the box sets its title itself.
        QApplication::setApplicationName(QStringLiteral("some-other-name"));
        // As the program does: Qt's own buttons in Chinese.
        QVERIFY(korvanet::InstallQtChineseTranslations(*qApp));
    }

    // Every button of the box speaks the program's language; Enter still
    // means OK and never stops the run.
    void buttonsAreChinese() {
        QStringList captions;
        QString defaultCaption;
        DialogAnswerer answerer([&](const QString&, const QString&) {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                for (QAbstractButton* button : box->findChild<QDialogButtonBox*>()->buttons()) {
                    captions << button->text().remove(QLatin1Char('&'));
                    auto* push = qobject_cast<QPushButton*>(button);
                    if (push != nullptr && push->isDefault()) defaultCaption = captions.back();
                }
            }
            return Reply{QStringLiteral("12.5"), Finish::Enter};
        });
        QtPrompter prompter(nullptr);
        QCOMPARE(prompter.Ask(kValuePrompt, "", PromptKind::Value), std::string("12.5"));
        captions.sort();
        QCOMPARE(captions,
                 (QStringList{QStringLiteral("中止计算"), QStringLiteral("取消"), QStringLiteral("确定")}));
        QCOMPARE(defaultCaption, QStringLiteral("确定"));
    }

    // "中止计算" ends the whole run: no answer comes back and none is kept.
    void stopEndsTheRun() {
        bool pressed = false;
        DialogAnswerer answerer([&](const QString&, const QString& message) {
            if (message == QString::fromStdString(kValuePrompt))
                return Reply{QStringLiteral("7"), Finish::Enter};
            pressed = korvanet::testing::PressStop();
            return korvanet::testing::StoppedReply();
        });
        QtPrompter prompter(nullptr);
        QCOMPARE(prompter.Ask(kValuePrompt, "", PromptKind::Value), std::string("7"));
        QVERIFY_THROWS_EXCEPTION(korvanet::RunStopped,
                                 prompter.Ask(kConfirmationPrompt, "", PromptKind::Confirmation));
        QVERIFY(pressed);
        QVERIFY_THROWS_EXCEPTION(korvanet::RunStopped,
                                 prompter.Ask("输入已知点 A 的横座标 :", "", PromptKind::Value));
        QCOMPARE(prompter.Answers(), std::vector<std::string>{"7"});
    }

    // Run again: each value's field holds the earlier answer, selected, so
    // Enter keeps it and typing replaces it; a confirmation starts empty, and
    // a correction offers the value's earlier answer again.
    void earlierAnswersAreOfferedSelected() {
        const QStringList typed = {QString(), QString(), QStringLiteral("2"), QString(), QStringLiteral("9")};
        qsizetype next = 0;
        DialogAnswerer answerer([&](const QString&, const QString&) {
            return Reply{typed[next++], Finish::Enter};
        });
        QtPrompter prompter(nullptr, {"4324901.631", "469649.741"});
        QCOMPARE(prompter.Ask("x", "", PromptKind::Value), std::string("4324901.631"));
        QCOMPARE(prompter.Ask("确认 x", "", PromptKind::Confirmation), std::string());
        QCOMPARE(prompter.Ask("y", "", PromptKind::Value), std::string("2"));
        QCOMPARE(prompter.Ask("正确的 y", "", PromptKind::Correction), std::string("469649.741"));
        QCOMPARE(prompter.Ask("z", "", PromptKind::Value), std::string("9"));
        const auto& seen = answerer.seen();
        QCOMPARE(seen.size(), std::size_t(5));
        QCOMPARE(seen[0].initialText, QStringLiteral("4324901.631"));
        QCOMPARE(seen[1].initialText, QString());
        QCOMPARE(seen[2].initialText, QStringLiteral("469649.741"));
        QCOMPARE(seen[3].initialText, QStringLiteral("469649.741"));
        QCOMPARE(seen[4].initialText, QString());  // nothing earlier for a third value
        QCOMPARE(prompter.Answers(), (std::vector<std::string>{"4324901.631", "469649.741", "9"}));
    }

    void finishing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("finish");
        QTest::addColumn<QString>("answer");
        QTest::newRow("Enter is OK") << "4324901.631" << int(Finish::Enter) << "4324901.631";
        QTest::newRow("Enter on the empty field") << "" << int(Finish::Enter) << "";
        QTest::newRow("OK button") << "39.07391" << int(Finish::OkButton) << "39.07391";
        QTest::newRow("Chinese name") << "白塔" << int(Finish::Enter) << "白塔";
        QTest::newRow("blanks kept") << " 0 " << int(Finish::Enter) << " 0 ";
        QTest::newRow("Cancel drops the typed text") << "999" << int(Finish::CancelButton) << "";
        QTest::newRow("Escape drops the typed text") << "12.5" << int(Finish::Escape) << "";
    }
    void finishing() {
        QFETCH(QString, typed);
        QFETCH(int, finish);
        QFETCH(QString, answer);
        std::vector<korvanet::testing::SeenDialog> seen;
        const std::string got = AskOnce(kValuePrompt, "", Reply{typed, Finish(finish)}, &seen);
        QCOMPARE(QString::fromStdString(got), answer);
        QCOMPARE(seen.size(), std::size_t(1));
        QVERIFY(seen[0].isInput);
        QVERIFY(seen[0].modal);
        QCOMPARE(seen[0].initialText, QString());
        QCOMPARE(seen[0].message, QString::fromStdString(kValuePrompt));
    }

    void titles() {
        std::vector<korvanet::testing::SeenDialog> seen;
        AskOnce(kValuePrompt, "", Reply{}, &seen);
        QCOMPARE(seen.at(0).title, QStringLiteral("Korvanet"));
        AskOnce("输入规范测角限差 : ( 以秒为单位 )", "规范限差", Reply{}, &seen);
        QCOMPARE(seen.at(0).title, QStringLiteral("规范限差"));
    }

    // Each prompt starts with an empty field, whatever the one before it got.
    void everyBoxStartsEmpty() {
        int asked = 0;
        DialogAnswerer answerer([&asked](const QString&, const QString&) {
            return Reply{QStringLiteral("answer %1").arg(++asked), Finish::Enter};
        });
        QtPrompter prompter(nullptr);
        QCOMPARE(prompter.Ask(kValuePrompt, "", korvanet::PromptKind::Value), std::string("answer 1"));
        QCOMPARE(prompter.Ask(kValuePrompt, "", korvanet::PromptKind::Value), std::string("answer 2"));
        QCOMPARE(answerer.seen().size(), std::size_t(2));
        QCOMPARE(answerer.seen()[1].initialText, QString());
    }

    // The two-sentence confirmation wraps into a box of ordinary width and
    // every character of it stays visible.
    void longPromptIsReadable() {
        std::vector<korvanet::testing::SeenDialog> seen;
        AskOnce(kConfirmationPrompt, "", Reply{}, &seen);
        const auto& box = seen.at(0);
        QCOMPARE(box.message, QString::fromStdString(kConfirmationPrompt));
        QVERIFY(box.messageWraps);
        QVERIFY2(box.messageFits, "the wrapped message is cut off");
        QVERIFY(box.messageWidth >= korvanet::kPromptMessageMinimumWidth);
        QVERIFY2(box.dialogSize.width() <= 520,
                 qPrintable(QStringLiteral("box %1 px wide").arg(box.dialogSize.width())));
    }

    // A message is shown as written, never read as markup.
    void messageIsPlainText() {
        std::vector<korvanet::testing::SeenDialog> seen;
        AskOnce("<b>x</b> &lt;", "", Reply{}, &seen);
        QVERIFY(seen.at(0).messageIsPlain);
        QCOMPARE(seen.at(0).message, QStringLiteral("<b>x</b> &lt;"));
    }
};

QTEST_MAIN(QtPrompterTest)
#include "qt_prompter_test.moc"
