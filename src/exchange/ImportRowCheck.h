#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// A row of manual transactions (the values of importRowValues) checked against the columns of
// DPATVPIMP it goes to, before anything of it is written: every text no longer than its column
// and without control characters, the price and the quantity from 0 to below 10^15, the
// transaction reference number a positive whole number. Returns the reason of the first value
// that does not fit, for the user, or empty.
QString importRowFault(const std::vector<QVariant>& row);
