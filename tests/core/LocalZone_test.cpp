#include "core/LocalZone.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <ctime>

namespace {

// Restores TZ as it was when the test started.
class SavedZone {
public:
    SavedZone() : set_(qEnvironmentVariableIsSet("TZ")), value_(qgetenv("TZ")) {}
    ~SavedZone()
    {
        if (set_)
            qputenv("TZ", value_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool set_;
    QByteArray value_;
};

TEST(LocalZone, UnsetZoneBecomesTheSystemZoneFileAndTheSameZoneForQt)
{
    SavedZone saved;
    qunsetenv("TZ");
    tzset();
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    const QDateTime summer(QDate(2026, 7, 1), QTime(12, 0));
    const QDateTime winter(QDate(2026, 1, 1), QTime(12, 0));
    const qint64 summerOffset = summer.offsetFromUtc();
    const qint64 winterOffset = winter.offsetFromUtc();

    readLocalZoneOnce();
    EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    EXPECT_EQ(QTimeZone::systemTimeZoneId(), zone);
    EXPECT_EQ(QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc(), summerOffset);
    EXPECT_EQ(QDateTime(QDate(2026, 1, 1), QTime(12, 0)).offsetFromUtc(), winterOffset);
}

TEST(LocalZone, ZoneSetByTheUserIsKept)
{
    SavedZone saved;
    qputenv("TZ", QByteArrayLiteral("Europe/Ljubljana"));
    tzset();
    readLocalZoneOnce();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("Europe/Ljubljana"));
    EXPECT_EQ(QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc(), 7200);
}

}  // namespace
