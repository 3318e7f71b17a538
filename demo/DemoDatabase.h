#pragma once

#include <QDate>
#include <QList>
#include <QString>

class Connection;

// The demo back-office database: a small brokerage house with its markets, instruments,
// clients and five trading days of trades, of which the first three were reported already
// (their reports sent, their instrument overrides written). The demo day holds a row of every
// kind the daily report meets: own-account and client trades on domestic, fixed-zone, foreign
// and OTC markets, bonds quoted in per cent, an option and a future without ISIN, internal
// matches with their counter trades, a remote member's trade, a cancellation of a reported
// trade and a corrected trade with its replacement, an ISIN carried by two live instruments
// (the selection stops for a choice) and one whose instrument replaced a matured one.
class DemoDatabase {
public:
    // The firm (person 2).
    static QString firmRegistration();  // MTS
    static QString firmSwift();
    // The ISIN carried by two live host instruments, and those instruments.
    static QString choiceIsin();
    static QList<int> choiceInstruments();
    // The ISIN whose instrument replaced a matured one.
    static QString successorIsin();

    // The trading days in order; the reported ones come first.
    static QList<QDate> tradingDays();
    static QList<QDate> reportedDays();
    // The day the demo runs the daily job for.
    static QDate demoDay();

    // Creates the database file (schema from schema/sqlite, compiled in) and fills it. The file
    // must not exist. auditUser stamps the override rows of the reported days.
    static void create(const QString& file, const QString& auditUser);

    // Fills an open database whose tables exist and are empty.
    static void fill(Connection& connection, const QString& auditUser);
};
