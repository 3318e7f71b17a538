#pragma once

#include <QString>
#include <QVector>

// One column of the report rows: its field declaration and its value in the two kinds of rows
// (trades from the host, manually imported transactions). Calculated columns have no expression;
// they are computed when a row is read.
struct ReportRowColumn {
    enum class Kind { Text, Integer, Number, Date, Time };

    QString name;
    QString label;
    Kind kind;
    int size;         // text size; 0 for other kinds
    bool visible;
    bool calculated;
    QString hostExpression;
    QString importExpression;
};

// The columns in the order of the grid "Transakcije".
const QVector<ReportRowColumn>& reportRowColumns();

// The report-row statement in the Oracle dialect, before the start-up preparation: regular rows
// of the pending selection, cancellations and imported rows joined by UNION, ordered by VRSTA
// DESC, ISSTN DESC. Placeholders %null_int%, %null_char%, %TimeZone_Start%, %TimeZone_End% and
// %SegmentTrg%; parameters Datum, DatumDo (dates) and FMaxDpAtvpId.
QString reportRowsTemplate();
