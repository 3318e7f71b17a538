#include "core/Error.h"
#include "data/dataset/TDMTable.h"
#include "data/engine/Connection.h"
#include "support/FixtureDb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <memory>

namespace {

FieldDef def(const QString& name, FieldType type)
{
    FieldDef d;
    d.name = name;
    d.type = type;
    return d;
}

// Runs a statement with bound values directly on the engine (dates as the engine stores them).
void execBound(FixtureDb& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db.connection().database());
    ASSERT_TRUE(query.prepare(sql));
    for (const QVariant& v : values)
        query.addBindValue(db.connection().toEngineValue(v));
    ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

// The register table DPATVP, sorted DPATVPID;ZAPST;STATUS, with STATUS declared as given.
std::unique_ptr<TDMTable> registerTable(FixtureDb& db, FieldType statusType = FieldType::Integer)
{
    auto t = std::make_unique<TDMTable>(db.connection(), QStringLiteral("tDPATVP"));
    t->setTableName(QStringLiteral("DPATVP"));
    t->addField(def(QStringLiteral("DPATVPID"), FieldType::Integer));
    t->addField(def(QStringLiteral("DANPOROCANJA"), FieldType::DateTime));
    t->addField(def(QStringLiteral("ZAPST"), FieldType::Integer));
    t->addField(def(QStringLiteral("STATUS"), statusType));
    t->setIndexFieldNames(QStringLiteral("DPATVPID;ZAPST;STATUS"));
    return t;
}

// The selection table DPATVPPSL with its four fields in the order of the audit content.
std::unique_ptr<TDMTable> selectionTable(FixtureDb& db)
{
    auto t = std::make_unique<TDMTable>(db.connection(), QStringLiteral("tDPATVPPSL"));
    t->setTableName(QStringLiteral("DPATVPPSL"));
    t->addField(def(QStringLiteral("DPATVPID"), FieldType::Integer));
    t->addField(def(QStringLiteral("IDPSL"), FieldType::Integer));
    t->addField(def(QStringLiteral("ISSTN"), FieldType::String));
    t->addField(def(QStringLiteral("IDREFATVP"), FieldType::Integer));
    t->setIndexFieldNames(QStringLiteral("DPATVPID;IDPSL"));
    return t;
}

// The imported transactions DPATVPIMP with a few of their fields.
std::unique_ptr<TDMTable> importTable(FixtureDb& db)
{
    auto t = std::make_unique<TDMTable>(db.connection(), QStringLiteral("fDPATVPIMP"));
    t->setTableName(QStringLiteral("DPATVPIMP"));
    t->addField(def(QStringLiteral("IDIMP"), FieldType::Integer));
    t->addField(def(QStringLiteral("DATUM"), FieldType::Date));
    t->addField(def(QStringLiteral("CAS"), FieldType::DateTime));
    t->addField(def(QStringLiteral("KRTVP"), FieldType::String));
    t->addField(def(QStringLiteral("CENA"), FieldType::Float));
    t->addField(def(QStringLiteral("DPATVPID"), FieldType::Integer));
    t->setIndexFieldNames(QStringLiteral("Datum"));
    return t;
}

void addImport(FixtureDb& db, int id, const QDate& day, const QString& name, const QVariant& report = QVariant())
{
    execBound(db, QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, KRTVP, CENA, DPATVPID) VALUES (?, ?, ?, ?, ?, ?)"),
              {id, day, QDateTime(day, QTime(10, 0)), name, 1.5, report});
}

class TDMTableTest : public ::testing::Test {
protected:
    FixtureDb db;
};

