-- The rights of a desk's role on a PostgreSQL back-office database with the workstation's own
-- tables, and nothing more: it reads the back-office tables, writes the own tables and the
-- audit trail, and takes numbers from the sequences. Run as the owner of the tables, with psql,
-- naming the desks' role (made before, e.g. CREATE ROLE ztfi_desk LOGIN PASSWORD '...'):
--   psql -v desk=ztfi_desk -f schema/postgresql/grants.sql
-- Run it again after an upgrade script has added a table.

-- (orafce's schema oracle, with its functions and its DATE type, is open to every role.)
GRANT USAGE ON SCHEMA public TO :"desk";

-- The back-office tables the workstation reads
GRANT SELECT ON VLT, DRZ, OSB, POG, TRG, FIN, SFVP, KTC, KPN, PSL, DPATVPPSLSTN TO :"desk";

-- The own tables
GRANT SELECT, INSERT, UPDATE, DELETE ON DPATVP, DPATVPPSL, DPATVPIMP, EMIRPOROCILO, EMIRPOSEL TO :"desk";
GRANT SELECT, INSERT, DELETE ON DPATVPXML TO :"desk";
GRANT SELECT, INSERT, UPDATE ON DPATVP_SFVP TO :"desk";

-- The audit trail: rows are added, never changed
GRANT SELECT, INSERT ON ACT TO :"desk";

-- Reference numbers and identifiers
GRANT USAGE ON SEQUENCE DPATVPPSL_SEQ, ACT_IDACT_SEQ, EMIRPOSEL_ID_SEQ, EMIRPOROCILO_ID_SEQ TO :"desk";
