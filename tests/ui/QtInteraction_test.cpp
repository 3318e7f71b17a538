#include "ui/QtInteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The captions of the buttons of the next message box, which is then answered with the button
// captioned `answer`.
void answerMessageBox(QStringList* captions, const QString& answer)
{
    QTimer::singleShot(0, [captions, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAbstractButton* chosen = nullptr;
        const QList<QAbstractButton*> buttons = box->buttons();
        for (QAbstractButton* button : buttons) {
            const QString caption = button->text().remove(u'&');
            *captions << caption;
            if (caption == answer)
                chosen = button;
        }
        captions->sort();
        if (chosen)
            chosen->click();
        else
            box->reject();
    });
}

TEST(QtInteraction, QuestionsAnswerInSlovenian)
{
    QtInteraction ui;
    QStringList captions;
    answerMessageBox(&captions, QStringLiteral("Ne"));
    EXPECT_FALSE(ui.confirmYesNo(QStringLiteral("Ali želite brisati?")));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Da"), QStringLiteral("Ne")}));

    captions.clear();
    answerMessageBox(&captions, QStringLiteral("V redu"));
    EXPECT_TRUE(ui.confirmOkCancel(QStringLiteral("Nadaljujem?")));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Prekliči"), QStringLiteral("V redu")}));

    captions.clear();
    answerMessageBox(&captions, QStringLiteral("Prezri"));
    EXPECT_EQ(ui.askAbortIgnore(QStringLiteral("Napaka")), Interaction::AbortIgnore::Ignore);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Prekini"), QStringLiteral("Prezri")}));

    // Qt's own catalogue: the print dialog's refusal of a file it cannot write.
    const QString refusal = QCoreApplication::translate("QPrintDialog", "File %1 is not writable.\nPlease choose a different file name.");
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("V datoteko %1 ni moč pisati."))) << refusal.toStdString();
    // and what it lacks besides the buttons.
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Write PDF file"), QStringLiteral("Zapis v datoteko PDF"));
}

TEST(QtInteraction, FileFiltersTakeQtForm)
{
    const struct {
        QString system;
        QString qt;
    } cases[] = {
        {QStringLiteral("Excel files (*.xls)|*.xls"), QStringLiteral("Excel files (*.xls)")},
        {QStringLiteral("XML|*.xml"), QStringLiteral("XML (*.xml)")},
        {QStringLiteral("Excel files (*.xls)|*.xls|Vse datoteke|*.*"),
         QStringLiteral("Excel files (*.xls);;Vse datoteke (*.*)")},
        {QStringLiteral("Poročila|*.xml;*.bad"), QStringLiteral("Poročila (*.xml *.bad)")},
        {QStringLiteral("Excel files (*.xls *.xlsx)|*.xls;*.xlsx"), QStringLiteral("Excel files (*.xls *.xlsx)")},
        {QStringLiteral("Excel files (*.xls)"), QStringLiteral("Excel files (*.xls)")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtInteraction::qtFileFilter(c.system), c.qt) << c.system.toStdString();
}

// The save dialog's default suffix follows the filter chosen.
TEST(QtInteraction, TheSuffixOfAFilterIsThatOfItsFirstMask)
{
    EXPECT_EQ(QtInteraction::suffixOfFilter(QStringLiteral("Excel 2007 file (*.xlsx)")), QStringLiteral("xlsx"));
    EXPECT_EQ(QtInteraction::suffixOfFilter(QStringLiteral("Excel file (*.xls)")), QStringLiteral("xls"));
    EXPECT_EQ(QtInteraction::suffixOfFilter(QStringLiteral("Vse datoteke (*.*)")), QString());
}

TEST(QtInteraction, PauseKeepsProcessingEvents)
{
    bool timerRan = false;
    QTimer::singleShot(10, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();

    QtInteraction().pause(100);

    EXPECT_TRUE(timerRan);
    EXPECT_GE(clock.elapsed(), 95);
}

}  // namespace

TEST(QtInteraction, ProgressShowsTheStepAndABarInTheMainWindowsStatusBarUntilTheEnd)
{
    QMainWindow window;
    window.show();
    QtInteraction ui;

    ui.progress(QStringLiteral("XML poročilo: transakcije"), 250, 1000);

    auto* bar = window.statusBar()->findChild<QProgressBar*>(QStringLiteral("pbNapredek"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(bar->value(), 250);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("XML poročilo: transakcije"));

    // A step without known rows: a busy bar.
    ui.progress(QStringLiteral("XML poročilo: preverjanje po XSD shemi"), 0, 0);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("XML poročilo: preverjanje po XSD shemi"));

    ui.progressEnd();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
}
