#include "data/dataset/HiddenCardFields.h"

#include "data/dataset/Dataset.h"

void addHiddenCardFields(Dataset& dataset)
{
    if (dataset.findField(QStringLiteral("KrtKDD")) || dataset.findField(QStringLiteral("KrtBIS"))
        || !dataset.findField(QStringLiteral("IdPog")))
        return;
    for (const QString& name : {QStringLiteral("IdPogKrtBis"), QStringLiteral("IdPogKrtKdd")}) {
        if (dataset.findField(name))
            continue;
        FieldDef def;
        def.name = name;
        def.type = FieldType::Integer;
        def.kind = FieldDef::Kind::Calculated;
        def.visible = false;
        dataset.addField(def);
    }
}