TEST_F(TDMTableTest, RangeFilterTexts)
{
    auto t = registerTable(db);
    t->open();
    struct Case {
        const char* what;
        QVariantList start;
        QVariantList end;
        QString text;
    };
    const Case cases[] = {
        {"all three equal", {17, 2, 0}, {17, 2, 0}, QStringLiteral("DPATVPID = 17 AND ZAPST = 2 AND STATUS = 0")},
        {"surplus values ignored", {17, 2, 0, 5}, {17, 2, 0, 5}, QStringLiteral("DPATVPID = 17 AND ZAPST = 2 AND STATUS = 0")},
        {"one value constrains the first field", {17}, {17}, QStringLiteral("DPATVPID = 17")},
        {"NULL", {QVariant()}, {QVariant()}, QStringLiteral("DPATVPID = NULL")},
        {"numbers given as text", {QStringLiteral("17")}, {QStringLiteral("17")}, QStringLiteral("DPATVPID = 17")},
        {"start and end differ", {1, 2}, {3, 2}, QStringLiteral("DPATVPID >= 1 AND DPATVPID <= 3 AND ZAPST = 2")},
        {"more start values", {1, 2}, {3}, QStringLiteral("DPATVPID >= 1 AND DPATVPID <= 3 AND ZAPST >= 2")},
        {"more end values", {1}, {3, 4}, QStringLiteral("DPATVPID >= 1 AND DPATVPID <= 3 AND ZAPST <= 4")},
        {"no values", {}, {}, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t->SQLRangeFilter(c.start, c.end), c.text) << c.what;
}

TEST_F(TDMTableTest, RangeLiteralsOfTextAndDateKeys)
{
    auto imp = importTable(db);
    imp->open();
    imp->setIndexFieldNames(QStringLiteral("DATUM;CAS;KRTVP;CENA"));
    struct Case {
        const char* what;
        QVariantList values;
        QString text;
    };
    const QDate day(2026, 1, 5);
    const Case cases[] = {
        {"date", {day}, QStringLiteral("DATUM = '05.01.2026'")},
        {"date given as text", {QStringLiteral("5.1.2026")}, QStringLiteral("DATUM = '05.01.2026'")},
        {"date-time at midnight", {day, QDateTime(day, QTime(0, 0))},
         QStringLiteral("DATUM = '05.01.2026' AND CAS = '05.01.2026'")},
        {"date-time", {day, QDateTime(day, QTime(15, 45, 10))},
         QStringLiteral("DATUM = '05.01.2026' AND CAS = '05.01.2026 15:45:10'")},
        {"quote doubled", {day, QVariant(), QStringLiteral("O'Neil")},
         QStringLiteral("DATUM = '05.01.2026' AND CAS = NULL AND KRTVP = 'O''Neil'")},
        {"decimal with a point", {day, QVariant(), QStringLiteral("X"), 1.25},
         QStringLiteral("DATUM = '05.01.2026' AND CAS = NULL AND KRTVP = 'X' AND CENA = 1.25")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(imp->SQLRangeFilter(c.values, c.values), c.text) << c.what;
}

TEST_F(TDMTableTest, RangeOfUnsupportedTypeOrValueFailsAndKeepsTheFilter)
{
    auto t = registerTable(db, FieldType::Boolean);
    t->open();
    t->setFilter(QStringLiteral("DPATVPID = 1"));
    try {
        t->SQLSetRange({17, 2, true});
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("SQLSetRange : Unknown field type: ftBoolean (tDPATVP.DPATVP)"));
    }
    EXPECT_EQ(t->filter(), QStringLiteral("DPATVPID = 1"));

    // A text for a number field is read as a number, never pasted into the filter.
    EXPECT_THROW(t->SQLSetRange({QStringLiteral("17 OR 1=1")}), ZtfiError);
    EXPECT_EQ(t->filter(), QStringLiteral("DPATVPID = 1"));
}

TEST_F(TDMTableTest, SetRangeShowsTheMatchingRowsAndTellsWhetherAnyMatched)
{
    const QDate day(2026, 1, 5);
    struct Row {
        int id, serial, status;
    };
    for (const Row& r : {Row{17, 3, 1}, Row{17, 2, 0}, Row{18, 1, 0}})
        execBound(db, QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST, STATUS) VALUES (?, ?, ?, ?)"),
                  {r.id, day, r.serial, r.status});
    auto t = registerTable(db);
    t->open();
    EXPECT_EQ(t->recordCount(), 3);

    EXPECT_TRUE(t->SQLSetRange({17}));
    EXPECT_TRUE(t->filtered());
    EXPECT_EQ(t->filter(), QStringLiteral("DPATVPID = 17"));
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(t->fieldByName(QStringLiteral("ZAPST")).asInteger(), 2);

    EXPECT_TRUE(t->SQLSetRange({17, 3, 1}));
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_FALSE(t->SQLSetRange({99}));
    EXPECT_TRUE(t->isEmpty());

    t->close();
    EXPECT_THROW(t->SQLSetRange({17}), DatabaseError);
}

TEST_F(TDMTableTest, SetRangeOnDatesAndNullsRunsOnTheEngine)
{
    addImport(db, 1, QDate(2026, 1, 5), QStringLiteral("A"), 7);
    addImport(db, 2, QDate(2026, 1, 6), QStringLiteral("B"));
    addImport(db, 3, QDate(2026, 1, 5), QStringLiteral("C"));
    auto imp = importTable(db);
    imp->open();
    EXPECT_EQ(imp->IndexFieldNames(), QStringLiteral("Datum;IDIMP"));

    EXPECT_TRUE(imp->SQLSetRange({QDate(2026, 1, 5)}));
    EXPECT_EQ(imp->filter(), QStringLiteral("DATUM = '05.01.2026'"));
    EXPECT_EQ(imp->recordCount(), 2);
    EXPECT_EQ(imp->fieldByName(QStringLiteral("IDIMP")).asInteger(), 1);

    imp->setIndexFieldNames(QStringLiteral("DPATVPID"));
    EXPECT_TRUE(imp->SQLSetRange({QVariant()}));
    EXPECT_EQ(imp->filter(), QStringLiteral("DPATVPID = NULL"));
    EXPECT_EQ(imp->recordCount(), 2);

    imp->setFilter(QStringLiteral("DATUM >= '06.01.2026' OR DPATVPID <> NULL"));
    EXPECT_EQ(imp->recordCount(), 2);
    imp->setFiltered(false);
    EXPECT_EQ(imp->recordCount(), 3);
}

TEST_F(TDMTableTest, FilterTextComparesTextsByPrefixAndWithoutCase)
{
    addImport(db, 1, QDate(2026, 1, 5), QStringLiteral("Abc"));
    addImport(db, 2, QDate(2026, 1, 5), QStringLiteral("ABD"));
    addImport(db, 3, QDate(2026, 1, 5), QStringLiteral("xab"));
    addImport(db, 4, QDate(2026, 1, 5), QStringLiteral("A%C"));
    auto imp = importTable(db);
    imp->open();
    imp->setFilter(QStringLiteral("KRTVP = 'AB*'"));
    imp->setFiltered(true);
    EXPECT_EQ(imp->recordCount(), 1);
    imp->setFilterCaseInsensitive(true);
    EXPECT_EQ(imp->recordCount(), 2);
    imp->setFilter(QStringLiteral("KRTVP = 'a%*'"));
    EXPECT_EQ(imp->recordCount(), 1);
    EXPECT_EQ(imp->fieldByName(QStringLiteral("KRTVP")).asString(), QStringLiteral("A%C"));
}

TEST_F(TDMTableTest, SortListIsCompletedWithTheUniqueKey)
{
    db.exec(QStringLiteral("CREATE TABLE KEYED (ISIN VARCHAR(14), SFVP_POROCANJE INTEGER, X INTEGER)"));
    db.exec(QStringLiteral("CREATE INDEX KEYED_X ON KEYED (X)"));
    db.exec(QStringLiteral("CREATE UNIQUE INDEX KEYED_KEY ON KEYED (ISIN, SFVP_POROCANJE)"));
    TDMTable keyed(db.connection(), QStringLiteral("tKeyed"));
    keyed.setTableName(QStringLiteral("KEYED"));
    keyed.open();
    EXPECT_EQ(keyed.KeyFieldNames(), QStringLiteral("ISIN;SFVP_POROCANJE"));
    EXPECT_EQ(keyed.IndexFieldNames(), QStringLiteral("ISIN;SFVP_POROCANJE"));
    struct Case {
        QString list;
        QString completed;
    };
    const Case cases[] = {
        {QStringLiteral("isin;sfvp_porocanje"), QStringLiteral("isin;sfvp_porocanje")},
        {QStringLiteral("ISIN "), QStringLiteral("ISIN ;ISIN;SFVP_POROCANJE")},
        {QStringLiteral("X"), QStringLiteral("X;ISIN;SFVP_POROCANJE")},
        {QStringLiteral("Sfvp_Porocanje"), QStringLiteral("Sfvp_Porocanje;ISIN")},
        {QString(), QStringLiteral("ISIN;SFVP_POROCANJE")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyed.CompleteIndexFieldNames(c.list), c.completed) << c.list.toStdString();

    auto psl = selectionTable(db);
    psl->open();
    EXPECT_EQ(psl->IndexFieldNames(), QStringLiteral("DPATVPID;IDPSL;ISSTN"));
    auto reg = registerTable(db);
    reg->setIndexFieldNames(QStringLiteral("DPATVPID"));
    reg->open();
    EXPECT_EQ(reg->IndexFieldNames(), QStringLiteral("DPATVPID;ZAPST"));
}

TEST_F(TDMTableTest, TableWithoutUniqueKeyStaysUnsortedAndItsRangeShowsEveryRow)
{
    db.exec(QStringLiteral("CREATE TABLE LOOSE (A INTEGER, B VARCHAR(5))"));
    db.exec(QStringLiteral("INSERT INTO LOOSE VALUES (1, 'x')"));
    TDMTable loose(db.connection(), QStringLiteral("tLoose"));
    loose.setTableName(QStringLiteral("LOOSE"));
    loose.open();
    EXPECT_EQ(loose.KeyFieldNames(), QString());
    EXPECT_EQ(loose.IndexFieldNames(), QString());
    EXPECT_TRUE(loose.SQLSetRange({1}));
    EXPECT_EQ(loose.filter(), QString());

    // The key is read once per opening: an index made while open counts after close.
    db.exec(QStringLiteral("CREATE UNIQUE INDEX LOOSE_A ON LOOSE (A)"));
    EXPECT_EQ(loose.KeyFieldNames(), QString());
    loose.close();
    EXPECT_EQ(loose.KeyFieldNames(), QStringLiteral("A"));
}

class AuditedTableTest : public TDMTableTest {
protected:
    void SetUp() override
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (7, 1201, 'N', 55)"));
        db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (7, 1202, 'N', 56)"));
        table = selectionTable(db);
        table->beforePost = [this](TDMTable& t, bool inserting) {
            log.append((inserting ? QStringLiteral("+ ") : QStringLiteral("^ ")) + t.rowContent());
            if (failHook)
                throw ZtfiError(QStringLiteral("audit failed"));
        };
        table->beforeDelete = [this](TDMTable& t) {
            log.append(QStringLiteral("- ") + t.rowContent());
            if (failHook)
                throw ZtfiError(QStringLiteral("audit failed"));
        };
        table->open();
    }

    QString rows()
    {
        QSqlQuery q(db.connection().database());
        q.exec(QStringLiteral("SELECT DPATVPID, IDPSL, ISSTN, IDREFATVP FROM DPATVPPSL ORDER BY DPATVPID, IDPSL"));
        QStringList lines;
        while (q.next())
            lines.append(QStringLiteral("%1 %2 %3 %4").arg(q.value(0).toString(), q.value(1).toString(),
                                                           q.value(2).toString(), q.value(3).toString()));
        return lines.join(QStringLiteral(" | "));
    }

    std::unique_ptr<TDMTable> table;
    QStringList log;
    bool failHook = false;
};

TEST_F(AuditedTableTest, InsertEditDeleteWriteByKeyAfterTheirHooks)
{
    table->insert();
    table->fieldByName(QStringLiteral("DPATVPID")).setValue(8);
    table->fieldByName(QStringLiteral("IDPSL")).setValue(1300);
    table->fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("N"));
    table->fieldByName(QStringLiteral("IDREFATVP")).setValue(57);
    table->post();
    EXPECT_EQ(table->state(), Dataset::State::Browse);
    EXPECT_EQ(table->recordCount(), 3);

    ASSERT_TRUE(table->SQLSetRange({7, 1202}));
    table->edit();
    table->fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("D"));
    table->fieldByName(QStringLiteral("IDPSL")).setValue(1203);  // the key itself changes
    table->post();

    ASSERT_TRUE(table->SQLSetRange({7, 1201}));
    table->deleteRecord();
    EXPECT_TRUE(table->isEmpty());

    EXPECT_EQ(log, (QStringList{
                       QStringLiteral("+ 8#|DPATVPID#|1300#|IDPSL#|N#|ISSTN#|57#|IDREFATVP#|"),
                       QStringLiteral("^ 7#|DPATVPID#|1203#|IDPSL#|D#|ISSTN#|56#|IDREFATVP#|"),
                       QStringLiteral("- 7#|DPATVPID#|1201#|IDPSL#|N#|ISSTN#|55#|IDREFATVP#|"),
                   }));
    EXPECT_EQ(rows(), QStringLiteral("7 1203 D 56 | 8 1300 N 57"));
}

