#pragma once

#include "data/Identifiers.h"
#include "data/RegisteredDigests.h"
#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Report sets of one reporting day, 2.3.2026, on a fixture database, and the application running
// on it. Reference numbers of the fixture rows stay below 100, where the sequence continues.
namespace registerfixture {

inline const QDate kDay(2026, 3, 2);
inline const QDateTime kSent(QDate(2026, 3, 3), QTime(9, 15));

class RegisterTest : public testing::Test {
protected:
    explicit RegisterTest(Connection::Engine engine = Connection::Engine::Sqlite) : db(engine), fixture(db)
    {
        db.basics();
        db.setSequence(QStringLiteral("DPATVPPSL_SEQ"), 100);
    }

    // ZTFI.ini with the given lines, read; statements prepared.
    ZtfiApp& start(const QString& iniLines = QString())
    {
        fixture.writeIni(iniLines);
        return fixture.started();
    }

    // A reportable instrument with the ISIN SI00000000<id><id>, listed on market 8.
    void instrument(int id)
    {
        fixture::Instrument row;
        row.id = id;
        row.isin = QStringLiteral("SI00000000%1%1").arg(id);
        row.shortName = QStringLiteral("KRT%1").arg(id);
        row.name = QStringLiteral("Instrument %1").arg(id);
        db.instrument(row).listing({.id = id, .instrument = id});
    }

    // A trade of the instrument on the day, taken into the report set with the reference.
    void reported(qint64 report, qint64 trade, int instrumentId, qint64 reference,
                  const QDate& day = kDay)
    {
        db.trade({.id = trade, .day = day, .instrument = instrumentId});
        db.selected({.report = report, .trade = trade, .reference = reference});
    }

    // An imported transaction of the day of instrument 3 (ISIN SI0000000033); report empty
    // while no selection took it.
    void imported(qint64 id, const QDate& day, std::optional<qint64> report)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, ISIN, INTINDINSTR, REFSTTRANSA, "
                               "DPATVPID, INDNAKPRO, TRGZMO, CENA, ZAPCENE, VAL, KOL, CASPAS) VALUES (%1, "
                               "TO_DATE('%2','dd.mm.yyyy'), TO_DATE('%2 11:00:00','dd.mm.yyyy hh24:mi:ss'), "
                               "'SI0000000033', 3, %1, %3, 'B', 'A', 10, 'C', 'EUR', 5, '+01')")
                    .arg(id)
                    .arg(day.toString(QStringLiteral("dd.MM.yyyy")))
                    .arg(report ? QString::number(*report) : QStringLiteral("NULL")));
    }

    // The register row that the generation writes for the open report set, in regeneration mode
    // with the prepared serial and the increased status; the report file is written too.
    void generate(ZtfiApp& app, qint64 reportId, const QDate& firstDay, const QDate& lastDay)
    {
        const RegenerationState& regen = app.regeneration;
        const int serial = regen.active ? regen.previousSerial
                                        : Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, kSent.date());
        const int status = regen.active ? regen.previousStatus + 1 : 0;
        const QString file = fileName(serial);
        QFile report(QDir(db.folder()).filePath(file));
        ASSERT_TRUE(report.open(QIODevice::WriteOnly));
        report.write("<NTRSRoot/>");
        db.report({.id = reportId, .serial = serial, .reportDay = lastDay, .file = file, .status = status,
                   .firstDay = firstDay});
        RegisteredDigests::record(db.connection(), reportId, serial, QStringLiteral("digest of ") + file);
        app.regeneration = RegenerationState();
    }

    static QString fileName(int serial)
    {
        return QStringLiteral("TRDAT01_1234567000_%1_26.xml").arg(serial, 4, 10, QLatin1Char('0'));
    }

    bool fileExists(const QString& name) const { return QFile::exists(QDir(db.folder()).filePath(name)); }

    // Signing and delivery: the send date of a register row.
    void send(qint64 reportId, int serial, const QDateTime& at = kSent)
    {
        db.exec(QStringLiteral("UPDATE DPATVP SET DAN=TO_DATE('%1','dd.mm.yyyy hh24:mi:ss') "
                               "WHERE DPATVPID=%2 AND ZAPST=%3")
                    .arg(at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")))
                    .arg(reportId)
                    .arg(serial));
    }

    QStringList texts(const QString& sql) { return db.texts(sql); }

    // The audit rows written since the mark: kind and table, in order.
    QStringList auditSince(qint64 mark)
    {
        return texts(QStringLiteral("SELECT SfAct || Tbl FROM ACT WHERE IdAct > %1 ORDER BY IdAct").arg(mark));
    }
    qint64 auditMark() { return db.value(QStringLiteral("SELECT NVL(max(IdAct), 0) FROM ACT")).toLongLong(); }

    FixtureDb db;
    FixtureApp fixture;
};

}  // namespace registerfixture
