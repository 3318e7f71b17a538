#include "data/dataset/DatasetModel.h"
#include "data/dataset/TDMTable.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

FieldDef def(const QString& name, FieldType type, const QString& label, bool visible = true)
{
    FieldDef d;
    d.name = name;
    d.type = type;
    d.displayLabel = label;
    d.visible = visible;
    return d;
}

class DatasetModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CENA, KRTVP) VALUES (1, 46027, 1234.5, 'KRKG')"));
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CENA, KRTVP) VALUES (2, 46028, NULL, 'PETG')"));
        table.setTableName(QStringLiteral("DPATVPIMP"));
        table.addField(def(QStringLiteral("IDIMP"), FieldType::Integer, QStringLiteral("ID Importa")));
        table.addField(def(QStringLiteral("DATUM"), FieldType::Date, QStringLiteral("Datum transakcije")));
        table.addField(def(QStringLiteral("KRTVP"), FieldType::String, QStringLiteral("Kratica VP"), false));
        FieldDef price = def(QStringLiteral("CENA"), FieldType::Float, QStringLiteral("Cena enote"));
        price.displayFormat = QStringLiteral(",0.00");
        table.addField(price);
    }

    QStringList headers() const
    {
        QStringList list;
        for (int c = 0; c < model.columnCount(); ++c)
            list.append(model.headerData(c, Qt::Horizontal).toString());
        return list;
    }

    QStringList row(int r) const
    {
        QStringList list;
        for (int c = 0; c < model.columnCount(); ++c)
            list.append(model.data(model.index(r, c)).toString());
        return list;
    }

    FixtureDb db;
    TDMTable table{db.connection(), QStringLiteral("fDPATVPIMP")};
    DatasetModel model{&table};
};

TEST_F(DatasetModelTest, ShowsVisibleFieldsWithLabelsAndDisplayTexts)
{
    EXPECT_EQ(model.rowCount(), 0);
    table.open();
    EXPECT_EQ(headers(), (QStringList{QStringLiteral("ID Importa"), QStringLiteral("Datum transakcije"),
                                      QStringLiteral("Cena enote")}));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(row(0), (QStringList{QStringLiteral("1"), QStringLiteral("05.01.2026"), QStringLiteral("1.234,50")}));
    EXPECT_EQ(row(1), (QStringList{QStringLiteral("2"), QStringLiteral("06.01.2026"), QString()}));
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);

    table.setFieldIndex(table.fieldByName(QStringLiteral("CENA")), 0);
    EXPECT_EQ(headers().value(0), QStringLiteral("Cena enote"));
}

TEST_F(DatasetModelTest, FollowsPostDeleteFilterAndClose)
{
    table.open();
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    table.insert();
    table.fieldByName(QStringLiteral("IDIMP")).setValue(3);
    table.post();
    EXPECT_EQ(model.rowCount(), 3);

    table.deleteRecord();
    EXPECT_EQ(model.rowCount(), 2);

    table.setFilter(QStringLiteral("DATUM = '06.01.2026'"));
    table.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(row(0).value(0), QStringLiteral("2"));

    table.disableControls();
    table.setFiltered(false);
    EXPECT_EQ(model.rowCount(), 1);  // not told while controls are disabled
    table.enableControls();
    EXPECT_EQ(model.rowCount(), 2);

    table.close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_GE(resets, 5);
}

TEST_F(DatasetModelTest, FieldsCreatedFromColumnsNeverOutliveTheModelsColumns)
{
    TDMTable plain(db.connection(), QStringLiteral("tPlain"));
    plain.setTableName(QStringLiteral("DPATVPIMP"));
    DatasetModel plainModel(&plain);
    plain.open();
    EXPECT_EQ(plainModel.columnCount(), plain.fieldCount());
    plain.disableControls();
    plain.close();
    EXPECT_EQ(plainModel.columnCount(), 0);
    EXPECT_EQ(plainModel.fieldAt(0), nullptr);
    plain.enableControls();
}

}  // namespace
