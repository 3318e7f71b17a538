-- Back-office tables that the workstation reads, for a PostgreSQL test server with the orafce
-- extension. Only the columns the workstation uses. Apply with public first in the search path,
-- before own.sql. Dates are orafce's oracle.date (the day and the time of day).

-- Currencies
CREATE TABLE VLT (
    SfVlt integer PRIMARY KEY,
    KRT VARCHAR(3)
);

-- Countries
CREATE TABLE DRZ (
    SfDrz integer PRIMARY KEY,
    ISOKODA VARCHAR(2)
);

-- Persons; person 2 is the reporting firm itself
CREATE TABLE OSB (
    SfOsb integer PRIMARY KEY,
    MTS VARCHAR(20),
    SWIFT VARCHAR(11),
    KRTBNK VARCHAR(20),
    NZV VARCHAR(80),
    SfDrz integer
);

-- Contracts of clients
CREATE TABLE POG (
    IdPog bigint PRIMARY KEY,
    SfOsb integer,
    NZV VARCHAR(80),
    KRTKDD VARCHAR(10),
    REMOTECLAN VARCHAR(20)
);
CREATE INDEX POG_SFOSB ON POG (SfOsb);

-- Markets
CREATE TABLE TRG (
    SfTrg integer PRIMARY KEY,
    MIC VARCHAR(4),
    TimeZone VARCHAR(3),
    SfTrz VARCHAR(1),
    SfDrzTrg VARCHAR(1)
);

-- FIN rows (joined only)
CREATE TABLE FIN (
    SFFIN integer PRIMARY KEY
);

-- Instruments
CREATE TABLE SFVP (
    SFVP integer PRIMARY KEY,
    ISIN VARCHAR(14),
    KRT VARCHAR(40),
    NZV VARCHAR(120),
    CFI VARCHAR(6),
    IZVCEN numeric,
    ZPDVP oracle.date,
    PorocanjeZTFI VARCHAR(1),
    SFOSBIZD integer,
    SFFIN integer,
    DANSPR oracle.date,
    GLVNMN numeric,
    SfVLTNMN integer,
    LOTEMS numeric,
    KOS VARCHAR(1),
    SFGLVENT VARCHAR(1)
);
CREATE INDEX SFVP_ISIN ON SFVP (ISIN);
CREATE INDEX SFVP_UPPER_ISIN ON SFVP (upper(ISIN));
-- The import of manual transactions finds an instrument by its short name.
CREATE INDEX SFVP_KRT ON SFVP (KRT);

-- Listings of instruments on markets; a later listing has a higher code
CREATE TABLE KTC (
    SFKTC integer PRIMARY KEY,
    SFVP integer,
    SFTRG integer,
    Dan oracle.date,
    DanPrk oracle.date,
    SfSgt VARCHAR(1)
);
CREATE INDEX KTC_SFVP ON KTC (SFVP, SFKTC);
CREATE INDEX KTC_SFTRG ON KTC (SFTRG, SFVP);

-- Values of instruments by validity period
CREATE TABLE KPN (
    sfkpn integer PRIMARY KEY,
    sfvp integer,
    GLV numeric,
    prvdan oracle.date,
    zdnDan oracle.date,
    sfobm VARCHAR(1)
);
CREATE INDEX KPN_SFVP ON KPN (sfvp, prvdan);

-- Trades
CREATE TABLE PSL (
    IdPsl bigint PRIMARY KEY,
    Dan oracle.date,
    Cas oracle.date,
    SfPsl VARCHAR(1),
    SfDjv VARCHAR(1),
    SfVp integer,
    SfTrg integer,
    SfVlt integer,
    Lot numeric,
    GlvTcj numeric,
    SfGlvEnt VARCHAR(1),
    IdPog bigint,
    IdPogTrp bigint,
    IdPslTrp bigint,
    SfKpn integer,
    SFTYPE VARCHAR(1)
);
CREATE INDEX PSL_DAN ON PSL (Dan);
CREATE INDEX PSL_SFVP ON PSL (SfVp);
CREATE INDEX PSL_IDPSLTRP ON PSL (IdPslTrp);

-- Copies of cancelled trades
CREATE TABLE DPATVPPSLSTN (
    IdPsl bigint NOT NULL,
    Dan oracle.date,
    Cas oracle.date,
    SfPsl VARCHAR(1),
    SfDjv VARCHAR(1),
    SfVp integer,
    SfTrg integer,
    SfVlt integer,
    Lot numeric,
    GlvTcj numeric,
    SfGlvEnt VARCHAR(1),
    IdPog bigint,
    IdPogTrp bigint,
    IdPslTrp bigint,
    SfKpn integer,
    SFTYPE VARCHAR(1),
    OZNAKAPAKETA CHAR(10),
    IDREFATVP bigint,
    IDPSLEDT bigint
);
CREATE INDEX DPATVPPSLSTN_IDPSL ON DPATVPPSLSTN (IdPsl);
CREATE INDEX DPATVPPSLSTN_IDPSLEDT ON DPATVPPSLSTN (IDPSLEDT);
