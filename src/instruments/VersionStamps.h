#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

class Connection;

// Version stamps (DANSPR) for rows of DPATVP_SFVP. The current row of an ISIN is the one with
// the greatest stamp, so no two rows of one ISIN may share one: each new stamp of an ISIN is the
// later of now and the ISIN's latest stamp plus one second. Nothing waits for the clock.
class VersionStamps {
public:
    explicit VersionStamps(Connection& connection);

    // The stamp for the next write of a row of the ISIN (taken as written, as the rows keep it).
    QDateTime next(const QString& isin);

private:
    QDateTime latestStored(const QString& isin);

    Connection& connection_;
    QHash<QString, QDateTime> latest_;
};
