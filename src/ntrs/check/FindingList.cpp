#include "ntrs/check/FindingList.h"

namespace {

struct FindingColumn {
    const char* name;
    const char* label;
    int width;
};

const FindingColumn kFindingColumns[] = {
    {"Raven", "Raven", 10},
    {"RefStTransaC", "Referenčna št. transakcije", 14},
    {"Polje", "Polje", 24},
    {"Vrednost", "Vrednost", 24},
    {"Pravilo", "Pravilo", 60},
};

}  // namespace

FindingList::FindingList(Connection& connection, QObject* parent)
    : Dataset(connection, QStringLiteral("qPreveriNabor"), parent)
{
    for (const FindingColumn& column : kFindingColumns) {
        FieldDef def;
        def.name = QLatin1String(column.name);
        def.type = FieldType::String;
        def.size = 255;
        def.displayLabel = QString::fromUtf8(column.label);
        def.displayWidth = column.width;
        addField(def);
    }
}

void FindingList::show(const QList<CheckFinding>& findings)
{
    findings_ = findings;
    close();
    open();
}

void FindingList::openCursor()
{
    QList<EngineColumn> columns;
    for (const FindingColumn& column : kFindingColumns)
        columns.append({QLatin1String(column.name), FieldType::String, 255});
    bindFields(columns);
    // A row is stored before the current one: the findings go in from the last.
    for (auto it = findings_.crbegin(); it != findings_.crend(); ++it) {
        beginRowEdit(true);
        field(0).setValue(it->levelText());
        field(1).setValue(it->reference);
        field(2).setValue(it->field);
        field(3).setValue(it->value);
        field(4).setValue(it->rule);
        storeEditedRow();
    }
}
