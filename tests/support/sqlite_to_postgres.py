"""Prints the rows of an embedded database (SQLite file) as psql input for a database made from
schema/postgresql: one COPY block per table that the PostgreSQL schema declares, and the sequences
set where the embedded ones stand. Dates (REAL days since 30.12.1899 in the embedded engine)
become date-times to the second, the precision of orafce's DATE.
usage: sqlite_to_postgres.py SQLITE_FILE SCHEMA_DIR"""
import datetime
import pathlib
import re
import sqlite3
import sys

DAY_ZERO = datetime.datetime(1899, 12, 30)


def declared_tables(schema_dir):
    """Table name (upper case) -> {column name (upper case): is a date}."""
    tables = {}
    for name in ("host.sql", "own.sql"):
        text = (pathlib.Path(schema_dir) / name).read_text()
        text = re.sub(r"--[^\n]*", "", text)
        for table, body in re.findall(r"CREATE TABLE (\w+) \((.*?)\n\);", text, re.S):
            columns = {}
            for line in body.split("\n"):
                words = line.strip().rstrip(",").split()
                if len(words) >= 2 and words[0].upper() not in ("CONSTRAINT", "PRIMARY"):
                    columns[words[0].upper()] = words[1].lower() == "oracle.date"
            tables[table.upper()] = columns
    return tables


def text(value, is_date):
    if value is None:
        return "\\N"
    if is_date:
        moment = DAY_ZERO + datetime.timedelta(days=float(value))
        moment = (moment + datetime.timedelta(microseconds=500000)).replace(microsecond=0)
        return moment.strftime("%Y-%m-%d %H:%M:%S")
    if isinstance(value, float) and value.is_integer():
        value = int(value)
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def main():
    db = sqlite3.connect(sys.argv[1])
    tables = declared_tables(sys.argv[2])
    out = sys.stdout
    existing = {row[0].upper(): row[0] for row in db.execute("SELECT name FROM sqlite_master WHERE type='table'")}
    for table, columns in tables.items():
        if table not in existing:
            continue
        cursor = db.execute(f"SELECT * FROM {existing[table]}")
        names = [d[0].upper() for d in cursor.description]
        kept = [i for i, n in enumerate(names) if n in columns]
        out.write(f"COPY {table} ({', '.join(names[i] for i in kept)}) FROM STDIN;\n")
        for row in cursor:
            out.write("\t".join(text(row[i], columns[names[i]]) for i in kept) + "\n")
        out.write("\\.\n")
    if "ZTFI_SEQUENCE" in existing:
        for name, value in db.execute("SELECT name, value FROM ztfi_sequence"):
            if value and value > 0:
                out.write(f"SELECT setval('{name}', {int(value)});\n")


main()
