#include "data/dataset/Queries.h"
#include "ntrs/InstrumentRowIndex.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

// The index moves the code list exactly as the walk of Dataset::locate does: to the first row
// of a code that appears twice, and nowhere for a code the list does not hold.
TEST(InstrumentRowIndex, FindsTheRowThatLocateFinds)
{
    FixtureDb db;
    TQueryDM walked(db.connection(), QStringLiteral("qWalked"));
    TQueryDM indexed(db.connection(), QStringLiteral("qIndexed"));
    for (TQueryDM* list : {&walked, &indexed}) {
        FieldDef key;
        key.name = QStringLiteral("IntIdent");
        key.type = FieldType::Integer;
        list->addField(key);
        list->setSql(QStringLiteral("SELECT 5 AS IntIdent UNION ALL SELECT 7 UNION ALL SELECT NULL "
                                    "UNION ALL SELECT 5 UNION ALL SELECT 9"));
        list->open();
        list->last();
    }
    InstrumentRowIndex index(indexed);

    for (const qint64 code : {qint64(5), qint64(9), qint64(7), qint64(0), qint64(12), qint64(5)}) {
        SCOPED_TRACE(code);
        const bool found = walked.locate(QStringLiteral("IntIdent"), QVariantList{code});
        EXPECT_EQ(index.locate(code), found);
        EXPECT_EQ(indexed.recNo(), walked.recNo());
    }
}

}  // namespace
