-- Back-office tables that the workstation reads, for the embedded engine (demo and tests).
-- Only the columns the workstation uses. Dates are REAL: days since 30.12.1899, the time of
-- day as the fraction. Codes are integers unless they are one-character kinds.

-- Currencies
CREATE TABLE VLT (
    SfVlt INTEGER PRIMARY KEY,
    KRT VARCHAR(3)
);

-- Countries
CREATE TABLE DRZ (
    SfDrz INTEGER PRIMARY KEY,
    ISOKODA VARCHAR(2)
);

-- Persons; person 2 is the reporting firm itself
CREATE TABLE OSB (
    SfOsb INTEGER PRIMARY KEY,
    MTS VARCHAR(20),
    SWIFT VARCHAR(11),
    KRTBNK VARCHAR(20),
    NZV VARCHAR(80),
    SfDrz INTEGER
);

-- Contracts of clients
CREATE TABLE POG (
    IdPog INTEGER PRIMARY KEY,
    SfOsb INTEGER,
    NZV VARCHAR(80),
    KRTKDD VARCHAR(10),
    REMOTECLAN VARCHAR(20)
);
CREATE INDEX POG_SFOSB ON POG (SfOsb);

-- Markets
CREATE TABLE TRG (
    SfTrg INTEGER PRIMARY KEY,
    MIC VARCHAR(4),
    TimeZone VARCHAR(3),
    SfTrz VARCHAR(1),
    SfDrzTrg VARCHAR(1)
);

-- FIN rows (joined only)
CREATE TABLE FIN (
    SFFIN INTEGER PRIMARY KEY
);

-- Instruments
CREATE TABLE SFVP (
    SFVP INTEGER PRIMARY KEY,
    ISIN VARCHAR(14),
    KRT VARCHAR(40),
    NZV VARCHAR(120),
    CFI VARCHAR(6),
    IZVCEN REAL,
    ZPDVP REAL,
    PorocanjeZTFI VARCHAR(1),
    SFOSBIZD INTEGER,
    SFFIN INTEGER,
    DANSPR REAL,
    GLVNMN REAL,
    SfVLTNMN INTEGER,
    LOTEMS REAL,
    KOS VARCHAR(1),
    SFGLVENT VARCHAR(1)
);
CREATE INDEX SFVP_ISIN ON SFVP (ISIN);
CREATE INDEX SFVP_UPPER_ISIN ON SFVP (upper(ISIN));
-- The import of manual transactions finds an instrument by its short name.
CREATE INDEX SFVP_KRT ON SFVP (KRT);

-- Listings of instruments on markets; a later listing has a higher code
CREATE TABLE KTC (
    SFKTC INTEGER PRIMARY KEY,
    SFVP INTEGER,
    SFTRG INTEGER,
    Dan REAL,
    DanPrk REAL,
    SfSgt VARCHAR(1)
);
CREATE INDEX KTC_SFVP ON KTC (SFVP, SFKTC);
CREATE INDEX KTC_SFTRG ON KTC (SFTRG, SFVP);

-- Values of instruments by validity period
CREATE TABLE KPN (
    sfkpn INTEGER PRIMARY KEY,
    sfvp INTEGER,
    GLV REAL,
    prvdan REAL,
    zdnDan REAL,
    sfobm VARCHAR(1)
);
CREATE INDEX KPN_SFVP ON KPN (sfvp, prvdan);

-- Trades
CREATE TABLE PSL (
    IdPsl INTEGER PRIMARY KEY,
    Dan REAL,
    Cas REAL,
    SfPsl VARCHAR(1),
    SfDjv VARCHAR(1),
    SfVp INTEGER,
    SfTrg INTEGER,
    SfVlt INTEGER,
    Lot REAL,
    GlvTcj REAL,
    SfGlvEnt VARCHAR(1),
    IdPog INTEGER,
    IdPogTrp INTEGER,
    IdPslTrp INTEGER,
    SfKpn INTEGER,
    SFTYPE VARCHAR(1)
);
CREATE INDEX PSL_DAN ON PSL (Dan);
CREATE INDEX PSL_SFVP ON PSL (SfVp);
CREATE INDEX PSL_IDPSLTRP ON PSL (IdPslTrp);

-- Copies of cancelled trades
CREATE TABLE DPATVPPSLSTN (
    IdPsl INTEGER NOT NULL,
    Dan REAL,
    Cas REAL,
    SfPsl VARCHAR(1),
    SfDjv VARCHAR(1),
    SfVp INTEGER,
    SfTrg INTEGER,
    SfVlt INTEGER,
    Lot REAL,
    GlvTcj REAL,
    SfGlvEnt VARCHAR(1),
    IdPog INTEGER,
    IdPogTrp INTEGER,
    IdPslTrp INTEGER,
    SfKpn INTEGER,
    SFTYPE VARCHAR(1),
    OZNAKAPAKETA CHAR(10),
    IDREFATVP INTEGER,
    IDPSLEDT INTEGER
);
CREATE INDEX DPATVPPSLSTN_IDPSL ON DPATVPPSLSTN (IdPsl);
CREATE INDEX DPATVPPSLSTN_IDPSLEDT ON DPATVPPSLSTN (IDPSLEDT);
