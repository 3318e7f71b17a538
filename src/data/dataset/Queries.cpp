#include "data/dataset/Queries.h"

#include "data/dataset/FieldTemplate.h"
#include "data/dataset/HiddenCardFields.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlStatement.h"

#include <QSqlQuery>

TUniQuery::TUniQuery(Connection& connection, const QString& name, QObject* parent)
    : Dataset(connection, name, parent)
{
}

void TUniQuery::clearSql()
{
    sql_.clear();
    sqlChanged();
}

void TUniQuery::addSql(const QString& line)
{
    sql_.append(line);
    sqlChanged();
}

void TUniQuery::setSql(const QString& text)
{
    sql_ = text.split(QLatin1Char('\n'));
    sqlChanged();
}

void TUniQuery::setSql(const QStringList& lines)
{
    sql_ = lines;
    sqlChanged();
}

void TUniQuery::sqlChanged()
{
    close();
    params_.assignNames(sqlParamNames(sqlText()));
}

void TUniQuery::openCursor()
{
    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(), sqlText(), params_);
    SqlStatement::exec(query);
    bindFields(engineColumns(query));
    loadRows(query);
}

void TUniQuery::execSQL()
{
    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(), sqlText(), params_);
    SqlStatement::exec(query);
    rowsAffected_ = query.numRowsAffected();
}

TDMQuery::TDMQuery(Connection& connection, const QString& name, QObject* parent)
    : TUniQuery(connection, name, parent), driverName_(connection.driverName())
{
}

void TQueryDM::setDefFields(Dataset* dataset)
{
    if (dataset == defFields_)
        return;
    if (defFields_)
        FieldTemplate::release(*this);
    defFields_ = dataset;
    if (defFields_)
        FieldTemplate::apply(*this, *defFields_);
}

void TQueryDM::loaded()
{
    addHiddenCardFields(*this);
}

void TQueryDM::openCursor()
{
    TFQuery::openCursor();
    if (defFields_)
        FieldTemplate::apply(*this, *defFields_);
}

void TQueryDM::closeCursor()
{
    TFQuery::closeCursor();
    if (defFields_)
        FieldTemplate::release(*this);
}
