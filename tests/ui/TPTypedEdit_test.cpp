#include "ui/DateTextParser.h"
#include "ui/TPTypedEdit.h"
#include "ui/TypedEditButtons.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Answers the next modal picker from a timer, so that a test never waits on it: the handler sees
// the dialog and says whether to accept it. Returns the picker's object name through *seen.
void answerPicker(QString* seen, std::function<bool(QDialog&)> handler)
{
    QTimer::singleShot(0, [seen, handler] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *seen = dialog->objectName();
        if (handler(*dialog))
            dialog->accept();
        else
            dialog->reject();
    });
}

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

TEST_F(TPTypedEditTest, UntouchedEditCommitsNothingAndEnterOpensThePicker)
{
    edit_.setAsDate(QDate(2020, 6, 1));
    resetCounts();
    QString picker;
    answerPicker(&picker, [](QDialog&) { return false; });
    press(Qt::Key_Return);
    EXPECT_EQ(picker, QStringLiteral("pickCalendar"));
    leave();
    EXPECT_EQ(changed, 0) << "a cancelled picker changes nothing";
    EXPECT_EQ(exited, 1);
    EXPECT_EQ(edit_.asDate(), QDate(2020, 6, 1));

    answerPicker(&picker, [](QDialog& dialog) {
        dialog.findChild<QCalendarWidget*>()->setSelectedDate(QDate(2026, 12, 8));
        return true;
    });
    press(Qt::Key_Return);
    EXPECT_EQ(edit_.asDate(), QDate(2026, 12, 8));
    EXPECT_EQ(edit_.text(), QStringLiteral("08.12.2026"));
    EXPECT_EQ(changed, 1);
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
    EXPECT_EQ(failures.at(0), QStringLiteral("'31.02.2014' ni veljaven datum"));
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

TEST_F(TPTypedEditTest, TextIsRedWhileItDiffersFromTheShownValue)
{
    edit_.setAsDate(QDate(2020, 6, 1));
    const QColor normal = edit_.palette().color(QPalette::Text);
    int touches = 0;
    QObject::connect(&edit_, &TPTypedEdit::touched, [&touches] { ++touches; });
    type(QStringLiteral("08062026"));
    EXPECT_EQ(edit_.palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(touches, 1) << "touched once per shown value";
    press(Qt::Key_Return);
    EXPECT_EQ(edit_.palette().color(QPalette::Text), normal);
}

// Edits of every type: what typing gives and how the value is shown again.
TEST(TPTypedEditTypes, CommitAndShowByTypeAndDisplayFormat)
{
    using T = TPTypedEdit::DataType;
    const struct {
        const char* how;
        T type;
        QString format;
        QString typed;
        QVariant value;      // invalid: NULL
        QString shown;
        QString failure;     // the message when the text is refused
    } cases[] = {
        {"float with thousands", T::Float, QStringLiteral(",0.00"), QStringLiteral("1.234,50"), 1234.5,
         QStringLiteral("1.234,50"), {}},
        {"float with letters", T::Float, QStringLiteral(",0.00"), QStringLiteral("12a"), {}, QStringLiteral("12a"),
         QStringLiteral("'12a' ni veljavno število")},
        {"float empty", T::Float, QStringLiteral(",0.00"), QStringLiteral(" "), {}, QString(), {}},
        {"integer", T::Integer, QStringLiteral("0"), QStringLiteral("42"), qint64(42), QStringLiteral("42"), {}},
        {"integer refused", T::Integer, QStringLiteral("0"), QStringLiteral("4,2"), {}, QStringLiteral("4,2"),
         QStringLiteral("'4,2' ni veljavno celo število")},
        {"impossible date by display format", T::Date, QStringLiteral("dd.mm.yyyy"), QStringLiteral("31022014"),
         QDate(1899, 12, 30), QStringLiteral("30.12.1899"), {}},
        {"date by display format", T::Date, QStringLiteral("dd.mm.yyyy"), QStringLiteral("29022024"),
         QDate(2024, 2, 29), QStringLiteral("29.02.2024"), {}},
        {"date mask left empty", T::Date, QStringLiteral("dd.mm.yyyy"), QStringLiteral(" "), {}, QStringLiteral(".."), {}},
        {"time", T::Time, {}, QStringLiteral("154510"), QTime(15, 45, 10), QStringLiteral("15:45:10"), {}},
        {"impossible time", T::Time, {}, QStringLiteral("256010"), {}, QStringLiteral("25:60:10"),
         QStringLiteral("'25:60:10' ni veljaven čas")},
        {"date-time", T::DateTime, {}, QStringLiteral("081220261530"), QDateTime(QDate(2026, 12, 8), QTime(15, 30)),
         QStringLiteral("08.12.2026 15:30"), {}},
        {"string", T::String, {}, QStringLiteral("abc"), QStringLiteral("abc"), QStringLiteral("abc"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        TPTypedEdit edit(nullptr, c.type);
        edit.setDisplayFormat(c.format);
        QStringList failures;
        QObject::connect(&edit, &TPTypedEdit::conversionFailed, [&failures](const QString& m) { failures << m; });
        edit.selectAll();
        for (const QChar ch : c.typed) {
            QKeyEvent key(QEvent::KeyPress, ch.unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(&edit, &key);
        }
        if (c.typed == QLatin1String(" ")) {
            edit.selectAll();
            QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
            QApplication::sendEvent(&edit, &del);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&edit, &enter);
        EXPECT_EQ(edit.text(), c.shown);
        EXPECT_EQ(failures, c.failure.isEmpty() ? QStringList() : QStringList{c.failure});
        if (!c.failure.isEmpty())
            continue;
        EXPECT_EQ(edit.isNull(), !c.value.isValid());
        switch (c.type) {
        case T::Float: EXPECT_DOUBLE_EQ(edit.asFloat(), c.value.toDouble()); break;
        case T::Integer: EXPECT_EQ(edit.asInteger(), c.value.toLongLong()); break;
        case T::Date:
            EXPECT_EQ(edit.asDateTime(), c.value.isValid() ? QDateTime(c.value.toDate(), QTime(0, 0))
                                                           : DateTextParser::dayZero());
            break;
        case T::Time: EXPECT_EQ(edit.asDateTime().time(), c.value.isValid() ? c.value.toTime() : QTime(0, 0)); break;
        case T::DateTime: EXPECT_EQ(edit.asDateTime(), c.value.toDateTime()); break;
        case T::String: EXPECT_EQ(edit.asString(), c.value.toString()); break;
        }
    }
}

TEST(TPTypedEditTypes, FloatEditShowsSlovenianSeparators)
{
    TPTypedEdit edit(nullptr, TPTypedEdit::DataType::Float);
    edit.setDisplayFormat(QStringLiteral(",0.00"));
    edit.setAsFloat(1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1.234,50"));
    edit.setAsFloat(-0.5);
    EXPECT_EQ(edit.text(), QStringLiteral("-0,50"));
    edit.clearValue();
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(edit.asFloat(), 0.0);
}

TEST(TPTypedEditTypes, ParsingByDisplayFormat)
{
    const int century = QDate::currentDate().year() / 100 * 100;
    const struct {
        const char* format;
        const char* text;
        QDateTime value;
    } cases[] = {
        {"dd.mm.yyyy", "08.12.2026", QDateTime(QDate(2026, 12, 8), QTime(0, 0))},
        {"dd.mm.yyyy", "31.02.2014", DateTextParser::dayZero()},
        {"dd.mm.yyyy", "ab.12.2026", DateTextParser::dayZero()},
        {"dd.mm.yy", "08.12.49", QDateTime(QDate(century + 49, 12, 8), QTime(0, 0))},
        {"dd.mm.yy", "08.12.50", QDateTime(QDate(century - 50, 12, 8), QTime(0, 0))},
        {"yyyymmdd", "20261208", QDateTime(QDate(2026, 12, 8), QTime(0, 0))},
        {"dd mmm yyyy", "08 dec 2026", QDateTime(QDate(2026, 12, 8), QTime(0, 0))},
        {"dd.mm.yyyy hh:nn:ss", "08.12.2026 15:45:10", QDateTime(QDate(2026, 12, 8), QTime(15, 45, 10))},
        {"hh:nn ampm", "03:45 PM", QDateTime(QDate(1, 1, 1), QTime(15, 45))},
        {"mm.yyyy", "12.2026", QDateTime(QDate(2026, 12, 1), QTime(0, 0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.text);
        EXPECT_EQ(DateTextParser::parse(QLatin1String(c.format), QString::fromUtf8(c.text)), c.value);
    }
}

TEST(TPTypedEditTypes, SideButtonsFollowTheFocusedEdit)
{
    QWidget window;
    auto* date = new TPTypedEdit(&window);
    auto* number = new TPTypedEdit(&window, TPTypedEdit::DataType::Float);
    date->setGeometry(10, 10, 100, 22);
    number->setGeometry(10, 50, 100, 22);
    window.show();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(date, &in);
    QToolButton* picker = TypedEditButtons::pickerButton();
    QToolButton* clear = TypedEditButtons::clearButton();
    ASSERT_TRUE(picker && clear);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->geometry(), QRect(110, 10, 22, 22));
    EXPECT_EQ(clear->geometry(), QRect(132, 10, 22, 22));
    clear->click();
    EXPECT_TRUE(date->isNull());

    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(date, &out);
    EXPECT_FALSE(picker->isVisible());
    QApplication::sendEvent(number, &in);
    EXPECT_EQ(picker->geometry().top(), 50);
    QString seen;
    answerPicker(&seen, [](QDialog&) { return false; });
    picker->click();
    EXPECT_EQ(seen, QStringLiteral("pickCalculator"));
}

TEST(TPTypedEditTypes, DroppedValueOfAnEditOfTheSameType)
{
    TPTypedEdit from;
    from.setAsDate(QDate(2026, 12, 8));
    TPTypedEdit to;
    to.setAsDate(QDate(2020, 1, 1));
    TPTypedEdit number(nullptr, TPTypedEdit::DataType::Float);
    number.setAsFloat(7);
    int changed = 0;
    QObject::connect(&to, &TPTypedEdit::changed, [&changed] { ++changed; });

    const auto drop = [&from](TPTypedEdit& target) {
        std::unique_ptr<QMimeData> mime(from.valueMimeData());
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    };
    EXPECT_TRUE(drop(to));
    EXPECT_EQ(to.asDate(), QDate(2026, 12, 8));
    EXPECT_EQ(to.text(), QStringLiteral("08.12.2026"));
    EXPECT_EQ(changed, 1);

    EXPECT_FALSE(drop(number)) << "another type refuses the value";
    EXPECT_EQ(number.asFloat(), 7.0);
}

}  // namespace
