#pragma once

#include "data/engine/Connection.h"
#include "support/FixtureDb.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// EMIR reports and disputes written straight into a fixture database.
namespace emirfixture {

struct Report {
    qint64 id = 1;
    int serial = 1;
    QDate firstDay = QDate(2024, 5, 1);
    QDate lastDay = QDate(2024, 5, 31);
    int unconfirmed = 0;
    QDate reportDay = QDate(2024, 6, 5);
    QString cancelled = QStringLiteral("N");
    qint64 cancels = 0;  // EMIRPorociloStnId, 0 for none
};

struct Dispute {
    qint64 id = 1;
    qint64 report = 1;
    QString party = QStringLiteral("Stranka d.o.o.");
    QString counterparty = QStringLiteral("Banka d.d.");
    QDate firstDay = QDate(2024, 5, 2);
    QDate lastDay{};
    double amount = 0;
    QString notes{};
};

inline QString dateLiteral(const QDate& day)
{
    return day.isValid() ? QStringLiteral("TO_DATE('%1','mm/dd/yyyy')").arg(day.toString(QStringLiteral("MM/dd/yyyy")))
                         : QStringLiteral("NULL");
}

inline void add(FixtureDb& db, const Report& r)
{
    db.exec(QStringLiteral("INSERT INTO EMIRPOROCILO (EMIRPorociloId, ZapSt, DanOd, DanDo, StNepotrjenih, DanPorocila, "
                           "Preklicano, EMIRPorociloStnId) VALUES (%1, %2, %3, %4, %5, %6, '%7', %8)")
                .arg(r.id)
                .arg(r.serial)
                .arg(dateLiteral(r.firstDay), dateLiteral(r.lastDay))
                .arg(r.unconfirmed)
                .arg(dateLiteral(r.reportDay), r.cancelled,
                     r.cancels ? QString::number(r.cancels) : QStringLiteral("NULL")));
}

inline void add(FixtureDb& db, const Dispute& d)
{
    QString notes = d.notes;
    notes.replace(QLatin1Char('\''), QStringLiteral("''"));
    QString party = d.party;
    party.replace(QLatin1Char('\''), QStringLiteral("''"));
    QString counterparty = d.counterparty;
    counterparty.replace(QLatin1Char('\''), QStringLiteral("''"));
    db.exec(QStringLiteral("INSERT INTO EMIRPOSEL (EMIRPoselId, Stranka, NasStranka, DatZacetka, DatZakljucka, Vrednost, "
                           "Opombe, EMIRPorociloId) VALUES (%1, '%2', '%3', %4, %5, %6, '%7', %8)")
                .arg(d.id)
                .arg(party, counterparty, dateLiteral(d.firstDay), dateLiteral(d.lastDay))
                .arg(d.amount, 0, 'f', 4)
                .arg(notes)
                .arg(d.report));
}

}  // namespace emirfixture