TEST_F(AuditedTableTest, FailedHookOrWriteLeavesTheTableEditingAndTheDatabaseUnchanged)
{
    const QString before = rows();
    failHook = true;
    table->edit();
    table->fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("D"));
    EXPECT_THROW(table->post(), ZtfiError);
    EXPECT_EQ(table->state(), Dataset::State::Edit);
    table->cancel();
    EXPECT_EQ(table->fieldByName(QStringLiteral("ISSTN")).asString(), QStringLiteral("N"));
    EXPECT_THROW(table->deleteRecord(), ZtfiError);
    EXPECT_EQ(table->recordCount(), 2);

    failHook = false;
    table->insert();
    table->fieldByName(QStringLiteral("DPATVPID")).setValue(7);
    table->fieldByName(QStringLiteral("IDPSL")).setValue(1201);  // the key exists
    table->fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("N"));
    table->fieldByName(QStringLiteral("IDREFATVP")).setValue(1);
    EXPECT_THROW(table->post(), DatabaseError);
    EXPECT_EQ(table->state(), Dataset::State::Insert);
    table->cancel();
    EXPECT_EQ(table->state(), Dataset::State::Browse);
    EXPECT_EQ(table->recordCount(), 2);
    EXPECT_EQ(rows(), before);
}

TEST_F(AuditedTableTest, TemplateTableHooksRunFirstAndChainsCannotCircle)
{
    TDMTable templ(db.connection(), QStringLiteral("tTemplate"));
    templ.beforeDelete = [this](TDMTable& t) { log.append(QStringLiteral("template ") + t.name()); };
    table->setDefTable(&templ);
    table->deleteRecord();
    EXPECT_EQ(log.size(), 2);
    EXPECT_EQ(log.value(0), QStringLiteral("template tDPATVPPSL"));
    EXPECT_TRUE(log.value(1).startsWith(QStringLiteral("- ")));
    EXPECT_THROW(templ.setDefTable(table.get()), DatabaseError);

    templ.setCaption(QStringLiteral("Transakcije"));
    EXPECT_EQ(table->caption(), QStringLiteral("Transakcije"));
    table->setCaption(QStringLiteral("Transakcije"));
    templ.setCaption(QStringLiteral("Posli"));
    EXPECT_EQ(table->caption(), QStringLiteral("Posli"));  // still inherited
    table->setCaption(QStringLiteral("Lastni"));
    EXPECT_EQ(table->caption(), QStringLiteral("Lastni"));
}

