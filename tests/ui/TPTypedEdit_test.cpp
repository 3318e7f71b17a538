#include "ui/TPTypedEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

class TPTypedEditTest : public ::testing::Test {
protected:
    TPTypedEditTest()
    {
        QObject::connect(&edit_, &TPTypedEdit::changed, [this] { ++changed; });
        QObject::connect(&edit_, &TPTypedEdit::exited, [this] { ++exited; });
        QObject::connect(&edit_, &TPTypedEdit::conversionFailed,
                         [this](const QString& message) { failures << message; });
    }
    void resetCounts()
    {
        changed = 0;
        exited = 0;
        failures.clear();
    }

    // Types text over the whole content, as the user does after selecting it.
    void type(const QString& text)
    {
        edit_.selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit_, &press);
        }
    }
    void erase()
    {
        edit_.selectAll();
        press(Qt::Key_Delete);
    }
    void press(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&edit_, &event);
    }
    void leave(Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(&edit_, &out);
    }

    TPTypedEdit edit_;
    int changed = 0;
    int exited = 0;
    QStringList failures;
};

TEST_F(TPTypedEditTest, StartsWithToday)
{
    EXPECT_EQ(edit_.asDate(), QDate::currentDate());
    EXPECT_EQ(edit_.text(), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
}

TEST_F(TPTypedEditTest, SetDateShowsItAndDayZeroOrEarlierClears)
{
    const struct {
        QDate date;
        QDate stored;
        QString text;
    } cases[] = {
        {QDate(2026, 1, 5), QDate(2026, 1, 5), QStringLiteral("05.01.2026")},
        {QDate(1899, 12, 31), QDate(1899, 12, 31), QStringLiteral("31.12.1899")},
        {QDate(1899, 12, 30), QDate(), QStringLiteral("..")},
        {QDate(1800, 1, 1), QDate(), QStringLiteral("..")},
        {QDate(), QDate(), QStringLiteral("..")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        edit_.setAsDate(QDate(2020, 6, 1));
        resetCounts();
        edit_.setAsDate(c.date);
        EXPECT_EQ(edit_.asDate(), c.stored);
        EXPECT_EQ(edit_.isNull(), !c.stored.isValid());
        EXPECT_EQ(edit_.text(), c.text);
        EXPECT_EQ(changed, 1);
    }
}

TEST_F(TPTypedEditTest, TypedTextIsCommittedByEnterOrLeaving)
{
    const struct {
        const char* how;
        QString typed;
        QDate stored;
        bool byEnter;
    } cases[] = {
        {"eight digits, Enter", QStringLiteral("08122026"), QDate(2026, 12, 8), true},
        {"eight digits, leaving", QStringLiteral("08122026"), QDate(2026, 12, 8), false},
        {"day and month without leading zero", QStringLiteral("5 1 2026"), QDate(2026, 1, 5), true},
        {"only separators", QString(), QDate(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        edit_.setAsDate(QDate(2020, 6, 1));
        resetCounts();
        if (c.typed.isEmpty())
            erase();
        else
            type(c.typed);
        EXPECT_EQ(changed, 0) << "typing alone does not commit";
        if (c.byEnter)
            press(Qt::Key_Return);
        else
            leave();
        EXPECT_EQ(edit_.asDate(), c.stored);
        EXPECT_EQ(changed, 1);
        EXPECT_EQ(exited, c.byEnter ? 0 : 1);
    }
}

TEST_F(TPTypedEditTest, UntouchedEditCommitsNothing)
{
    press(Qt::Key_Return);
    leave();
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(exited, 1);
}

TEST_F(TPTypedEditTest, InvalidDateKeepsValueAndReportsError)
{
    edit_.setAsDate(QDate(2020, 6, 1));
    resetCounts();

    type(QStringLiteral("31022014"));
    leave();

    EXPECT_EQ(edit_.asDate(), QDate(2020, 6, 1));
    EXPECT_EQ(edit_.text(), QStringLiteral("31.02.2014"));
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(exited, 0);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.at(0), QStringLiteral("'31.02.2014' is not a valid date"));
}

TEST_F(TPTypedEditTest, AnotherWindowTakingFocusDoesNotLeaveTheField)
{
    edit_.setAsDate(QDate(2020, 6, 1));
    type(QStringLiteral("31022014"));

    leave(Qt::ActiveWindowFocusReason);
    leave(Qt::PopupFocusReason);

    EXPECT_EQ(failures.size(), 0);
    EXPECT_EQ(exited, 0);
    EXPECT_EQ(edit_.text(), QStringLiteral("31.02.2014"));
}

TEST_F(TPTypedEditTest, EscapeClearsValue)
{
    type(QStringLiteral("0101"));
    resetCounts();
    press(Qt::Key_Escape);
    EXPECT_TRUE(edit_.isNull());
    EXPECT_FALSE(edit_.asDate().isValid());
    EXPECT_EQ(changed, 1);
}

}  // namespace
