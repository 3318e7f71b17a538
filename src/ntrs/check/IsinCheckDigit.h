#pragma once

#include <QString>

// Whether the twelfth character of an ISIN of twelve letters and digits is the check digit of
// the first eleven (ISO 6166: letters as 10 to 35, then the Luhn sum of the digits).
bool hasValidIsinCheckDigit(const QString& isin);
