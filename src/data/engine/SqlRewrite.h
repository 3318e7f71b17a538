#pragma once

#include <QString>

// Rewrites the few constructs of the Oracle and DB2 dialects that are not function calls into
// calls of the embedded engine's functions (letters matched without regard to case; text in
// quotes and comments is left alone):
//   X_SEQ.NEXTVAL, NEXTVAL FOR X_SEQ  ->  ztfi_nextval('X_SEQ')
//   EXTRACT(Year FROM x)             ->  YEAR(x)
//   CURRENT_DATE                     ->  ztfi_current_date()   (Oracle: the date and time now)
//   Current DATE                     ->  ztfi_current_day()    (DB2: today, without a time)
namespace SqlRewrite {

QString forSqlite(const QString& sql);

}  // namespace SqlRewrite
