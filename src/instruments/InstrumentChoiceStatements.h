#pragma once

#include "data/engine/Dialect.h"

#include <QStringList>

// The statements of the choice of a reporting instrument for a row of the override list.
namespace InstrumentChoiceStatements {

// qSFVP: the host instruments of an ISIN that are reported and were never replaced by another
// one; columns ISIN, SFVP, KRT; parameter ISIN (upper case). Under DB2 "NVL(" is "COALESCE(".
QStringList candidates(SqlDialect dialect);

// qDPATVP_SFVPbyISIN: the ISIN's latest row with a reporting instrument; parameter ISIN.
QStringList latestChosen();

// qDPATVP_SFVPbyISINinSFVP_OLD: the rows of one host instrument and ISIN become 0.001 of a day
// older and lose their announcement flag; parameters SFVP_OXU (integer) and ISIN (text).
QStringList ageing();

// The pending rows of an ISIN (oldest first), then its current row: the rows a choice for the
// ISIN is made on; parameter ISIN.
QStringList pendingRows();
QStringList currentRow();

}  // namespace InstrumentChoiceStatements
