#pragma once

#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/OleDate.h"
#include "support/FixtureDb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <vector>

// Host data and override rows for the instrument tests. The selection covers 2.3.2026; its
// pending rows carry the report identifier kPending, which DPATVP does not hold.
namespace overrides {

inline const QDate kDay(2026, 3, 2);
inline constexpr qint64 kPending = 7;

// A reportable instrument listed on market 8 from 1.1.2000, with the given ISIN.
inline fixture::Instrument instrument(int id, const QString& isin)
{
    fixture::Instrument row;
    row.id = id;
    row.isin = isin;
    row.shortName = QStringLiteral("KRT%1").arg(id);
    row.name = QStringLiteral("Instrument %1").arg(id);
    row.changed = QDateTime(QDate(2025, 6, 1), QTime(15, 45, 10));
    row.nominal = 1.5;
    row.issued = 1000;
    return row;
}

// Adds the instrument with one listing (code = instrument code) and one regular trade of the
// selection day (code = instrument code) in the pending selection.
inline void addTraded(FixtureDb& db, const fixture::Instrument& row)
{
    db.instrument(row);
    db.listing({.id = row.id, .instrument = row.id});
    db.trade({.id = row.id, .instrument = row.id});
    db.selected({.report = kPending, .trade = row.id, .reference = row.id});
}

// Every row of DPATVP_SFVP, oldest first; dates as QDateTime, NULL as an invalid QVariant.
inline std::vector<QVariantMap> overrideRows(FixtureDb& db)
{
    QSqlQuery query(db.connection().database());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM DPATVP_SFVP ORDER BY DANSPR, SFVP_OXU")))
        << query.lastError().text().toStdString();
    std::vector<QVariantMap> rows;
    while (query.next()) {
        QVariantMap row;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            const QString name = record.fieldName(i).toUpper();
            QVariant value = query.value(i);
            if (value.isNull())
                value = QVariant();
            else if (name == QLatin1String("DANSPR") || name == QLatin1String("DANSPR_SFVP")
                     || name == QLatin1String("AII_EXPIRY"))
                value = Field::convert(FieldType::DateTime, value);
            row.insert(name, value);
        }
        rows.push_back(row);
    }
    return rows;
}

// An override row written as the tests need it (plain insert; dates as date-times).
inline void addOverride(FixtureDb& db, const QVariantMap& columns)
{
    QStringList names;
    QStringList placeholders;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        names << it.key();
        placeholders << QLatin1Char(':') + it.key();
    }
    QSqlQuery query(db.connection().database());
    ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO DPATVP_SFVP (%1) VALUES (%2)")
                                  .arg(names.join(QLatin1Char(',')), placeholders.join(QLatin1Char(',')))));
    for (auto it = columns.begin(); it != columns.end(); ++it)
        query.bindValue(QLatin1Char(':') + it.key(), db.connection().toEngineValue(it.value()));
    ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

}  // namespace overrides
