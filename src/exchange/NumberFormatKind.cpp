#include "exchange/NumberFormatKind.h"

#include <QRegularExpression>

Cell::Kind kindOfNumberFormat(int id, const QString& code)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return Cell::Kind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return Cell::Kind::Time;
    if (id == 22)
        return Cell::Kind::DateTime;
    if (code.isEmpty())
        return Cell::Kind::Number;
    // The first section of the code, without quoted texts, escaped characters and bracketed
    // parts other than the elapsed-time ones ([h], [mm], [ss]).
    static const QRegularExpression literals(QStringLiteral(R"("[^"]*"|\\.|_.|\*.|\[(?![hms]+\])[^\]]*\])"));
    QString shown = code.section(QLatin1Char(';'), 0, 0);
    shown.remove(literals);
    shown = shown.toLower();
    const bool date = shown.contains(QLatin1Char('y')) || shown.contains(QLatin1Char('d'));
    const bool time = shown.contains(QLatin1Char('h')) || shown.contains(QLatin1Char('s'));
    if (date && time)
        return Cell::Kind::DateTime;
    if (date)
        return Cell::Kind::Date;
    if (time)
        return Cell::Kind::Time;
    return Cell::Kind::Number;
}
