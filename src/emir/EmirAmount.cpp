#include "emir/EmirAmount.h"

#include <QRegularExpression>

#include <cmath>

std::optional<double> parseEmirAmount(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[+-]?(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d+)?([eE][+-]?\\d+)?$"));
    const QString trimmed = text.trimmed();
    if (!form.match(trimmed).hasMatch())
        return std::nullopt;
    QString plain = trimmed;
    plain.remove(QLatin1Char('.'));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}
