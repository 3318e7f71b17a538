#include "exchange/ImportedReferences.h"

#include "exchange/ReusedStatement.h"

#include <QStringList>

ImportedReferences::ImportedReferences(Connection& connection) : connection_(connection)
{
}

ImportedReferences::~ImportedReferences() = default;

QString ImportedReferences::statement(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral(":R%1").arg(i);
    return QStringLiteral(" select * from DPATVPIMP where RefStTransa IN (") + names.join(QStringLiteral(", "))
        + QStringLiteral(") ");
}

void ImportedReferences::read(const QList<qint64>& references)
{
    QList<qint64> unknown;
    for (qint64 reference : references) {
        if (!known(reference) && !unknown.contains(reference))
            unknown << reference;
    }
    if (!find_ && !unknown.isEmpty())
        find_ = std::make_unique<ReusedStatement>(connection_, statement(perStatement()));
    for (qsizetype from = 0; from < unknown.size(); from += perStatement()) {
        const QList<qint64> set = unknown.mid(from, perStatement());
        // A set smaller than the statement repeats its last reference.
        for (int i = 0; i < perStatement(); ++i)
            find_->bind(QStringLiteral("R%1").arg(i + 1), set.at(qMin<qsizetype>(i, set.size() - 1)));
        find_->exec();
        for (qint64 reference : set)
            rows_.insert(reference, std::nullopt);
        while (find_->next()) {
            const qint64 reference = find_->value(QStringLiteral("REFSTTRANSA")).toLongLong();
            std::optional<Row>& row = rows_[reference];
            // The first row of a reference, as a look-up of that reference alone takes it.
            if (!row)
                row = Row{find_->value(QStringLiteral("IDIMP")).toLongLong(), find_->value(QStringLiteral("DPATVPID")),
                          find_->value(QStringLiteral("RAZTRANSA")).toString()};
        }
    }
}

std::optional<ImportedReferences::Row> ImportedReferences::row(qint64 reference) const
{
    return rows_.value(reference);
}

void ImportedReferences::written(qint64 reference, const Row& row)
{
    rows_.insert(reference, row);
}
