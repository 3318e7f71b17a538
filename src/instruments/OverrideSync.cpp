#include "instruments/OverrideSync.h"

#include "core/Formats.h"
#include "core/Interaction.h"
#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/OleDate.h"
#include "data/engine/SqlParams.h"
#include "data/engine/SqlStatement.h"
#include "data/PendingSets.h"
#include "data/WriteBatch.h"
#include "instruments/OverrideSyncStatement.h"
#include "instruments/VersionStamps.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <optional>

struct OverrideSync::ClassifiedRow {
    int tip = 0;
    std::optional<qint64> sfvpOld;  // SFVP_OLD
    qint64 sfvp = 0;
    QString isin;
    QDateTime danspr;               // invalid when empty
};

namespace {

// Tip of a classified row.
constexpr int kRefreshOnly = 0;
constexpr int kChoiceNeeded = 2;
constexpr int kTakesOverMatured = 4;

// A statement with its named parameters, executed on the connection.
class Statement {
public:
    Statement(Connection& connection, const QString& sql) : connection_(connection), sql_(sql)
    {
        params_.assignNames(sqlParamNames(sql));
    }

    void setText(const char* name, const QVariant& value)
    {
        SqlParam& p = param(name);
        p.setAsString(value.toString());
        if (!value.isValid() || value.isNull())
            p.setNull();
    }
    void setFloat(const char* name, const QVariant& value)
    {
        SqlParam& p = param(name);
        p.setAsFloat(value.toDouble());
        if (!value.isValid() || value.isNull())
            p.setNull();
    }
    void setInteger(const char* name, qint64 value) { param(name).setAsInteger(value); }
    void setDate(const char* name, const QDate& value) { param(name).setAsDate(value); }
    void setDateTime(const char* name, const QDateTime& value) { param(name).setAsDateTime(value); }
    // A date column of DPATVP_SFVP: the date and time, or under DB2 the day only.
    void setDay(const char* name, const QVariant& value)
    {
        if (value.metaType().id() == QMetaType::QDate)
            setDate(name, value.toDate());
        else
            setDateTime(name, value.toDateTime());
    }

    // The statement and one line per parameter: name, ":", value.
    QStringList traceLines() const
    {
        QStringList lines{QStringLiteral("SQL:") + sql_};
        for (int i = 0; i < params_.count(); ++i) {
            const SqlParam& p = params_.at(i);
            lines << p.name() + QLatin1Char(':') + valueText(p);
        }
        return lines;
    }

    QSqlQuery exec()
    {
        QSqlQuery query(connection_.database());
        SqlStatement::prepare(query, connection_, sql_, params_);
        SqlStatement::exec(query);
        return query;
    }

    // An INSERT that names each column by a parameter of the column's name: executed, or its
    // row added to the batch.
    void insert(WriteBatch* batch)
    {
        if (!batch) {
            exec();
            return;
        }
        QStringList columns;
        QVariantList values;
        for (int i = 0; i < params_.count(); ++i) {
            columns << params_.at(i).name();
            values << params_.at(i).boundValue();
        }
        batch->insert(QStringLiteral("DPATVP_SFVP"), columns, values);
    }

private:
    SqlParam& param(const char* name) { return params_.byName(QString::fromLatin1(name)); }

    static QString valueText(const SqlParam& p)
    {
        if (p.isNull())
            return QString();
        switch (p.dataType()) {
        case SqlParam::DataType::Date:
            return Formats::dateText(p.value().toDate());
        case SqlParam::DataType::DateTime:
            return Formats::dateTimeText(p.value().toDateTime());
        case SqlParam::DataType::Float:
            return Formats::numberText(p.value().toDouble());
        default:
            return p.value().toString();
        }
    }

