#pragma once

#include "data/engine/Dialect.h"

#include <QString>
#include <QStringList>
#include <optional>

// The statements of the instrument override synchronisation, in the form of each dialect.
namespace OverrideSyncStatement {

// The classification of the host instruments of the pending selection: columns Tip, SFVP_OLD,
// SFVP, ISIN, DANSPR; parameters Datum and DatumDo (dates) and FMaxDpAtvpId (integer).
// One line per fragment; under DB2 every "NVL(" of the finished statement is "COALESCE(".
// For the regeneration of a report the instruments of that report's rows are classified, and
// the empty expiry is compared in the Oracle form also under DB2.
QStringList classificationLines(SqlDialect dialect,
                                std::optional<qint64> regeneratedReport = std::nullopt);
QString classification(SqlDialect dialect, std::optional<qint64> regeneratedReport = std::nullopt);

// A pending row: ISIN, DANSPR, USRSPR, DANSPR_SFVP, SFVP_OXU.
QString insertPending();

// A row with a reporting instrument and the frozen host data; AII_EXPIRY only when the host
// maturity is set, SFVP_OLD and XML only for an instrument that takes over a matured one.
QString insertReporting(bool withExpiry, bool withReplacement);

// What the refresh writes besides the data: nothing, or the replaced and the reporting
// instrument with (daily selection) or without (regeneration) the announcement flag XML.
enum class RefreshReplacement { None, Announced, Silent };

// The refresh of the rows of one ISIN and host instrument (ISIN, SFVP_OXU) with the host data;
// AII_EXPIRY is cleared when the host has no maturity.
QString refresh(bool expiryEmpty, RefreshReplacement replacement);

// The refresh writes every row of its ISIN and host instrument. The other versions of that
// instrument (rows that report another instrument, or none) are set aside for it: their SFVP_OXU
// is negated (parameter SFVP_OXU the code; with reportingSet, SFVP_POROCANJE the instrument the
// refreshed rows report, else they are pending), and negated back after it (parameter SFVP_OXU
// the negated code). Parameter ISIN in both.
QString setAsideOtherVersions(bool reportingSet);
QString putBackOtherVersions();

// The rows of one ISIN (compared upper-cased) and host instrument, latest first: parameters
// ISIN, SFVP_OXU; columns DANSPR_SFVP, SFVP_POROCANJE.
QString existingRows();

}  // namespace OverrideSyncStatement
