#pragma once

#include <QDateTime>
#include <QString>

// The value of one worksheet cell as a workbook holds it. Dates and times are spreadsheet
// serial numbers (days since 30 December 1899, the time of day as the fraction); which of the
// three a number is comes from the cell's number format.
class Cell {
public:
    enum class Kind : unsigned char { Empty, Text, Number, Date, Time, DateTime, Boolean, Error };

    Cell() = default;
    static Cell text(const QString& value);
    static Cell number(double value);
    static Cell date(const QDate& value);
    static Cell dateTime(const QDateTime& value);
    // A serial number shown as a date, a time of day or both.
    static Cell serial(Kind kind, double days);
    static Cell boolean(bool value);
    // An error value, named as the spreadsheet shows it ("#DIV/0!").
    static Cell error(const QString& name);

    Kind kind() const { return kind_; }
    // Empty, or a text without characters.
    bool isEmpty() const;
    bool isError() const { return kind_ == Kind::Error; }
    bool isDateOrTime() const { return kind_ == Kind::Date || kind_ == Kind::Time || kind_ == Kind::DateTime; }
    // The number of a number, date, time or boolean cell; 0 otherwise.
    double numberValue() const { return number_; }
    // The date and time of a date, time or date-and-time cell (a time alone is on 30.12.1899).
    QDateTime dateTimeValue() const;

    // The value as the system shows it: texts as they are, numbers with a decimal comma and no
    // thousands separator, dates "dd.mm.yyyy", times "hh:mm:ss", a date with a time of day as
    // both, booleans "True" and "False", errors by their name, an empty cell as "".
    QString toText() const;

    bool operator==(const Cell& other) const;

private:
    Kind kind_ = Kind::Empty;
    double number_ = 0;
    QString text_;
};
