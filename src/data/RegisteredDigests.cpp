#include "data/RegisteredDigests.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"

namespace RegisteredDigests {

namespace {

void run(Connection& connection, const QString& sql, qint64 reportId, qint64 serial,
         const QString& sha256 = QString())
{
    TUniQuery statement(connection, QStringLiteral("qDPATVPXML"));
    statement.setSql(sql);
    statement.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    statement.paramByName(QStringLiteral("ZAPST")).setAsInteger(serial);
    if (!sha256.isEmpty())
        statement.paramByName(QStringLiteral("SHA256")).setAsString(sha256);
    statement.execSQL();
}

}  // namespace

void record(Connection& connection, qint64 reportId, qint64 serial, const QString& sha256)
{
    remove(connection, reportId, serial);
    run(connection,
        QStringLiteral("INSERT INTO DPATVPXML (DPATVPID, ZAPST, SHA256) VALUES (:DPATVPID, :ZAPST, :SHA256)"),
        reportId, serial, sha256);
}

void remove(Connection& connection, qint64 reportId, qint64 serial)
{
    run(connection, QStringLiteral("DELETE FROM DPATVPXML WHERE DPATVPID = :DPATVPID AND ZAPST = :ZAPST"),
        reportId, serial);
}

bool differs(Connection& connection, qint64 reportId, qint64 serial, const QString& sha256)
{
    TUniQuery query(connection, QStringLiteral("qDPATVPXMLRazlicen"));
    query.setSql(QStringLiteral("SELECT COUNT(*) AS N FROM DPATVPXML WHERE DPATVPID = :DPATVPID AND ZAPST = :ZAPST ")
                 + QStringLiteral("AND SHA256 <> :SHA256"));
    query.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    query.paramByName(QStringLiteral("ZAPST")).setAsInteger(serial);
    query.paramByName(QStringLiteral("SHA256")).setAsString(sha256);
    query.open();
    return query.fieldByName(QStringLiteral("N")).asInteger() > 0;
}

QStringList ofUnsentFile(Connection& connection, const QString& file)
{
    TUniQuery query(connection, QStringLiteral("qDPATVPXMLNeposlano"));
    query.setSql(QStringLiteral("SELECT X.SHA256 FROM DPATVP D LEFT OUTER JOIN DPATVPXML X ")
                 + QStringLiteral("ON X.DPATVPID = D.DPATVPID AND X.ZAPST = D.ZAPST ")
                 + QStringLiteral("WHERE D.XML_FILE = :XML_FILE AND D.DAN IS NULL"));
    query.paramByName(QStringLiteral("XML_FILE")).setAsString(file);
    query.open();
    QStringList digests;
    const Field& digest = query.fieldByName(QStringLiteral("SHA256"));
    for (query.first(); !query.eof(); query.next())
        digests << (digest.isNull() ? QString() : digest.asString().trimmed());
    return digests;
}

}  // namespace RegisteredDigests
