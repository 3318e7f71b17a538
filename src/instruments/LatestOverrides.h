#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
#include <utility>

class Connection;

// The latest override row (greatest DANSPR) of an ISIN and a host instrument: whether it has a
// change day and the instrument it reports.
struct LatestOverride {
    bool hasChangeDay = false;                  // DANSPR_SFVP is set
    std::optional<qint64> reportingInstrument;  // SFVP_POROCANJE; empty while pending
};

// The latest override rows of many (ISIN, host instrument) pairs, read before a run of writes
// in statements of a few hundred host instruments each, instead of one statement per pair.
// ISINs match without regard to case, as the look-up of one pair matches them. A pair is
// unknown here, and left to that look-up, when its ISIN or an ISIN stored for its instrument
// holds other than ASCII characters (the engines upper-case those in their own ways), or once
// the run has written rows of it (forget).
class LatestOverrides {
public:
    enum class Found { Unknown, None, Row };

    // Reads the rows of the pairs' host instruments.
    void read(Connection& connection, const QList<std::pair<QString, qint64>>& pairs);
    // Unknown, None (the pair has no row) or Row (the latest row, into row).
    Found find(const QString& isin, qint64 sfvp, LatestOverride& row) const;
    // The pair's rows have changed: it is unknown from now on.
    void forget(const QString& isin, qint64 sfvp);

private:
    QHash<QString, LatestOverride> rows_;  // by the upper-cased ISIN and the instrument
    QSet<qint64> read_;                    // host instruments whose rows were read
    QSet<qint64> unsure_;                  // of those, the ones with an ISIN of other characters
    QSet<QString> forgotten_;              // by the upper-cased ISIN and the instrument
};
