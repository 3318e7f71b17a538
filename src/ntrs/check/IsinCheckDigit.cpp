#include "ntrs/check/IsinCheckDigit.h"

bool hasValidIsinCheckDigit(const QString& isin)
{
    if (isin.size() != 12 || !isin.at(11).isDigit())
        return false;
    QString digits;
    for (int i = 0; i < 11; ++i) {
        const QChar c = isin.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            digits += QString::number(c.unicode() - 'A' + 10);
        else
            return false;
    }
    // The rightmost digit is doubled, then every other one to the left of it.
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digits.at(i).unicode() - '0';
        if (doubled) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        doubled = !doubled;
    }
    return (10 - sum % 10) % 10 == isin.at(11).unicode() - '0';
}
