#include "instruments/InstrumentHostData.h"

#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlParams.h"
#include "data/engine/SqlStatement.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <optional>

namespace {

QVariant column(const QSqlQuery& query, const char* name)
{
    const QVariant value = query.value(QString::fromLatin1(name));
    return value.isNull() ? QVariant() : value;
}

InstrumentHostData fromRow(const QSqlQuery& query)
{
    InstrumentHostData data;
    data.Trg_MIC = column(query, "Trg_MIC");
    data.ImeInstrumenta = column(query, "ImeInstrumenta");
    data.KraticaInstrumenta = column(query, "KraticaInstrumenta");
    data.TipInstr = column(query, "TipInstr");
    data.DatumPrenehanja =
        Field::convert(FieldType::DateTime, column(query, "DatumPrenehanja")).toDateTime();
    data.IzvCen = column(query, "IzvCen");
    data.ImeIzdajatelja = column(query, "ImeIzdajatelja");
    data.ISOKODA = column(query, "ISOKODA");
    data.NomVredEnote = column(query, "NomVredEnote");
    data.Valuta = column(query, "Valuta");
    data.LotEms = column(query, "LotEms");
    return data;
}

QSqlQuery run(Connection& connection, const QString& sql, const QDate& lastDay, std::optional<qint64> sfvp)
{
    SqlParams params;
    params.assignNames(sqlParamNames(sql));
    params.byName(QStringLiteral("DatumDo")).setAsDate(lastDay);
    if (sfvp)
        params.byName(QStringLiteral("SFVP")).setAsInteger(*sfvp);
    QSqlQuery query(connection.database());
    SqlStatement::prepare(query, connection, sql, params);
    SqlStatement::exec(query);
    return query;
}

constexpr int kHostInstrumentsPerStatement = 200;

QVariant leftOf(const QVariant& text, int length)
{
    return text.isValid() ? QVariant(text.toString().left(length)) : QVariant();
}

}  // namespace

QString InstrumentHostData::statement()
{
    static const QStringList lines{
        QStringLiteral("SELECT (select MIC from trg where sftrg=(select sftrg from ktc where sfktc=(select max(sfktc) from ktc where sfvp=S.SFVP and (danprk is null or danprk>:DatumDo)))) as Trg_MIC,"),
        QStringLiteral(" S.NZV as ImeInstrumenta, S.KRT as KraticaInstrumenta, upper(S.CFI) as TipInstr,"),
        QStringLiteral(" S.ZPDVP as DatumPrenehanja, S.IZVCEN as IzvCen, O.NZV as ImeIzdajatelja,"),
        QStringLiteral(" upper(D.ISOKODA) as ISOKODA, S.GLVNMN as NomVredEnote,"),
        QStringLiteral(" (select upper(KRT) from VLT where SFVLT=S.SfVLTNMN) as Valuta, S.LOTEMS as LotEms, S.SFVP as sfvp"),
        QStringLiteral("from SFVP S, OSB O, DRZ D "),
        QStringLiteral("where S.SFOSBIZD=O.SFOSB AND O.SfDrz=D.SfDrz"),
        QStringLiteral(" AND S.SFVP=:SFVP"),
    };
    return lines.join(QLatin1Char('\n'));
}

InstrumentHostData InstrumentHostData::read(Connection& connection, qint64 sfvp,
                                            const QDate& lastDay)
{
    QSqlQuery query = run(connection, statement(), lastDay, sfvp);
    return query.next() ? fromRow(query) : InstrumentHostData();
}

QHash<qint64, InstrumentHostData> InstrumentHostData::readMany(Connection& connection, const QList<qint64>& sfvps,
                                                               const QDate& lastDay)
{
    QHash<qint64, InstrumentHostData> found;
    const QString single = statement();
    const QString condition = QStringLiteral(" AND S.SFVP=:SFVP");
    const QString start = single.left(single.lastIndexOf(condition));
    for (qsizetype from = 0; from < sfvps.size(); from += kHostInstrumentsPerStatement) {
        QStringList numbers;
        for (qint64 sfvp : sfvps.mid(from, kHostInstrumentsPerStatement))
            numbers << QString::number(sfvp);
        QSqlQuery query = run(connection, start + QStringLiteral(" AND S.SFVP IN (") + numbers.join(QStringLiteral(", ")) + QLatin1Char(')'),
                              lastDay, std::nullopt);
        const int sfvp = query.record().indexOf(QStringLiteral("sfvp"));
        while (query.next()) {
            // The first row of an instrument, as read() takes it.
            const qint64 id = query.value(sfvp).toLongLong();
            if (!found.contains(id))
                found.insert(id, fromRow(query));
        }
    }
    return found;
}

QVariant InstrumentHostData::productColumn() const
{
    return leftOf(KraticaInstrumenta, 12);
}

QVariant InstrumentHostData::instrumentNameColumn() const
{
    return leftOf(ImeInstrumenta, 40);
}
