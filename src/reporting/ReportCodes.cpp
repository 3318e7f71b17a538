#include "reporting/ReportCodes.h"

#include "reporting/FieldFormat.h"

QString FormatToLength(const QString& text, int length, bool atFront, const QString& fill)
{
    if (fill.isEmpty())
        return text;
    QString result = text;
    while (result.size() < length)
        result = atFront ? fill + result : result + fill;
    return result;
}

QString firmRegistration(const QString& matStev, const QString& backOfficeMts)
{
    return (matStev.isEmpty() ? backOfficeMts : matStev).left(7);
}

QString firmIdentifier(const QString& registration)
{
    return FormatToLength(registration, 10, false, QStringLiteral("0"));
}

QString transactionReference(const QString& vrsta, const QString& refStTransa, const QString& oxuPrefix,
                             const QString& importPrefix)
{
    const bool imported = vrsta == QLatin1String("I");
    QString prefix;
    if (!imported && !oxuPrefix.isEmpty())
        prefix = oxuPrefix;
    else if (imported && !importPrefix.isEmpty() && refStTransa.size() != 12)
        prefix = importPrefix;
    if (!prefix.isEmpty())
        prefix += QString(qMax(0, 12 - prefix.size() - refStTransa.size()), QLatin1Char('0'));
    // The check runs while the row's own reference is being computed, so it names none.
    const CheckedField field{QStringLiteral("RefStTransa"), QStringLiteral("Referenčna št. transakcije"),
                             refStTransa};
    return ProveraFormata(QString(), &field, QStringLiteral("12(n)"), QString(), prefix);
}
