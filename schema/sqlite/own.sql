-- The workstation's own tables for the embedded engine, with the audit table ACT and the
-- sequences. Apply after host.sql. Dates are REAL: days since 30.12.1899, the time of day as
-- the fraction.

-- Register of generated reports; a regeneration shares DPATVPID and differs in ZAPST
CREATE TABLE DPATVP (
    DPATVPID INTEGER NOT NULL,
    DANPOROCANJA REAL NOT NULL,
    DAN REAL,
    ZAPST INTEGER NOT NULL,
    XML_FILE VARCHAR(30),
    STATUS INTEGER,
    DANOD REAL,
    PRIMARY KEY (DPATVPID, ZAPST)
);
CREATE INDEX DPATVP_DANPOROCANJA ON DPATVP (DANPOROCANJA);
CREATE INDEX DPATVP_DAN ON DPATVP (DAN);
CREATE INDEX DPATVP_XML_FILE ON DPATVP (XML_FILE);

-- The SHA-256 of each registered report file, written and removed with its register row: a
-- report is delivered only as the file that was registered
CREATE TABLE DPATVPXML (
    DPATVPID INTEGER NOT NULL,
    ZAPST INTEGER NOT NULL,
    SHA256 VARCHAR(64) NOT NULL,
    PRIMARY KEY (DPATVPID, ZAPST)
);

-- Transactions of a selection and of a report; a regenerated report may hold a trade and its
-- cancellation side by side
CREATE TABLE DPATVPPSL (
    DPATVPID INTEGER NOT NULL,
    IDPSL INTEGER NOT NULL,
    ISSTN VARCHAR(1) NOT NULL,
    IDREFATVP INTEGER NOT NULL,
    PRIMARY KEY (DPATVPID, IDPSL, ISSTN)
);
CREATE INDEX DPATVPPSL_IDPSL ON DPATVPPSL (IDPSL, ISSTN);

-- Manually imported transactions
CREATE TABLE DPATVPIMP (
    IDIMP INTEGER PRIMARY KEY,
    DATUM REAL,
    CAS REAL,
    CASPAS VARCHAR(3),
    INDNAKPRO VARCHAR(1),
    TRGZMO VARCHAR(1),
    ISIN VARCHAR(12),
    KRTVP VARCHAR(40),
    CENA REAL,
    ZAPCENE VARCHAR(1),
    VAL VARCHAR(3),
    KOL REAL,
    NASSTR VARCHAR(11),
    OZNNASSTR VARCHAR(3),
    KLIENT VARCHAR(11),
    OZNKLIENTA VARCHAR(8),
    IDENTMESTA VARCHAR(20),
    OZNMESTA VARCHAR(4),
    RAZTRANSA VARCHAR(1),
    REFSTTRANSA INTEGER,
    INTINDINSTR INTEGER,
    DPATVPID INTEGER
);
CREATE INDEX DPATVPIMP_DATUM ON DPATVPIMP (DATUM);
CREATE INDEX DPATVPIMP_DPATVPID ON DPATVPIMP (DPATVPID);
CREATE INDEX DPATVPIMP_REFSTTRANSA ON DPATVPIMP (REFSTTRANSA);

-- Instrument overrides for reporting. Several rows of one ISIN may name the same reporting
-- instrument (an identity row beside replacement rows, versions over time), so the key index
-- is not unique; the current row of an ISIN is the one with the greatest DANSPR.
CREATE TABLE DPATVP_SFVP (
    ISIN VARCHAR(14),
    SFVP_POROCANJE INTEGER,
    SFVP_OLD INTEGER,
    AII_MIC VARCHAR(4),
    AII_PRODUCT VARCHAR(12),
    AII_CFI VARCHAR(6),
    AII_EXPIRY REAL,
    AII_STRIKEPRICE REAL,
    IZD VARCHAR(80),
    DRZ_IZD VARCHAR(2),
    DANSPR REAL,
    GLVNMN REAL,
    VLT VARCHAR(3),
    LOTEMS REAL,
    USRSPR VARCHAR(20),
    XML VARCHAR(1),
    SFVP_OXU INTEGER,
    DANSPR_SFVP REAL,
    INSTRUMENTNAME VARCHAR(40)
);
CREATE INDEX DPATVP_SFVP_KEY ON DPATVP_SFVP (ISIN, SFVP_POROCANJE);
CREATE INDEX DPATVP_SFVP_ISIN_DANSPR ON DPATVP_SFVP (ISIN, DANSPR);
CREATE INDEX DPATVP_SFVP_OXU ON DPATVP_SFVP (SFVP_OXU);
-- The rows that name an instrument as the reporting one (the override synchronisation
-- compares them with the host data of that instrument).
CREATE INDEX DPATVP_SFVP_POROCANJE ON DPATVP_SFVP (SFVP_POROCANJE);
-- The report rows find the override rows of a trade's instrument by the upper-cased ISIN.
CREATE INDEX DPATVP_SFVP_UPPER_ISIN ON DPATVP_SFVP (upper(ISIN));

-- EMIR reports
CREATE TABLE EMIRPOROCILO (
    EMIRPorociloId INTEGER PRIMARY KEY,
    ZapSt INTEGER,
    DanOd REAL,
    DanDo REAL,
    StNepotrjenih INTEGER,
    DanPorocila REAL,
    DanCasKreiranja REAL,
    Preklicano VARCHAR(1),
    DanCasPreklica REAL,
    EMIRPorociloStnId INTEGER
);

-- EMIR disputes
CREATE TABLE EMIRPOSEL (
    EMIRPoselId INTEGER PRIMARY KEY,
    Stranka VARCHAR(250),
    NasStranka VARCHAR(250),
    DatZacetka REAL,
    DatZakljucka REAL,
    Vrednost REAL,
    Opombe VARCHAR(250),
    EMIRPorociloId INTEGER
);
CREATE INDEX EMIRPOSEL_POROCILO ON EMIRPOSEL (EMIRPorociloId);

-- Audit trail (a back-office table; the workstation only inserts)
CREATE TABLE ACT (
    IdAct INTEGER,
    Usr VARCHAR(20),
    SfAct VARCHAR(1),
    Cas REAL,
    SfApp VARCHAR(1),
    SfOrg VARCHAR(10),
    Cmp VARCHAR(20),
    Db VARCHAR(10),
    Tbl VARCHAR(30),
    Cnt TEXT
);
CREATE UNIQUE INDEX ACT_IDACT ON ACT (IdAct);

-- Sequences of the embedded engine: value is the last value handed out.
CREATE TABLE ztfi_sequence (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    value INTEGER NOT NULL
);
INSERT INTO ztfi_sequence (name, value) VALUES ('DPATVPPSL_SEQ', 0);
INSERT INTO ztfi_sequence (name, value) VALUES ('ACT_IDACT_SEQ', 0);
INSERT INTO ztfi_sequence (name, value) VALUES ('EMIRPOSEL_ID_SEQ', 0);
INSERT INTO ztfi_sequence (name, value) VALUES ('EMIRPOROCILO_ID_SEQ', 0);