TEST_F(TDMTableTest, RowContentShowsValuesAsTheFieldsDo)
{
    execBound(db, QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, KRTVP, CENA) VALUES (?, ?, ?, ?, ?)"),
              {3, QDate(2026, 1, 5), QDateTime(QDate(2026, 1, 5), QTime(15, 45, 10)), QString(), 12.5});
    auto imp = importTable(db);
    imp->open();
    EXPECT_EQ(imp->rowContent(),
              QStringLiteral("3#|IDIMP#|05.01.2026#|DATUM#|05.01.2026 15:45:10#|CAS#|#|KRTVP#|12,5#|CENA#|#|DPATVPID#|"));
}

TEST_F(TDMTableTest, DatesAreWrittenAsTheEngineStoresThem)
{
    auto imp = importTable(db);
    imp->open();
    imp->insert();
    imp->fieldByName(QStringLiteral("IDIMP")).setValue(1);
    imp->fieldByName(QStringLiteral("DATUM")).setValue(QStringLiteral("05.01.2026"));
    imp->fieldByName(QStringLiteral("CAS")).setValue(QStringLiteral("05.01.2026 15:45:10"));
    imp->fieldByName(QStringLiteral("CENA")).setValue(QStringLiteral("1,5"));
    imp->post();
    EXPECT_DOUBLE_EQ(db.value(QStringLiteral("SELECT DATUM FROM DPATVPIMP")).toDouble(), 46027.0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT TO_CHAR(CAS, 'dd.mm.yyyy hh24:mi:ss') FROM DPATVPIMP")).toString(),
              QStringLiteral("05.01.2026 15:45:10"));
    EXPECT_DOUBLE_EQ(db.value(QStringLiteral("SELECT CENA FROM DPATVPIMP")).toDouble(), 1.5);

    imp->edit();
    imp->fieldByName(QStringLiteral("CENA")).clear();
    imp->post();
    EXPECT_TRUE(db.value(QStringLiteral("SELECT CENA FROM DPATVPIMP")).isNull());

    imp->edit();
    try {
        imp->fieldByName(QStringLiteral("CENA")).setValue(QStringLiteral("1.5"));
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'1.5' is not a valid floating point value"));
    }
    imp->cancel();
}

