#pragma once

#include <QList>
#include <QtGlobal>

class Connection;

// What the selected rows (DPATVPPSL) of some sets are: their number and the sums of their trade
// and reference numbers. Read when the report rows of a selection are opened and again before
// their report is written: a selection made meanwhile (on another desk, or by ztfi-cli) replaces
// the pending set, often under the same identifier and with new reference numbers, and the rows
// read before no longer describe it.
struct SelectedSetStamp {
    qint64 rows = 0;
    qint64 trades = 0;
    qint64 references = 0;

    bool operator==(const SelectedSetStamp&) const = default;

    static SelectedSetStamp read(Connection& connection, const QList<qint64>& sets);
};
