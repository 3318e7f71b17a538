-- The digest table of the report register for a back-office schema made before it.
-- Run once as the schema owner of the back-office tables.

-- The SHA-256 of each registered report file, written and removed with its register row: a
-- report is delivered only as the file that was registered
CREATE TABLE DPATVPXML (
    DPATVPID NUMBER(18) NOT NULL,
    ZAPST NUMBER(10) NOT NULL,
    SHA256 VARCHAR2(64) NOT NULL,
    CONSTRAINT DPATVPXML_PK PRIMARY KEY (DPATVPID, ZAPST)
);