// Rows posted one after another write their own values, also when the empty fields differ
// from row to row and when a post in between failed.
TEST_F(TDMTableTest, ConsecutiveInsertsWriteEachRowsOwnValues)
{
    auto imp = importTable(db);
    imp->open();
    const auto post = [&](int id, const QVariant& day, const QVariant& price) {
        imp->insert();
        imp->fieldByName(QStringLiteral("IDIMP")).setValue(id);
        if (!day.isNull())
            imp->fieldByName(QStringLiteral("DATUM")).setValue(day);
        if (!price.isNull())
            imp->fieldByName(QStringLiteral("CENA")).setValue(price);
        try {
            imp->post();
        } catch (const DatabaseError&) {
            imp->cancel();
            return false;
        }
        return true;
    };
    EXPECT_TRUE(post(1, QStringLiteral("05.01.2026"), QStringLiteral("1,5")));
    EXPECT_TRUE(post(2, QStringLiteral("06.01.2026"), QStringLiteral("2,5")));
    EXPECT_TRUE(post(3, QVariant(), QStringLiteral("3,5")));
    EXPECT_FALSE(post(3, QStringLiteral("07.01.2026"), QStringLiteral("4,5")));  // the key exists
    EXPECT_TRUE(post(4, QStringLiteral("08.01.2026"), QVariant()));
    EXPECT_TRUE(post(5, QStringLiteral("09.01.2026"), QStringLiteral("5,5")));

    QSqlQuery q(db.connection().database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT IDIMP, DATUM, CENA FROM DPATVPIMP ORDER BY IDIMP")));
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1 %2 %3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1 46027 1.5"), QStringLiteral("2 46028 2.5"), QStringLiteral("3  3.5"),
                                 QStringLiteral("4 46030 "), QStringLiteral("5 46031 5.5")}));
}

