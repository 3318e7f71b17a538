#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

// The text conversions of the Oracle dialect that the embedded engine provides as TO_CHAR and
// TO_DATE.
namespace OracleFormat {

// A date format of TO_CHAR and TO_DATE, compiled once: the elements YYYY, YY, MM, DD, HH24, MI
// and SS (letters in any case), punctuation and blanks, and text in double quotes. Anything
// else makes the format invalid.
class DateFormat {
public:
    explicit DateFormat(const QString& format);

    bool isValid() const { return error_.isEmpty(); }
    // Why the format is invalid.
    const QString& error() const { return error_; }

    // TO_CHAR(date, format).
    QString format(const QDate& date, const QTime& time) const;

    // TO_DATE(text, format): digits may come without their leading zeros and any run of
    // punctuation or blanks stands for the separators of the format. Elements missing from the
    // format take the current year, the current month, day 1 and midnight. False (with *error
    // set) when the text does not fit the format or is no valid date.
    bool parse(const QString& text, QDate* date, QTime* time, QString* error) const;

private:
    struct Element {
        enum Kind { Year4, Year2, Month, Day, Hour24, Minute, Second, Literal } kind;
        QString literal;
    };

    QString text_;
    QList<Element> elements_;
    QString error_;
    // Whether a parsed date takes part of the current date (no YYYY, no MM, or YY): the clock is
    // read only then, not for every converted value.
    bool needsToday_ = true;
};

// TO_CHAR(number): whole numbers without a decimal point, others with up to 15 significant
// digits and no exponent; a leading zero before the point is left out (0.5 -> ".5").
QString numberText(double value);

}  // namespace OracleFormat
