#pragma once

#include "exchange/Cell.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

// The values of a sheet of manual transactions in either form a spreadsheet leaves them: dates,
// times and numbers as texts in the system's formats, or as the spreadsheet's own dates and
// numbers (a spreadsheet turns texts that look like dates or numbers into them as it stores
// them). A value that is neither throws ZtfiError ("EConvertError"): "\"<value>\" ni število."
// (datum, čas, celo število).
namespace SheetValues {

// The text of a cell; a leading apostrophe (a spreadsheet's marker of a text) is dropped.
QString text(const Cell& cell);
// "dd.mm.yyyy" (a time after it is ignored) or a spreadsheet date.
QDate date(const Cell& cell);
// "hh:mm[:ss]", a date and time whose time is taken, or the fraction of a spreadsheet day (a
// negative number is no time).
QTime time(const Cell& cell);
// A number, or a text with a decimal comma and thousands points ("1.234,50"); a text with a
// single point and no comma ("12.75") reads the point as the decimal point. NULL when empty.
QVariant number(const Cell& cell);
// A whole number, as a number or a text; NULL when empty.
QVariant integer(const Cell& cell);

}  // namespace SheetValues