TEST_F(TDMTableTest, TableWithoutUniqueKeyWritesOnlyARowItsSortFieldsIdentify)
{
    db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU) VALUES ('SI1', NULL, 100)"));
    db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU) VALUES ('SI2', 200, 200)"));
    db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU) VALUES ('SI2', 200, 201)"));
    TDMTable t(db.connection(), QStringLiteral("tDPATVP_SFVP"));
    t.setTableName(QStringLiteral("DPATVP_SFVP"));
    t.addField(def(QStringLiteral("ISIN"), FieldType::String));
    t.addField(def(QStringLiteral("SFVP_POROCANJE"), FieldType::Integer));
    t.addField(def(QStringLiteral("SFVP_OXU"), FieldType::Integer));
    t.setIndexFieldNames(QStringLiteral("ISIN;SFVP_POROCANJE"));
    t.open();

    ASSERT_TRUE(t.SQLSetRange({QStringLiteral("SI1")}));
    t.edit();
    t.fieldByName(QStringLiteral("SFVP_POROCANJE")).setValue(100);
    t.post();
    EXPECT_EQ(db.value(QStringLiteral("SELECT SFVP_POROCANJE FROM DPATVP_SFVP WHERE ISIN = 'SI1'")).toInt(), 100);

    ASSERT_TRUE(t.SQLSetRange({QStringLiteral("SI2")}));
    t.edit();
    t.fieldByName(QStringLiteral("SFVP_OXU")).setValue(300);
    EXPECT_THROW(t.post(), DatabaseError);
    t.cancel();
    EXPECT_THROW(t.deleteRecord(), DatabaseError);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP_SFVP WHERE SFVP_OXU IN (200, 201)")).toInt(), 2);
}

