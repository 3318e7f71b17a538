#include "listing/ListColumns.h"

#include "data/dataset/Dataset.h"

#include <QFontMetricsF>

QList<Field*> listColumns(const Dataset& dataset)
{
    QList<Field*> columns;
    for (Field* field : dataset.fields()) {
        if (field->visible())
            columns.append(field);
    }
    return columns;
}

double averageCapitalWidth(const QFontMetricsF& metrics)
{
    static const QString capitals = QStringLiteral("ABCDEFGHIJKLMNOPRSTUWZXY");
    return metrics.horizontalAdvance(capitals) / capitals.size();
}
