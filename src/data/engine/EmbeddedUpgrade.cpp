#include "data/engine/EmbeddedUpgrade.h"

#include "core/Error.h"
#include "data/engine/SqlErrors.h"

#include <QSqlError>
#include <QSqlQuery>

namespace EmbeddedUpgrade {

namespace {

// As schema/sqlite/own.sql declares it.
const char* const kDigests =
    "CREATE TABLE DPATVPXML (\n"
    "    DPATVPID INTEGER NOT NULL,\n"
    "    ZAPST INTEGER NOT NULL,\n"
    "    SHA256 VARCHAR(64) NOT NULL,\n"
    "    PRIMARY KEY (DPATVPID, ZAPST)\n"
    ")";

}  // namespace

void apply(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = 'DPATVPXML' "
                                   "COLLATE NOCASE")))
        throw DatabaseError(sqlErrorText(query.lastError()));
    if (query.next())
        return;
    query.finish();
    if (!query.exec(QString::fromLatin1(kDigests)))
        throw DatabaseError(sqlErrorText(query.lastError()));
}

}  // namespace EmbeddedUpgrade
