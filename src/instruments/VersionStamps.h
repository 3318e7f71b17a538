#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

class Connection;

// Version stamps (DANSPR) for rows of DPATVP_SFVP. The current row of an ISIN is the one with
// the greatest stamp, so no two rows of one ISIN may share one: each new stamp of an ISIN is the
// later of now and the ISIN's latest stamp plus one second. Nothing waits for the clock.
class VersionStamps {
public:
    explicit VersionStamps(Connection& connection);

    // The stamp for the next write of a row of the ISIN (taken as written, as the rows keep it).
    QDateTime next(const QString& isin);
    // Reads the latest stored stamps of the ISINs not yet known here, a few hundred ISINs in a
    // statement, so that next() asks the database no more for them. For a run of writes that
    // touches many ISINs; the stamps are those next() would have read one by one.
    void readLatest(const QStringList& isins);

private:
    QDateTime latestStored(const QString& isin);

    Connection& connection_;
    QHash<QString, QDateTime> latest_;
};