    Connection& connection_;
    QString sql_;
    SqlParams params_;
};

// The frozen data columns shared by the insert and the refresh.
void setDataColumns(Statement& statement, const InstrumentHostData& host)
{
    statement.setText("AII_MIC", host.Trg_MIC);
    statement.setText("AII_PRODUCT", host.productColumn());
    statement.setText("AII_CFI", host.TipInstr);
    statement.setFloat("AII_STRIKEPRICE", host.IzvCen);
    statement.setText("IZD", host.ImeIzdajatelja);
    statement.setText("DRZ_IZD", host.ISOKODA);
    statement.setFloat("GLVNMN", host.NomVredEnote);
    statement.setText("VLT", host.Valuta);
    statement.setFloat("LOTEMS", host.LotEms);
    statement.setText("INSTRUMENTNAME", host.instrumentNameColumn());
}

// The trace of a write: what, for which ISIN and host instrument, the statement and its values.
void traceWrite(const std::function<void(const QString&)>& trace, const QString& kind,
                const QString& isin, qint64 sfvp, const Statement& statement)
{
    if (!trace)
        return;
    trace(kind + isin + QStringLiteral(" SFVP:") + QString::number(sfvp));
    for (const QString& line : statement.traceLines())
        trace(line);
}

QDateTime asDateTime(const QVariant& value)
{
    return Field::convert(FieldType::DateTime, value).toDateTime();
}

}  // namespace

OverrideSync::OverrideSync(Connection& connection, SqlDialect dialect, const QString& auditUser)
    : connection_(connection), dialect_(dialect), auditUser_(auditUser)
{
}

QString OverrideSync::failureMessage()
{
    return QStringLiteral("Napaka pri insertu v DPATVP_SFVP! ");
}

QString OverrideSync::stopMessage()
{
    return QStringLiteral("Izberi ustrezen finančni instrument za poročanje!");
}

SelectionStop OverrideSync::stopSelection(Interaction& ui)
{
    ui.inform(stopMessage());
    SelectionStop stop;
    stop.activeTab = QStringLiteral("tsFinInstr");
    stop.hiddenTabs = {QStringLiteral("tsNabor"), QStringLiteral("tsImportXLS"),
                       QStringLiteral("tsATVP"), QStringLiteral("tsPorocila")};
    stop.reopenOverrideList = true;
    stop.returnButtonVisible = false;
    return stop;
}

OverrideSyncResult OverrideSync::synchronise(const OverrideSyncInput& input)
{
    OverrideSyncResult result;
    VersionStamps stamps(connection_);
    const QList<ClassifiedRow> rows = classify(input);
    readAhead(rows, input.lastDay, stamps);
    WriteBatch batch(connection_);
    batch_ = WriteBatch::openOn(connection_);
    struct BatchEnds {
        WriteBatch*& open;
        ~BatchEnds() { open = nullptr; }
    } batchEnds{batch_};
    for (const ClassifiedRow& row : rows) {
        if (row.tip == kChoiceNeeded)
            ++result.pendingCount;
        ExistingRow existing;
        const bool exists = findExisting(row, existing);
        if (row.tip != kRefreshOnly && !exists) {
            if (row.tip == kChoiceNeeded)
                insertPending(row, stamps);
            else
                insertReporting(row, input.lastDay, stamps);
            latest_.forget(row.isin, row.sfvp);
            ++result.inserted;
            continue;
        }
        // The choice of a reporting instrument for a pending row is the user's: while it is
        // needed the row is left as it is.
        if (row.tip == kChoiceNeeded && !existing.reportingInstrument)
            continue;
        // The updates find the rows inserted before them in place.
        flush();
        if (refresh(row, existing, input, stamps))
            ++result.refreshed;
        latest_.forget(row.isin, row.sfvp);
    }
    flush();
    return result;
}

void OverrideSync::readAhead(const QList<ClassifiedRow>& rows, const QDate& lastDay, VersionStamps& stamps)
{
    latest_ = LatestOverrides();
    hostData_.clear();
    hostDataRead_.clear();
    QList<std::pair<QString, qint64>> pairs;
    QStringList isins;
    for (const ClassifiedRow& row : rows) {
        pairs.append({row.isin, row.sfvp});
        isins << row.isin;
    }
    latest_.read(connection_, pairs);
    stamps.readLatest(isins);
    // The host data of the instruments the rows report, or would report once written.
    QList<qint64> instruments;
    const auto add = [&](qint64 sfvp) {
        if (!hostDataRead_.contains(sfvp)) {
            hostDataRead_.insert(sfvp);
            instruments << sfvp;
        }
    };
    for (const ClassifiedRow& row : rows) {
        add(row.sfvp);
        ExistingRow existing;
        if (latest_.find(row.isin, row.sfvp, existing) == LatestOverrides::Found::Row && existing.reportingInstrument)
            add(*existing.reportingInstrument);
    }
    hostData_ = InstrumentHostData::readMany(connection_, instruments, lastDay);
}

