#pragma once

#include <QString>

// Rewrites the few constructs of the Oracle and DB2 dialects that are not function calls into
// calls of the embedded engine's functions (letters matched without regard to case; text in
// quotes and comments is left alone):
//   X_SEQ.NEXTVAL, NEXTVAL FOR X_SEQ  ->  ztfi_nextval('X_SEQ')
//   EXTRACT(Year FROM x)             ->  YEAR(x)
//   CURRENT_DATE                     ->  ztfi_current_date()   (Oracle: the date and time now)
//   Current DATE                     ->  ztfi_current_day()    (DB2: today, without a time)
// The PostgreSQL server with orafce needs its own few (same rules for quotes and comments):
//   X_SEQ.NEXTVAL                    ->  nextval('X_SEQ')
//   CURRENT_DATE                     ->  LOCALTIMESTAMP(0)     (the date and time now, as Oracle's)
//   NVL(                             ->  COALESCE(             (orafce's NVL refuses a date and a text)
//   mod(trunc(x), n)                 ->  mod(trunc(x, 0), n)   (mod takes no double precision)
//   :X IS [NOT] NULL                 ->  CAST(:X AS text) IS [NOT] NULL
//                                        (the server cannot tell the type of such a parameter)
namespace SqlRewrite {

QString forSqlite(const QString& sql);
QString forPostgres(const QString& sql);

}  // namespace SqlRewrite
