#include "signing/RegisterTable.h"

#include "data/dataset/FieldDef.h"
#include "data/dataset/TDMTable.h"

namespace RegisterTable {

namespace {

FieldDef column(const char* name, FieldType type, int size = 0)
{
    FieldDef def;
    def.name = QLatin1String(name);
    def.type = type;
    def.size = size;
    return def;
}

}  // namespace

std::unique_ptr<TDMTable> create(Connection& connection)
{
    auto table = std::make_unique<TDMTable>(connection, QStringLiteral("tDPATVP"));
    table->setTableName(QStringLiteral("DPATVP"));
    table->addField(column("DPATVPID", FieldType::Integer));
    table->addField(column("DANPOROCANJA", FieldType::DateTime));
    table->addField(column("DAN", FieldType::DateTime));
    table->addField(column("ZAPST", FieldType::Integer));
    table->addField(column("XML_FILE", FieldType::String, 30));
    table->addField(column("STATUS", FieldType::Integer));
    table->addField(column("DANOD", FieldType::DateTime));
    table->setIndexFieldNames(QStringLiteral("DPATVPID;ZAPST"));
    return table;
}

}  // namespace RegisterTable
