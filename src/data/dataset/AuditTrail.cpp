#include "data/dataset/AuditTrail.h"

#include "core/ComputerName.h"
#include "data/dataset/TDMTable.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlStatement.h"
#include "data/SequenceReader.h"
#include "data/WriteBatch.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

// The columns of an audit row, its identifier first.
QStringList actColumns()
{
    return {QStringLiteral("IdAct"), QStringLiteral("Usr"),   QStringLiteral("SfAct"), QStringLiteral("Cas"),
            QStringLiteral("SfApp"), QStringLiteral("SfOrg"), QStringLiteral("Cmp"),   QStringLiteral("Db"),
            QStringLiteral("Tbl"),   QStringLiteral("Cnt")};
}

}  // namespace

AuditTrail::AuditTrail(Connection& connection, SqlDialect dialect, const QString& auditUser)
    : connection_(connection), dialect_(dialect), auditUser_(auditUser), ids_(connection, dialect)
{
}

AuditTrail::~AuditTrail() = default;

void AuditTrail::LogAct(const QString& table, const QString& kind, const QString& content) const
{
    const QDateTime now = connection_.engine() == Connection::Engine::Sqlite ? clock_.now()
                                                                             : QDateTime::currentDateTime();
    QVariantList values{auditUser_.isNull() ? QString::fromLatin1("") : auditUser_, kind, now, QStringLiteral("Z"),
                        QStringLiteral("0"), computerName(), QStringLiteral("LB"), table, content};
    if (WriteBatch* batch = WriteBatch::openOn(connection_)) {
        const QStringList columns = actColumns();
        batch->insertIdentified(QStringLiteral("ACT"), columns.first(), columns.mid(1), values, ids_);
        return;
    }
    // The identifier is taken last, after every other value of the row is known.
    values.prepend(ids_.next(QStringLiteral("ACT"), QStringLiteral("IdAct")));
    if (!insert_) {
        auto insert = std::make_unique<QSqlQuery>(connection_.database());
        SqlStatement::prepare(
            *insert, connection_,
            QStringLiteral("INSERT INTO ACT (%1) VALUES (%2)")
                .arg(actColumns().join(QStringLiteral(", ")),
                     QStringList(actColumns().size(), QStringLiteral("?")).join(QStringLiteral(", "))),
            values);
        insert_ = std::move(insert);
    } else {
        for (qsizetype i = 0; i < values.size(); ++i)
            insert_->bindValue(int(i), connection_.toEngineValue(values[i]));
    }
    SqlStatement::exec(*insert_);
    // A server may drop its prepared statements at a commit: only the embedded engine keeps one.
    if (connection_.engine() != Connection::Engine::Sqlite)
        insert_.reset();
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
