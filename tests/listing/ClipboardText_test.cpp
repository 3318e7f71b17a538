#include "data/dataset/Queries.h"
#include "listing/ClipboardText.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

FieldDef field(const char* name, FieldType type, const QString& label, bool visible = true)
{
    FieldDef d;
    d.name = QLatin1String(name);
    d.type = type;
    d.displayLabel = label;
    d.visible = visible;
    return d;
}

TEST(ClipboardText, QuotesTextsDropsTabsAndCarriageReturns)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qList"));
    query.setSql(QStringLiteral("SELECT 'a' || char(9) || 'b\"c' AS T, 1234.5 AS N, 'x' || char(13) || char(10) || 'y' AS M "
                                "UNION ALL SELECT NULL, NULL, ''"));
    query.addField(field("T", FieldType::String, QStringLiteral("Besedilo")));
    FieldDef number = field("N", FieldType::Float, QStringLiteral("Znesek"));
    number.displayFormat = QStringLiteral(",0.00");
    query.addField(number);
    query.addField(field("M", FieldType::Memo, QStringLiteral("Opomba")));
    query.open();

    EXPECT_EQ(clipboardText(QStringLiteral("Seznam"), query),
              QStringLiteral("Seznam\r\n"
                             "Besedilo\tZnesek\tOpomba\t\r\n"
                             "\"ab\"\"c\"\t1.234,50\t\"x\ny\"\t\r\n"
                             "\"\"\t\t\"\"\t\r\n"));
}

TEST(ClipboardText, WithoutVisibleFieldsEmptyLinesAndCancel)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qList"));
    query.setSql(QStringLiteral("SELECT 1 AS A UNION ALL SELECT 2"));
    query.addField(field("A", FieldType::Integer, QStringLiteral("A"), false));
    query.open();
    EXPECT_EQ(clipboardText(QStringLiteral("Naslov"), query), QStringLiteral("Naslov\r\n\r\n\r\n\r\n"));

    int calls = 0;
    EXPECT_EQ(clipboardText(QString(), query, [&calls](int done, int total) {
                  ++calls;
                  EXPECT_EQ(total, 2);
                  return done < 1;
              }),
              std::nullopt);
    EXPECT_EQ(calls, 1);
}

}  // namespace
