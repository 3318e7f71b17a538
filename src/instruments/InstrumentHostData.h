#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class Connection;

// The data of one host instrument as an override row freezes them (qDPATVP_SFVPDodPodatki):
// the instrument with its issuer and the issuer's country, and the venue of its latest listing
// still open after the last day of the selection. Values are NULL (invalid QVariant) where the
// host has none, and all of them when the instrument, its issuer or the country is missing.
struct InstrumentHostData {
    QVariant Trg_MIC;             // text
    QVariant ImeInstrumenta;      // text
    QVariant KraticaInstrumenta;  // text
    QVariant TipInstr;            // text, upper-cased
    QDateTime DatumPrenehanja;    // invalid when the host has no maturity
    QVariant IzvCen;              // number
    QVariant ImeIzdajatelja;      // text
    QVariant ISOKODA;             // text, upper-cased
    QVariant NomVredEnote;        // number
    QVariant Valuta;              // text, upper-cased
    QVariant LotEms;              // number

    // The statement; parameters DatumDo (date) and SFVP (integer).
    static QString statement();
    // Reads the data of host instrument sfvp with DatumDo = lastDay.
    static InstrumentHostData read(Connection& connection, qint64 sfvp, const QDate& lastDay);
    // The data of many host instruments, by instrument, in statements of a few hundred
    // instruments each (the statement with the instruments listed instead of SFVP); an
    // instrument the statement finds no row of is left out, as read() gives it all NULL.
    static QHash<qint64, InstrumentHostData> readMany(Connection& connection, const QList<qint64>& sfvps,
                                                      const QDate& lastDay);

    // The values of the frozen data columns of DPATVP_SFVP: AII_PRODUCT holds the first 12
    // characters of the short name, INSTRUMENTNAME the first 40 of the name.
    QVariant productColumn() const;
    QVariant instrumentNameColumn() const;
};
