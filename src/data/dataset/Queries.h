#pragma once

#include "data/dataset/Dataset.h"
#include "data/engine/SqlParams.h"

#include <QString>
#include <QStringList>

// A query over the connection: SQL text with ":Name" parameters (matched without regard to
// case), opened with all its rows buffered (so it can always be walked both ways and re-read)
// or executed as a statement.
class TUniQuery : public Dataset {
    Q_OBJECT

public:
    TUniQuery(Connection& connection, const QString& name, QObject* parent = nullptr);

    const QStringList& sql() const { return sql_; }
    // The lines joined by line feeds.
    QString sqlText() const { return sql_.join(QLatin1Char('\n')); }
    // Changing the text closes the query; parameters of names that stay keep their values.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QString& text);
    void setSql(const QStringList& lines);

    SqlParams& params() { return params_; }
    const SqlParams& params() const { return params_; }
    // Throws DatabaseError "Parameter 'X' not found".
    SqlParam& paramByName(const QString& name) { return params_.byName(name); }
    SqlParam* findParam(const QString& name) { return params_.find(name); }

    // Executes the text as a statement (no rows are read).
    void execSQL();
    // Rows changed by the last execSQL; -1 before one ran.
    int rowsAffected() const { return rowsAffected_; }

protected:
    void openCursor() override;

private:
    void sqlChanged();

    QStringList sql_;
    SqlParams params_;
    int rowsAffected_ = -1;
};

// A query that knows the driver of its connection. Like every dataset, it adapts its
// declared fields to the column types the engine reports (Dataset::adaptDeclaredFields).
class TDMQuery : public TUniQuery {
    Q_OBJECT

public:
    TDMQuery(Connection& connection, const QString& name, QObject* parent = nullptr);

    // The connection's driver ("QSQLITE", "QODBC").
    const QString& DriverName() const { return driverName_; }

private:
    QString driverName_;
};

// A query with the caption that grids over it show.
class TFQuery : public TDMQuery {
    Q_OBJECT

public:
    using TDMQuery::TDMQuery;

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }

private:
    QString caption_;
};

// The query of the windows: a template dataset for its field settings and the hidden
// contract-card fields.
class TQueryDM : public TFQuery {
    Q_OBJECT

public:
    using TFQuery::TFQuery;

    // Template dataset (not owned): applied after open and at once when set, released on
    // close and before another template is set (FieldTemplate.h).
    Dataset* DefFields() const { return defFields_; }
    void setDefFields(Dataset* dataset);
    // Call once the fields are declared: adds the hidden contract-card fields.
    void loaded();

protected:
    void openCursor() override;
    void closeCursor() override;

private:
    Dataset* defFields_ = nullptr;
};
