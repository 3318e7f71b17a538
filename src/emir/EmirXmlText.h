#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// One dispute as the EMIR file lists it.
struct EmirXmlDispute {
    QString party;
    QString counterparty;
    QDate firstDay;
    QDate lastDay;  // null: the element is left out
    double amount = 0;
    QString notes;
};

// What an EMIR file says of a report.
struct EmirXmlReport {
    QString firmCode;    // MaticnaStevilkaZavezanca and ZavezanecZaPorocanje
    QDateTime preparedAt;  // DanCasKreiranja: CreationDate and CreationTime
    int serial = 0;      // ZapSt
    QDate reportDay;     // DanPorocila
    int unconfirmed = 0; // StNepotrjenih: its element is left out when 0
    bool cancelled = false;  // the cancellation notice instead of the report
    QList<EmirXmlDispute> disputes;  // in the order of the dispute list
};

namespace EmirXmlText {

// The text of the file: one line per element, indented by two spaces per enclosing element,
// CR LF after every line, UTF-8 without a byte-order mark. A report without disputes is an
// "EMTR" report with one item; with disputes an "EMSP" report with one item per dispute.
QByteArray document(const EmirXmlReport& report);

// A text value with & < > " ' written as entities (the ampersand first).
QString escaped(const QString& text);
// The amount by the number pattern "0,00": rounded to a whole number, at least three digits,
// thousands grouped by the point (1234.56 gives "1.235", 5 gives "005").
QString amount(double value);

}  // namespace EmirXmlText