InstrumentHostData OverrideSync::hostData(qint64 sfvp, const QDate& lastDay)
{
    if (!hostDataRead_.contains(sfvp))
        return InstrumentHostData::read(connection_, sfvp, lastDay);
    return hostData_.value(sfvp);
}

void OverrideSync::flush()
{
    if (batch_)
        batch_->flush();
}

void OverrideSync::trace(const QString& line) const
{
    if (trace_)
        trace_(line);
}

QList<OverrideSync::ClassifiedRow> OverrideSync::classify(const OverrideSyncInput& input)
{
    QString sql = OverrideSyncStatement::classification(dialect_, input.regeneratedReport);
    if (!input.regeneratedReport)
        sql = PendingSets::narrowed(sql, PendingSets::ids(connection_));
    trace(QStringLiteral("SQL :") + sql);
    Statement statement(connection_, sql);
    statement.setDate("Datum", input.firstDay);
    statement.setDate("DatumDo", input.lastDay);
    statement.setInteger("FMaxDpAtvpId", input.reportId);
    QSqlQuery query = statement.exec();

    const QSqlRecord record = query.record();
    const int tip = record.indexOf(QStringLiteral("Tip"));
    const int sfvpOld = record.indexOf(QStringLiteral("SFVP_OLD"));
    const int sfvp = record.indexOf(QStringLiteral("SFVP"));
    const int isin = record.indexOf(QStringLiteral("ISIN"));
    const int danspr = record.indexOf(QStringLiteral("DANSPR"));

    // The whole result is read before anything is written.
    QList<ClassifiedRow> rows;
    while (query.next()) {
        ClassifiedRow row;
        row.tip = query.value(tip).toInt();
        if (!query.value(sfvpOld).isNull())
            row.sfvpOld = query.value(sfvpOld).toLongLong();
        row.sfvp = query.value(sfvp).toLongLong();
        row.isin = query.value(isin).toString();
        row.danspr = asDateTime(query.value(danspr));
        // An override names an ISIN: an instrument without one gets no row. "N" stands for no
        // ISIN; instruments that carry it are not one instrument and each reports its own data.
        if (row.isin.isEmpty() || row.isin.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0)
            continue;
        rows.append(row);
    }
    return rows;
}

bool OverrideSync::findExisting(const ClassifiedRow& row, ExistingRow& existing)
{
    switch (latest_.find(row.isin, row.sfvp, existing)) {
    case LatestOverrides::Found::Row: return true;
    case LatestOverrides::Found::None: return false;
    case LatestOverrides::Found::Unknown: break;
    }
    flush();
    Statement statement(connection_, OverrideSyncStatement::existingRows());
    statement.setText("ISIN", row.isin);
    statement.setInteger("SFVP_OXU", row.sfvp);
    QSqlQuery query = statement.exec();
    if (!query.next())
        return false;
    existing.hasChangeDay = !query.value(0).isNull();
    if (!query.value(1).isNull())
        existing.reportingInstrument = query.value(1).toLongLong();
    return true;
}

QVariant OverrideSync::changeDay(const QDateTime& value) const
{
    if (dialect_ == SqlDialect::Db2)
        return value.date();
    return value;
}

void OverrideSync::insertPending(const ClassifiedRow& row, VersionStamps& stamps)
{
    const QDateTime now = QDateTime::currentDateTime();
    Statement statement(connection_, OverrideSyncStatement::insertPending());
    statement.setText("ISIN", row.isin);
    statement.setDateTime("DANSPR", stamps.next(row.isin));
    statement.setText("USRSPR", auditUser_);
    statement.setDay("DANSPR_SFVP", changeDay(OleDate::isAfterEpoch(row.danspr) ? row.danspr : now));
    statement.setInteger("SFVP_OXU", row.sfvp);
    traceWrite(trace_, QStringLiteral("INSERT za ISIN:"), row.isin, row.sfvp, statement);
    statement.insert(batch_);
}

