#include "exchange/ImportRowCheck.h"

#include "core/EnteredText.h"
#include "core/Formats.h"
#include "exchange/ImportColumns.h"

#include <cmath>

namespace {

// The largest price or quantity a report carries is below this.
constexpr double kNumberLimit = 1e15;

}  // namespace

QString importRowFault(const std::vector<QVariant>& row)
{
    for (const ImportColumn& column : importColumns()) {
        const QVariant& value = row[size_t(column.index)];
        if (!column.stored || value.isNull() || !value.isValid())
            continue;
        const QString label = QString::fromUtf8(column.label);
        switch (column.kind) {
        case ImportColumn::Kind::Text: {
            const QString fault = EnteredText::fault(label, value.toString(), column.size);
            if (!fault.isEmpty())
                return fault;
            break;
        }
        case ImportColumn::Kind::Number: {
            const double number = value.toDouble();
            if (!(number >= 0 && number < kNumberLimit))
                return label + QStringLiteral(": vrednost %1 ni med 0 in 999.999.999.999.999.")
                                   .arg(std::fabs(number) < kNumberLimit ? Formats::numberText(number) : QString::number(number));
            break;
        }
        case ImportColumn::Kind::Integer:
            if (column.index == ImportColumn::kReference && value.toLongLong() <= 0)
                return label + QStringLiteral(": vrednost %1 ni pozitivno celo število.").arg(value.toLongLong());
            break;
        default:
            break;
        }
    }
    return QString();
}
