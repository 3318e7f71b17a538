#include "app/AuditTrail.h"

#include "app/ComputerName.h"
#include "data/Connection.h"
#include "data/SequenceReader.h"
#include "data/SqlStatement.h"
#include "data/TDMTable.h"

#include <QDateTime>
#include <QSqlQuery>

AuditTrail::AuditTrail(Connection& connection, SqlDialect dialect, const QString& auditUser)
    : connection_(connection), dialect_(dialect), auditUser_(auditUser)
{
}

void AuditTrail::LogAct(const QString& table, const QString& kind, const QString& content) const
{
    // The identifier is taken last, after every other value of the row is known.
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 id = SequenceReader(connection_, dialect_).next(QStringLiteral("ACT"),
                                                                 QStringLiteral("IdAct"));
    QSqlQuery insert(connection_.database());
    SqlStatement::prepare(
        insert, connection_,
        QStringLiteral("INSERT INTO ACT (IdAct, Usr, SfAct, Cas, SfApp, SfOrg, Cmp, Db, Tbl, Cnt) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        QVariantList{id, auditUser_.isNull() ? QString::fromLatin1("") : auditUser_, kind, now, QStringLiteral("Z"), QStringLiteral("0"),
                     computerName(), QStringLiteral("LB"), table, content});
    SqlStatement::exec(insert);
}

void AuditTrail::attach(TDMTable& table, bool auditDeletes) const
{
    table.beforePost = [this](TDMTable& t, bool inserting) {
        LogAct(t.tableName().toUpper(), inserting ? QStringLiteral("+") : QStringLiteral("^"),
               t.rowContent());
    };
    if (auditDeletes)
        table.beforeDelete = [this](TDMTable& t) {
            LogAct(t.tableName().toUpper(), QStringLiteral("-"), t.rowContent());
        };
    else
        table.beforeDelete = nullptr;
}
