#pragma once

#include <QString>

// The one check that every value passes before it is written into a report.
//
// A format is a sequence of groups "count(kind)", e.g. "1(S)2(n)" or "12(n)"; each group covers
// the next count characters of the value:
//   S  "+" or "-"
//   a  letters A-Z, a-z and Š Ž š ž Ć Č Đ ć č đ
//   n  digits
//   d  the whole value is a decimal number; it is normalised to "0.#####" with "." (never cut)
//   x  anything
// Any other kind tests nothing. A part missing because the value is shorter passes. A format of
// exactly one group cuts a longer value to the group's count.

// The field whose value is checked, as the check sees it.
struct CheckedField {
    QString name;          // "ISIN" and the SWIFT fields are trimmed before the test
    QString displayLabel;  // named in the error text (the name when empty)
    QString text;          // the field's value as text
};

// Assembles prefix + field text + suffix (prefix + suffix without a field), tests it against
// format and returns the value after cutting and normalising. A value that breaks the format
// throws ZtfiError with the message that names reference (the transaction reference number of
// the current report row), the field and the value. A "d" value that is not a number at all
// throws the conversion error ("EConvertError").
QString ProveraFormata(const QString& reference, const CheckedField* field, const QString& format,
                       const QString& suffix = QString(), const QString& prefix = QString());

// The value after cutting and normalising, and whether it fits its format.
struct FormatCheck {
    QString value;
    bool fits = true;
};

// The same check, telling a value that does not fit instead of raising its message (a "d" value
// that is not a number at all still throws the conversion error).
FormatCheck checkFormat(const CheckedField* field, const QString& format, const QString& suffix = QString(),
                        const QString& prefix = QString());
// prefix + the field's text (trimmed as the check trims it) + suffix: the value the check tests.
QString assembledValue(const CheckedField* field, const QString& suffix = QString(), const QString& prefix = QString());
