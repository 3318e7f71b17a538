#pragma once

#include <QDate>
#include <QString>

// The colour of the text of a row of the grid "Transakcije".
enum class ReportRowColour {
    Normal,
    CancelledOnFirstDay,   // red (255, 0, 0): cancellation of a trade of the first day
    CancelledEarlier,      // grey (128, 128, 128): cancellation of a trade of another day
    SkippedInternalMatch,  // dark yellow (128, 128, 0), readable on white: the client side of
                           // an own-account match, which the report writer skips
};

// The values of a report row that decide its colour.
struct ReportRowColourInput {
    QString ISSTN;
    QDate Dan;
    qint64 IDPSLTRP = 0;  // 0 when empty
    QString SfDjv;
    QString NS_SFDJV;
};

// The rules are tested in the order above; the later one wins.
ReportRowColour reportRowColour(const ReportRowColourInput& row, const QDate& firstDay);
