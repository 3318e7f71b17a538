-- The digest table of the report register for a database made before it. Run once as the
-- owner of the back-office tables, then grants.sql again.

-- The SHA-256 of each registered report file, written and removed with its register row: a
-- report is delivered only as the file that was registered
CREATE TABLE DPATVPXML (
    DPATVPID bigint NOT NULL,
    ZAPST integer NOT NULL,
    SHA256 varchar(64) NOT NULL,
    CONSTRAINT DPATVPXML_PK PRIMARY KEY (DPATVPID, ZAPST)
);
