#include "listing/ListColumns.h"

#include "data/dataset/Dataset.h"

QList<Field*> listColumns(const Dataset& dataset)
{
    QList<Field*> columns;
    for (Field* field : dataset.fields()) {
        if (field->visible())
            columns.append(field);
    }
    return columns;
}