void OverrideSync::insertReporting(const ClassifiedRow& row, const QDate& lastDay,
                                   VersionStamps& stamps)
{
    const InstrumentHostData host = hostData(row.sfvp, lastDay);
    const bool withExpiry = host.DatumPrenehanja.isValid();
    const bool takesOver = row.tip == kTakesOverMatured;
    const QDateTime now = QDateTime::currentDateTime();

    Statement statement(connection_, OverrideSyncStatement::insertReporting(withExpiry, takesOver));
    statement.setText("ISIN", row.isin);
    statement.setDateTime("DANSPR", stamps.next(row.isin));
    statement.setText("USRSPR", auditUser_);
    statement.setDay("DANSPR_SFVP", changeDay(OleDate::isAfterEpoch(row.danspr) ? row.danspr : now));
    statement.setInteger("SFVP_OXU", row.sfvp);
    statement.setInteger("SFVP_POROCANJE", row.sfvp);
    setDataColumns(statement, host);
    if (withExpiry)
        statement.setDay("AII_EXPIRY", changeDay(host.DatumPrenehanja));
    if (takesOver) {
        statement.setInteger("SFVP_OLD", row.sfvpOld.value_or(0));
        statement.setText("XML", QStringLiteral("D"));
    }
    traceWrite(trace_, QStringLiteral("INSERT za ISIN:"), row.isin, row.sfvp, statement);
    statement.insert(batch_);
}

bool OverrideSync::refresh(const ClassifiedRow& row, const ExistingRow& existing,
                           const OverrideSyncInput& input, VersionStamps& stamps)
{
    const qint64 replaced = row.sfvpOld.value_or(0);
    // The reporting instrument of the ISIN matured and this instrument takes its place.
    using Replacement = OverrideSyncStatement::RefreshReplacement;
    Replacement replacement = Replacement::None;
    if (input.regeneratedReport) {
        if (replaced > 0)
            replacement = Replacement::Silent;
    } else if (replaced > 0 && replaced != row.sfvp) {
        replacement = Replacement::Announced;
    }
    // The frozen data are those of the instrument the row reports once it is written.
    const std::optional<qint64> reporting =
        replacement != Replacement::None ? std::optional<qint64>(row.sfvp) : existing.reportingInstrument;
    // A pending row gets no data until its reporting instrument is chosen.
    if (!reporting)
        return false;
    const InstrumentHostData host = hostData(*reporting, input.lastDay);
    const bool expiryEmpty = !host.DatumPrenehanja.isValid();
    const bool changedNow =
        !row.danspr.isValid() || (row.tip == 1 && !existing.hasChangeDay);

    Statement statement(connection_, OverrideSyncStatement::refresh(expiryEmpty, replacement));
    statement.setDay("DANSPR_SFVP",
                     changeDay(changedNow ? QDateTime::currentDateTime() : row.danspr));
    statement.setDateTime("DanSpr", stamps.next(row.isin));
    statement.setText("UsrSpr", auditUser_);
    setDataColumns(statement, host);
    if (!expiryEmpty)
        statement.setDay("AII_EXPIRY", changeDay(host.DatumPrenehanja));
    if (replacement != Replacement::None) {
        statement.setInteger("SFVP_OLD", replaced);
        statement.setInteger("SFVP_POROCANJE", row.sfvp);
    }
    if (replacement == Replacement::Announced)
        statement.setText("XML", QStringLiteral("D"));
    statement.setText("ISIN", row.isin);
    statement.setInteger("SFVP_OXU", row.sfvp);
    traceWrite(trace_, QStringLiteral("UPDATE za ISIN:"), row.isin, row.sfvp, statement);

    // Only the rows that report the same instrument as the latest one are refreshed: the
    // older versions keep their data and their older stamps.
    Statement setAside(connection_,
                       OverrideSyncStatement::setAsideOtherVersions(existing.reportingInstrument.has_value()));
    setAside.setText("ISIN", row.isin);
    setAside.setInteger("SFVP_OXU", row.sfvp);
    if (existing.reportingInstrument)
        setAside.setInteger("SFVP_POROCANJE", *existing.reportingInstrument);
    setAside.exec();
    statement.exec();
    Statement putBack(connection_, OverrideSyncStatement::putBackOtherVersions());
    putBack.setText("ISIN", row.isin);
    putBack.setInteger("SFVP_OXU", -row.sfvp);
    putBack.exec();
    return true;
}
