#include "ntrs/check/ValueWarnings.h"

#include "data/dataset/Dataset.h"
#include "data/dataset/Field.h"
#include "ntrs/check/IsinCheckDigit.h"
#include "ntrs/check/IsoCodes.h"

#include <QRegularExpression>

namespace {

class RowWarnings {
public:
    RowWarnings(const Dataset& row, const QString& reference, const IsoCodes* codes)
        : row_(row), reference_(reference), codes_(codes)
    {
    }

    QString text(const char* column) const { return row_.fieldByName(QLatin1String(column)).asString().trimmed(); }

    void isin(const char* column)
    {
        const QString value = text(column);
        static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[A-Z0-9]{9}[0-9]$"));
        if (shape.match(value).hasMatch() && !hasValidIsinCheckDigit(value))
            add(column, value, QStringLiteral("napačna kontrolna števka ISIN (ISO 6166)"));
    }

    void bic(const char* column)
    {
        const QString value = text(column);
        if (!codes_ || value.size() < 6)
            return;
        if (!codes_->isCountry(value.mid(4, 2).toUpper()))
            add(column, value, QStringLiteral("znaka 5-6 kode BIC nista država po ISO 3166"));
    }

    void currency(const char* column)
    {
        const QString value = text(column);
        if (codes_ && !value.isEmpty() && !codes_->isCurrency(value.toUpper()))
            add(column, value, QStringLiteral("valuta ni v ISO 4217"));
    }

    void mic(const char* column)
    {
        const QString value = text(column);
        static const QRegularExpression shape(QStringLiteral("^[A-Za-z0-9]{4}$"));
        if (!shape.match(value).hasMatch())
            add(column, value, QStringLiteral("koda MIC nima štirih črk ali številk"));
    }

    QList<CheckFinding> found;

private:
    void add(const char* column, const QString& value, const QString& rule)
    {
        const QString field = row_.fieldByName(QLatin1String(column)).displayLabel();
        found.append({CheckFinding::Level::Warning, reference_, field, value, rule});
    }

    const Dataset& row_;
    QString reference_;
    const IsoCodes* codes_;
};

}  // namespace

QList<CheckFinding> valueWarnings(const Dataset& row, const QString& reference, const IsoCodes* codes)
{
    RowWarnings warnings(row, reference, codes);
    warnings.bic("SWIFT_BPH");
    if (warnings.text("ISSTN") == QLatin1String("D"))
        return warnings.found;
    warnings.isin("ISIN");
    warnings.currency("Valuta");
    if (warnings.text("VRSTA") == QLatin1String("I")) {
        // A manual transaction names its parties by their kinds.
        if (warnings.text("OznakaKlijenta") == QLatin1String("BIC"))
            warnings.bic("KRTBNK");
        const QString counterparty = warnings.text("NS_OznakaKlijenta");
        if (counterparty == QLatin1String("BIC"))
            warnings.bic("NS_KRTBNK");
        else if (counterparty == QLatin1String("MIC"))
            warnings.mic("NS_KRTBNK");
        return warnings.found;
    }
    warnings.bic("SWIFT");
    warnings.bic("NS_SWIFT");
    warnings.bic("TRP_SWIFT");
    // An exchange trade names the exchange as its counterparty and, by its MIC, as its venue.
    if (warnings.text("SfTRZ") == QLatin1String("2")) {
        warnings.mic("MIC");
        if (warnings.text("OznakaIdentMesta") == QLatin1String("MIC"))
            warnings.mic("IdentMesta");
    }
    return warnings.found;
}
