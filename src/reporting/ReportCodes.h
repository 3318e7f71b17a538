#pragma once

#include <QString>

// Adds fill at the end (at the front when atFront) until text is at least length characters
// long; an empty fill or a text already long enough returns text unchanged. SWIFT codes are
// written with fill "X" to 11 characters.
QString FormatToLength(const QString& text, int length, bool atFront, const QString& fill);

// The registration number of the reporting firm as reported (MTS_BPHCalc): the first 7
// characters of the configured MatStev when it is set, else of the back-office value.
QString firmRegistration(const QString& matStev, const QString& backOfficeMts);

// The firm identifier of report files and their names: the registration number padded on the
// right with "0" to 10 characters (a text of 10 or more characters stays as it is).
QString firmIdentifier(const QString& registration);

// The transaction reference number of a report row (RefStTransaC): the prefix, zeros and the
// row's reference to 12 characters, checked and cut with "12(n)". Host rows (vrsta other than
// "I") take oxuPrefix; imported rows take importPrefix unless their reference already has 12
// characters. A reference that is not made of digits throws the format error.
QString transactionReference(const QString& vrsta, const QString& refStTransa, const QString& oxuPrefix,
                             const QString& importPrefix);
