#pragma once

#include "data/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>

// The override list of the tab "Fin. instr." (qDPATVP_SFVP): the current rows of ISINs with
// several rows, the rows of ISINs carried by several live host instruments, and every pending
// row, restricted to an ISIN pattern.
namespace OverrideList {

// The statement; parameter ISIN (text, a LIKE pattern).
QString statement();

// The pattern of the parameter ISIN for the text typed into the ISIN field: the text and "%".
QString isinPattern(const QString& typedText);

// The declared fields: every column of DPATVP_SFVP; ISIN, SFVP_POROCANJE, SFVP_OLD and DANSPR
// shown, the rest hidden.
const QList<FieldDef>& fields();

// How a row of the list is drawn.
enum class RowColour {
    Normal,
    Pending,   // red: no reporting instrument chosen yet
    Replaced,  // silver grey: the row replaced an earlier reporting instrument
};

// The colour of a row from its SFVP_POROCANJE and SFVP_OLD; a row that is both pending and
// replacing is drawn as replaced.
RowColour rowColour(const QVariant& reportingInstrument, const QVariant& replacedInstrument);

// Whether a row is pending (its SFVP_POROCANJE is empty).
bool isPending(const QVariant& reportingInstrument);

}  // namespace OverrideList
