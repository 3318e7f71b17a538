#pragma once

#include "data/Dialect.h"

#include <QString>
#include <QStringList>

// The statements of the instrument override synchronisation, in the form of each dialect.
namespace OverrideSyncStatement {

// The classification of the host instruments of the pending selection: columns Tip, SFVP_OLD,
// SFVP, ISIN, DANSPR; parameters Datum and DatumDo (dates) and FMaxDpAtvpId (integer).
// One line per fragment; under DB2 every "NVL(" of the finished statement is "COALESCE(".
QStringList classificationLines(SqlDialect dialect);
QString classification(SqlDialect dialect);

// A pending row: ISIN, DANSPR, USRSPR, DANSPR_SFVP, SFVP_OXU.
QString insertPending();

// A row with a reporting instrument and the frozen host data; AII_EXPIRY only when the host
// maturity is set, SFVP_OLD and XML only for an instrument that takes over a matured one.
QString insertReporting(bool withExpiry, bool withReplacement);

// The refresh of the rows of one ISIN and host instrument (ISIN, SFVP_OXU) with the host data;
// AII_EXPIRY is cleared when the host has no maturity. withReplacement also sets SFVP_OLD,
// SFVP_POROCANJE and XML (the row takes over a matured reporting instrument).
QString refresh(bool expiryEmpty, bool withReplacement);

// The rows of one ISIN (compared upper-cased) and host instrument, latest first: parameters
// ISIN, SFVP_OXU; column DANSPR_SFVP.
QString existingRows();

}  // namespace OverrideSyncStatement
