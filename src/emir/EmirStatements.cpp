#include "emir/EmirStatements.h"

namespace EmirStatements {

QStringList reportList(bool hasFrom, bool hasTo)
{
    QStringList lines{QStringLiteral("SELECT E.*, ES.ZapSt AS ZapStPreklicano FROM EMIRPOROCILO E"),
                      QStringLiteral("LEFT OUTER JOIN EMIRPOROCILO ES ON ES.EMIRPorociloId = E.EMIRPorociloStnId")};
    if (hasFrom)
        lines << QStringLiteral("WHERE E.DanOd >= :DanOd");
    if (hasTo)
        lines << (hasFrom ? QStringLiteral("AND E.DanOd <= :DanDo") : QStringLiteral("WHERE E.DanOd <= :DanDo"));
    lines << QStringLiteral("ORDER BY E.DanOd");
    return lines;
}

QStringList disputeList()
{
    return {QStringLiteral("SELECT E.* FROM EMIRPOSEL E"), QStringLiteral("WHERE E.EMIRPorociloId = :EMIRPorociloId")};
}

QString selectReport()
{
    return QStringLiteral("SELECT * FROM EMIRPOROCILO WHERE EMIRPorociloId = :Id");
}

QString maxSerial()
{
    return QStringLiteral("SELECT MAX(ZapSt) AS ZapSt FROM EMIRPOROCILO");
}

QString insertReport()
{
    return QStringLiteral(
        "INSERT INTO EMIRPOROCILO (EMIRPorociloId, DanOd, DanDo, StNepotrjenih, ZapSt, DanPorocila, Preklicano) "
        "VALUES (:EMIRPorociloId, :DanOd, :DanDo, :StNepotrjenih, :ZapSt, :DanPorocila, :Preklicano)");
}

QString updateReport()
{
    return QStringLiteral(
        "UPDATE EMIRPOROCILO SET DanOd = :DanOd, DanDo = :DanDo, StNepotrjenih = :StNepotrjenih, "
        "DanPorocila = :DanPorocila, Preklicano = :Preklicano WHERE EMIRPorociloId = :EMIRPorociloId");
}

QString insertCancellingReport()
{
    return QStringLiteral(
               "INSERT INTO EMIRPOROCILO (EMIRPorociloId, ZapSt, DanOd, DanDo, StNepotrjenih, DanPorocila, "
               "Preklicano, EMIRPorociloStnId)")
        + QLatin1Char('\n')
        + QStringLiteral(
               "VALUES (:EMIRPorociloId, :ZapSt, :DanOd, :DanDo, :StNepotrjenih, :DanPorocila, :Preklicano, "
               ":EMIRPorociloStnId)");
}

QString cancelReport()
{
    return QStringLiteral(
        "UPDATE EMIRPOROCILO SET Preklicano = :Preklicano, DanCasPreklica = :DanCas WHERE EMIRPorociloId = :Id");
}

QString setCancelled()
{
    return QStringLiteral("UPDATE EMIRPOROCILO SET Preklicano = :Preklicano WHERE EMIRPorociloId = :Id");
}

QString deleteReportDisputes()
{
    return QStringLiteral("DELETE FROM EMIRPOSEL WHERE EMIRPorociloId = :Id");
}

QString deleteReport()
{
    return QStringLiteral("DELETE FROM EMIRPOROCILO WHERE EMIRPorociloId = :Id");
}

QString stampReport()
{
    return QStringLiteral("UPDATE EMIRPOROCILO SET DanCasKreiranja = :DanCasKreiranja")
        + QLatin1Char('\n') + QStringLiteral("WHERE EMIRPorociloId = :EMIRPorociloId");
}

QString selectDispute()
{
    return QStringLiteral("SELECT * FROM EMIRPOSEL WHERE EMIRPoselId = :Id");
}

QString insertDispute()
{
    return QStringLiteral(
        "INSERT INTO EMIRPOSEL (EMIRPoselId, Stranka, NasStranka, DatZacetka, DatZakljucka, Vrednost, Opombe, "
        "EMIRPorociloId) VALUES (:EMIRPoselId, :Stranka, :NasStranka, :DatZacetka, :DatZakljucka, :Vrednost, "
        ":Opombe, :EMIRPorociloId)");
}

QString updateDispute()
{
    return QStringLiteral(
        "UPDATE EMIRPOSEL SET Stranka = :Stranka, NasStranka = :NasStranka, DatZacetka = :DatZacetka, "
        "DatZakljucka = :DatZakljucka, Vrednost = :Vrednost, Opombe = :Opombe WHERE EMIRPoselId = :EMIRPoselId");
}

QString deleteDispute()
{
    return QStringLiteral("DELETE FROM EMIRPOSEL WHERE EMIRPoselId = :Id");
}

QString firmRegistration()
{
    return QStringLiteral("SELECT MTS FROM OSB WHERE SfOsb = :SfOsb");
}

}  // namespace EmirStatements
