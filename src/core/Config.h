#pragma once

#include <QString>
#include <QStringList>

class Interaction;

// The settings of "ZTFI.ini", read once at start-up. Members carry the key names.
struct Config {
    bool fileFound = false;

    // [GnuPG]
    QString Path;
    QString User;
    QString PassPhrase;  // decoded

    // [Splošno]
    QString Tip;
    QString TipPosla;
    QString Posli_OXU_Prefiks;
    QString VP_OXU_Prefiks;
    QString Posli_Import_Prefiks;
    QString XMLPath_Server;
    QString SIGPath_Server;
    QString ATVP_Uporabnik;
    QString Sf_Trga_Porocevalca;
    QString MatStev;
    QString FiksniTimeZoneZaTrg;     // pasted into SQL: a list of market codes, else empty
    QStringList fixedZoneMarkets;    // its codes, without quotes
    int Debug = 0;
    // Seconds a delivery waits for a server folder before it gives up: a positive whole
    // number, cut; 60 when missing or otherwise.
    int CakanjeStreznik = 60;
    QString PDF_Path;        // ends with a separator; "/" alone when no PDF folder is configured
    QString PDF_Server;      // the program folder when not configured
    QString PDF_SIGServer;   // the program folder when not configured

    // [Trzisce]
    QString DMC_2;
    QString DMC_3;
    QString Tuj_2;
    QString Tuj_3;

    // [SegmentTrg]
    QString MIC_LJSE_C;  // upper-cased

    bool isDb2() const { return Tip == QLatin1String("DB2"); }
    bool debugOn() const { return Debug != 0; }
    // Whether a market code is one of the fixed-zone markets (case-insensitive).
    bool isFixedZoneMarket(const QString& marketCode) const;
    // Whether PDF_Path names a folder (else the program folder serves as the PDF folder).
    bool hasPdfFolder() const;

    // Reads programFolder + "ZTFI.ini", showing the start-up messages in their order. A missing
    // file leaves every value empty. A PassPhrase that is not hexadecimal, and a
    // FiksniTimeZoneZaTrg that is not a comma-separated list of market codes (whole numbers or
    // texts in single quotes), are reported and ignored.
    static Config read(const QString& programFolder, Interaction& ui);
    // The warning about a FiksniTimeZoneZaTrg that is not a list of market codes.
    static QString fixedZoneListMessage(const QString& value);
};
