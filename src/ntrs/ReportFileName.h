#pragma once

#include <QDate>
#include <QRegularExpression>
#include <QString>

// The name of a transaction report file: "TRDAT01_" + firm + "_" + serial + "_" + yy + ".xml".
// firm is the registration number (MTS_BPHCalc) read as an integer, in decimal, padded on the
// right with "0" to 10 characters; serial has at least four digits ("%.4d"); yy is the
// two-digit year of yearDay. A registration number that is not an integer throws the
// conversion error ("EConvertError").
QString reportFileName(const QString& registration, int serial, const QDate& yearDay);

// The name of a report that failed its validation: the extension ".xml" replaced by ".bad".
QString badReportFileName(const QString& reportFile);

// Matches the names reportFileName() gives.
QRegularExpression reportFileNamePattern();