TEST_F(TDMTableTest, TemplateFieldsAreAppliedOnOpenAndTheirLookupsReleasedOnClose)
{
    TDMTable lookup(db.connection(), QStringLiteral("tLookup"));
    lookup.setTableName(QStringLiteral("DPATVP"));
    lookup.open();

    TDMTable templ(db.connection(), QStringLiteral("tTemplate"));
    FieldDef price = def(QStringLiteral("CENA"), FieldType::Float);
    price.displayLabel = QStringLiteral("Cena enote");
    price.displayFormat = QStringLiteral(",0.00");
    Field& templatePrice = templ.addField(price);
    templatePrice.setLookup(&lookup, QStringLiteral("DPATVPID"), QStringLiteral("DPATVPID"), QStringLiteral("ZAPST"));

    auto imp = importTable(db);
    imp->setDefFields(&templ);
    imp->open();
    EXPECT_EQ(imp->fieldByName(QStringLiteral("IDIMP")).displayLabel(), QStringLiteral("*IDIMP"));
    EXPECT_EQ(imp->fieldByName(QStringLiteral("CENA")).displayLabel(), QStringLiteral("Cena enote"));
    EXPECT_EQ(imp->fieldByName(QStringLiteral("CENA")).displayFormat(), QStringLiteral(",0.00"));
    EXPECT_EQ(imp->fieldByName(QStringLiteral("KRTVP")).displayLabel(), QStringLiteral("KRTVP"));
    EXPECT_EQ(lookup.LookupUseCount(), 1);

    imp->close();
    EXPECT_EQ(lookup.LookupUseCount(), 0);
    EXPECT_FALSE(lookup.isActive());
    EXPECT_EQ(imp->fieldByName(QStringLiteral("CENA")).lookupDataset(), nullptr);
}

}  // namespace
