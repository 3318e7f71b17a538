#pragma once

#include "data/FieldDef.h"

#include <QList>
#include <QString>

// The instrument code list of the pending selection (qSifrantFinInstr): one row per host
// instrument of the selection, with the values of its applicable override in place of the host
// values. Parameters Datum, DatumDo (dates) and FMaxDpAtvpId (integer).
namespace CodeList {

// The statement with the dialect placeholder %null_int%; the start-up preparation replaces it
// (prepareStatements) and the prepared text is saved for every later use.
QString statementTemplate();

// The declared fields of the list, in the order of its columns.
const QList<FieldDef>& fields();

}  // namespace CodeList
