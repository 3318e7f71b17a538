#pragma once

#include "ntrs/check/CheckFinding.h"

#include <QList>

class Dataset;
class IsoCodes;

// The warnings about the values of the current report row that the report carries and the
// regulator may refuse although they fit their formats: an ISIN whose check digit is wrong, a
// BIC whose letters 5-6 are no ISO 3166 country, a price currency that is no ISO 4217 code (the
// last two only with codes), a MIC that is not four letters or digits. A cancellation carries
// the firm's BIC only.
QList<CheckFinding> valueWarnings(const Dataset& row, const QString& reference, const IsoCodes* codes);
