-- The workstation's own tables and sequences in a PostgreSQL back-office database with the
-- orafce extension (CREATE EXTENSION orafce). Run once as the owner of the back-office tables,
-- with public first in the search path (SET search_path = public, oracle). Dates are orafce's
-- oracle.date: the day and the time of day, as in Oracle.

-- Register of generated reports; a regeneration shares DPATVPID and differs in ZAPST
CREATE TABLE DPATVP (
    DPATVPID bigint NOT NULL,
    DANPOROCANJA oracle.date NOT NULL,
    DAN oracle.date,
    ZAPST integer NOT NULL,
    XML_FILE varchar(30),
    STATUS integer,
    DANOD oracle.date,
    CONSTRAINT DPATVP_PK PRIMARY KEY (DPATVPID, ZAPST)
);
CREATE INDEX DPATVP_DANPOROCANJA ON DPATVP (DANPOROCANJA);
CREATE INDEX DPATVP_DAN ON DPATVP (DAN);
CREATE INDEX DPATVP_XML_FILE ON DPATVP (XML_FILE);

-- The SHA-256 of each registered report file, written and removed with its register row: a
-- report is delivered only as the file that was registered
CREATE TABLE DPATVPXML (
    DPATVPID bigint NOT NULL,
    ZAPST integer NOT NULL,
    SHA256 varchar(64) NOT NULL,
    CONSTRAINT DPATVPXML_PK PRIMARY KEY (DPATVPID, ZAPST)
);

-- Transactions of a selection and of a report; a regenerated report may hold a trade and its
-- cancellation side by side
CREATE TABLE DPATVPPSL (
    DPATVPID bigint NOT NULL,
    IDPSL bigint NOT NULL,
    ISSTN varchar(1) NOT NULL,
    IDREFATVP bigint NOT NULL,
    CONSTRAINT DPATVPPSL_PK PRIMARY KEY (DPATVPID, IDPSL, ISSTN)
);
CREATE INDEX DPATVPPSL_IDPSL ON DPATVPPSL (IDPSL, ISSTN);

-- Manually imported transactions
CREATE TABLE DPATVPIMP (
    IDIMP bigint NOT NULL,
    DATUM oracle.date,
    CAS oracle.date,
    CASPAS varchar(3),
    INDNAKPRO varchar(1),
    TRGZMO varchar(1),
    ISIN varchar(12),
    KRTVP varchar(40),
    CENA numeric,
    ZAPCENE varchar(1),
    VAL varchar(3),
    KOL numeric,
    NASSTR varchar(11),
    OZNNASSTR varchar(3),
    KLIENT varchar(11),
    OZNKLIENTA varchar(8),
    IDENTMESTA varchar(20),
    OZNMESTA varchar(4),
    RAZTRANSA varchar(1),
    REFSTTRANSA bigint,
    INTINDINSTR bigint,
    DPATVPID bigint,
    CONSTRAINT DPATVPIMP_PK PRIMARY KEY (IDIMP)
);
CREATE INDEX DPATVPIMP_DATUM ON DPATVPIMP (DATUM);
CREATE INDEX DPATVPIMP_DPATVPID ON DPATVPIMP (DPATVPID);
CREATE INDEX DPATVPIMP_REFSTTRANSA ON DPATVPIMP (REFSTTRANSA);

-- Instrument overrides for reporting. Several rows of one ISIN may name the same reporting
-- instrument (an identity row beside replacement rows, versions over time), so the key index
-- is not unique; the current row of an ISIN is the one with the greatest DANSPR.
CREATE TABLE DPATVP_SFVP (
    ISIN varchar(14),
    SFVP_POROCANJE bigint,
    SFVP_OLD bigint,
    AII_MIC varchar(4),
    AII_PRODUCT varchar(12),
    AII_CFI varchar(6),
    AII_EXPIRY oracle.date,
    AII_STRIKEPRICE numeric,
    IZD varchar(80),
    DRZ_IZD varchar(2),
    DANSPR oracle.date,
    GLVNMN numeric,
    VLT varchar(3),
    LOTEMS numeric,
    USRSPR varchar(20),
    XML varchar(1),
    SFVP_OXU bigint,
    DANSPR_SFVP oracle.date,
    INSTRUMENTNAME varchar(40)
);
CREATE INDEX DPATVP_SFVP_KEY ON DPATVP_SFVP (ISIN, SFVP_POROCANJE);
CREATE INDEX DPATVP_SFVP_ISIN_DANSPR ON DPATVP_SFVP (ISIN, DANSPR);
CREATE INDEX DPATVP_SFVP_OXU ON DPATVP_SFVP (SFVP_OXU);
-- The rows that name an instrument as the reporting one (the override synchronisation
-- compares them with the host data of that instrument).
CREATE INDEX DPATVP_SFVP_POROCANJE ON DPATVP_SFVP (SFVP_POROCANJE);
-- The report rows find the override rows of a trade's instrument by the upper-cased ISIN.
CREATE INDEX DPATVP_SFVP_UPPER_ISIN ON DPATVP_SFVP (UPPER(ISIN));

-- EMIR reports
CREATE TABLE EMIRPOROCILO (
    EMIRPorociloId bigint NOT NULL,
    ZapSt integer,
    DanOd oracle.date,
    DanDo oracle.date,
    StNepotrjenih integer,
    DanPorocila oracle.date,
    DanCasKreiranja oracle.date,
    Preklicano varchar(1),
    DanCasPreklica oracle.date,
    EMIRPorociloStnId bigint,
    CONSTRAINT EMIRPOROCILO_PK PRIMARY KEY (EMIRPorociloId)
);

-- EMIR disputes
CREATE TABLE EMIRPOSEL (
    EMIRPoselId bigint NOT NULL,
    Stranka varchar(250),
    NasStranka varchar(250),
    DatZacetka oracle.date,
    DatZakljucka oracle.date,
    Vrednost numeric,
    Opombe varchar(250),
    EMIRPorociloId bigint,
    CONSTRAINT EMIRPOSEL_PK PRIMARY KEY (EMIRPoselId)
);
CREATE INDEX EMIRPOSEL_POROCILO ON EMIRPOSEL (EMIRPorociloId);

-- Audit trail. ACT belongs to the back-office; create it only where it is missing.
CREATE TABLE ACT (
    IdAct bigint,
    Usr varchar(20),
    SfAct varchar(1),
    Cas oracle.date,
    SfApp varchar(1),
    SfOrg varchar(10),
    Cmp varchar(20),
    Db varchar(10),
    Tbl varchar(30),
    Cnt varchar(4000)
);
CREATE UNIQUE INDEX ACT_IDACT ON ACT (IdAct);

-- Sequences
CREATE SEQUENCE DPATVPPSL_SEQ START WITH 1 INCREMENT BY 1 NO CYCLE;
CREATE SEQUENCE ACT_IDACT_SEQ START WITH 1 INCREMENT BY 1 NO CYCLE;
CREATE SEQUENCE EMIRPOSEL_ID_SEQ START WITH 1 INCREMENT BY 1 NO CYCLE;
CREATE SEQUENCE EMIRPOROCILO_ID_SEQ START WITH 1 INCREMENT BY 1 NO CYCLE;
