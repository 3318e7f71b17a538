#include "ui/QtInteraction.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

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
