#include "ui/QtInteraction.h"

#include "core/CancellableAction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
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

namespace {

// A click of the left mouse button in the middle of a widget, and a press of its space key, as
// the application delivers them (through its event filters).
void click(QWidget* widget)
{
    const QPointF middle = QRectF(widget->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, middle, widget->mapToGlobal(middle), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

void pressSpace(QWidget* widget)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(widget, &event);
    }
}

}  // namespace

// While an action can be cancelled, the cancel button beside the bar is enabled and takes the
// user's input alone: a click or a key on the rest of the window does nothing. Before and after,
// the button is disabled and the window as usable as ever.
TEST(QtInteraction, TheCancelButtonIsOfferedOnlyWhileTheActionCanStopAndTakesTheOnlyInput)
{
    QMainWindow window;
    auto* other = new QPushButton(QStringLiteral("Nabor"), &window);
    window.setCentralWidget(other);
    int otherClicks = 0;
    QObject::connect(other, &QPushButton::clicked, [&otherClicks] { ++otherClicks; });
    window.show();
    QtInteraction ui;

    ui.progress(QStringLiteral("Nabor: nove transakcije"), 1, 8);
    auto* cancel = window.statusBar()->findChild<QPushButton*>(QStringLiteral("bbPrekini"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_FALSE(cancel->isEnabled());
    {
        const CancellableAction action(ui, QStringLiteral("Generiranje XML poročila je prekinjeno!"));
        ui.progress(QStringLiteral("XML poročilo: transakcije"), 1, 100);
        EXPECT_TRUE(cancel->isEnabled());
        click(other);
        pressSpace(other);
        EXPECT_EQ(otherClicks, 0);
        EXPECT_FALSE(ui.cancelRequested());
        click(cancel);
        EXPECT_TRUE(ui.cancelRequested());
        EXPECT_THROW(CancellableAction::checkpoint(ui), ActionCancelled);
    }
    EXPECT_FALSE(cancel->isEnabled());
    ui.progressEnd();
    EXPECT_FALSE(cancel->isVisible());
    click(other);
    pressSpace(other);
    EXPECT_EQ(otherClicks, 2);

    // A new cancellable action forgets the click of the last one.
    const CancellableAction next(ui, QStringLiteral("Preverjanje nabora je prekinjeno!"));
    EXPECT_FALSE(ui.cancelRequested());
}
