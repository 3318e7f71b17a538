#include "core/Error.h"
#include "data/dataset/Queries.h"
#include "data/engine/Connection.h"
#include "support/FixtureDb.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace {

FieldDef def(const QString& name, FieldType type, const QString& label = QString(), int width = 0)
{
    FieldDef d;
    d.name = name;
    d.type = type;
    d.displayLabel = label;
    d.displayWidth = width;
    return d;
}

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (7, 1201, 'N', 55)"));
        db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (7, 1202, 'D', 56)"));
        db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (8, 1300, 'N', 57)"));
    }

    FixtureDb db;
};

TEST_F(DatasetTest, DeclaredNumericFieldTakesTheEngineTypeAndKeepsItsSettings)
{
    TQueryDM q(db.connection(), QStringLiteral("qPsl"));
    Field& idpsl = q.addField(def(QStringLiteral("IDPSL"), FieldType::String, QStringLiteral("ID posla")));
    FieldDef floatDef = def(QStringLiteral("DPATVPID"), FieldType::Float, QStringLiteral("ID za DPATVP"), 12);
    floatDef.visible = false;
    floatDef.displayFormat = QStringLiteral("0.0");
    Field& id = q.addField(floatDef);
    q.setSql(QStringLiteral("SELECT DPATVPID, IDPSL FROM DPATVPPSL ORDER BY IDPSL"));
    q.open();

    EXPECT_EQ(id.type(), FieldType::Integer);
    EXPECT_EQ(&q.fieldByName(QStringLiteral("dpatvpid")), &id);
    EXPECT_EQ(id.index(), 1);
    EXPECT_EQ(id.displayLabel(), QStringLiteral("ID za DPATVP"));
    EXPECT_EQ(id.displayWidth(), 12);
    EXPECT_FALSE(id.visible());
    EXPECT_EQ(id.displayText(), QStringLiteral("7,0"));
    EXPECT_EQ(id.asInteger(), 7);
    // Text and number are different kinds of value: the declaration stays.
    EXPECT_EQ(idpsl.type(), FieldType::String);
    EXPECT_EQ(idpsl.asString(), QStringLiteral("1201"));
}

TEST_F(DatasetTest, DeclaredDateFieldReadsTheStoredNumberAsDateRoundedToTheMillisecond)
{
    QSqlQuery insert(db.connection().database());
    insert.prepare(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS) VALUES (1, ?, ?)"));
    insert.addBindValue(db.connection().toEngineValue(QDate(2026, 1, 5)));
    insert.addBindValue(db.connection().toEngineValue(QDateTime(QDate(2026, 1, 5), QTime(15, 45, 10))));
    ASSERT_TRUE(insert.exec());

    TQueryDM q(db.connection(), QStringLiteral("qImp"));
    Field& datum = q.addField(def(QStringLiteral("DATUM"), FieldType::Date));
    Field& cas = q.addField(def(QStringLiteral("CAS"), FieldType::DateTime));
    q.setSql(QStringLiteral("SELECT DATUM, CAS FROM DPATVPIMP"));
    q.open();

    EXPECT_EQ(datum.type(), FieldType::Date);
    EXPECT_EQ(cas.type(), FieldType::DateTime);
    EXPECT_EQ(datum.asDate(), QDate(2026, 1, 5));
    EXPECT_EQ(cas.asDateTime(), QDateTime(QDate(2026, 1, 5), QTime(15, 45, 10)));
    EXPECT_EQ(datum.asString(), QStringLiteral("05.01.2026"));
    EXPECT_EQ(cas.asString(), QStringLiteral("05.01.2026 15:45:10"));
}

TEST_F(DatasetTest, FieldsComeFromTheColumnsWhenNoneAreDeclaredAndGoOnClose)
{
    TFQuery q(db.connection(), QStringLiteral("qTmp"));
    q.setSql(QStringLiteral("SELECT DPATVPID, ISSTN, DPATVPID * 1.5 AS HALF FROM DPATVPPSL ORDER BY IDPSL"));
    q.open();

    ASSERT_EQ(q.fieldCount(), 3);
    EXPECT_EQ(q.field(0).type(), FieldType::Integer);
    EXPECT_EQ(q.field(1).type(), FieldType::String);
    EXPECT_EQ(q.field(1).size(), 1);
    EXPECT_EQ(q.field(2).asString(), QStringLiteral("10,5"));
    q.close();
    EXPECT_EQ(q.fieldCount(), 0);
}

TEST_F(DatasetTest, FieldByNameIgnoresCaseAndNamesTheDatasetWhenMissing)
{
    TFQuery q(db.connection(), QStringLiteral("qTmp"));
    q.setSql(QStringLiteral("SELECT IdRefAtvp FROM DPATVPPSL ORDER BY IDPSL"));
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("IDREFATVP")).asInteger(), 55);
    try {
        q.fieldByName(QStringLiteral("ZAPST"));
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("qTmp: Field 'ZAPST' not found"));
    }
}

TEST_F(DatasetTest, DeclaredFieldWithoutColumnFailsTheOpenAndLeavesItClosed)
{
    TQueryDM q(db.connection(), QStringLiteral("qPsl"));
    q.addField(def(QStringLiteral("ZAPST"), FieldType::Integer));
    q.setSql(QStringLiteral("SELECT DPATVPID FROM DPATVPPSL"));
    EXPECT_THROW(q.open(), DatabaseError);
    EXPECT_FALSE(q.isActive());
}

TEST_F(DatasetTest, WalksForwardAndBackwardWithBeginningAndEndFlags)
{
    TFQuery q(db.connection(), QStringLiteral("qTmp"));
    q.setSql(QStringLiteral("SELECT IDPSL FROM DPATVPPSL ORDER BY IDPSL"));
    q.open();
    Field& idpsl = q.fieldByName(QStringLiteral("IDPSL"));

    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_TRUE(q.bof());
    EXPECT_FALSE(q.eof());
    QList<qint64> seen;
    while (!q.eof()) {
        seen.append(idpsl.asInteger());
        q.next();
    }
    EXPECT_EQ(seen, (QList<qint64>{1201, 1202, 1300}));
    EXPECT_EQ(idpsl.asInteger(), 1300);  // stays on the last row
    q.prior();
    EXPECT_EQ(idpsl.asInteger(), 1202);
    EXPECT_FALSE(q.eof());
    q.first();
    q.prior();
    EXPECT_TRUE(q.bof());
    q.last();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(idpsl.asInteger(), 1300);

    EXPECT_TRUE(q.locate(QStringLiteral("idpsl"), {QStringLiteral("1202")}));
    EXPECT_EQ(q.recNo(), 1);
    EXPECT_FALSE(q.locate(QStringLiteral("IDPSL"), {9999}));
    EXPECT_EQ(q.recNo(), 1);
}

TEST_F(DatasetTest, EmptyResultIsAtBeginningAndEnd)
{
    TFQuery q(db.connection(), QStringLiteral("qTmp"));
    q.setSql(QStringLiteral("SELECT IDPSL FROM DPATVPPSL WHERE IDPSL < 0"));
    q.open();
    EXPECT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.bof());
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.fieldByName(QStringLiteral("IDPSL")).isNull());
}

TEST_F(DatasetTest, ParametersMatchWithoutCaseAndBindDatesAsTheEngineStoresThem)
{
    db.exec(QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST, STATUS) "
                           "VALUES (7, TO_DATE('05.01.2026','dd.mm.yyyy'), 1, 0)"));
    db.exec(QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST, STATUS) "
                           "VALUES (8, TO_DATE('06.01.2026','dd.mm.yyyy'), 2, 0)"));
    TQueryDM q(db.connection(), QStringLiteral("qDPATVP"));
    q.addSql(QStringLiteral(" SELECT DPATVPID FROM DPATVP "));
    q.addSql(QStringLiteral(" WHERE DANPOROCANJA >= :Datum AND DanPorocanja <= :DATUM "));
    q.addSql(QStringLiteral(" AND ':Text' <> :status_x "));
    ASSERT_EQ(q.params().count(), 2);
    q.paramByName(QStringLiteral("datum")).setAsDate(QDate(2026, 1, 5));
    q.paramByName(QStringLiteral("STATUS_X")).setAsString(QStringLiteral("x"));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("DPATVPID")).asInteger(), 7);

    q.setSql(QStringLiteral("SELECT DPATVPID FROM DPATVP WHERE DANPOROCANJA = :DATUM OR :Other IS NULL"));
    EXPECT_FALSE(q.isActive());
    EXPECT_EQ(q.paramByName(QStringLiteral("Datum")).value(), QVariant(QDate(2026, 1, 5)));
    try {
        q.open();
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("No value for parameter 'Other'"));
    }
    q.paramByName(QStringLiteral("other")).setNull();
    q.open();
    EXPECT_EQ(q.recordCount(), 2);

    try {
        q.paramByName(QStringLiteral("DanDo"));
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Parameter 'DanDo' not found"));
    }
}

TEST_F(DatasetTest, ExecSqlReportsRowsAffectedAndPassesEngineErrors)
{
    TFQuery u(db.connection(), QStringLiteral("uTmp"));
    u.setSql(QStringLiteral("UPDATE DPATVPPSL SET ISSTN = :Isstn WHERE DPATVPID = :Id"));
    u.paramByName(QStringLiteral("ISSTN")).setAsString(QStringLiteral("D"));
    u.paramByName(QStringLiteral("ID")).setAsInteger(7);
    u.execSQL();
    EXPECT_EQ(u.rowsAffected(), 2);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE ISSTN = 'D'")).toInt(), 2);

    u.setSql(QStringLiteral("INSERT INTO DPATVPPSL VALUES (7, 1201, 'D', 1)"));
    try {
        u.execSQL();
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("UNIQUE"))) << e.message().toStdString();
    }
}

TEST_F(DatasetTest, CalculatedFieldsAreComputedForEveryRowAndFailTheOpenOnError)
{
    TQueryDM q(db.connection(), QStringLiteral("qPsl"));
    Field& idpsl = q.addField(def(QStringLiteral("IDPSL"), FieldType::Integer));
    FieldDef calc = def(QStringLiteral("RefC"), FieldType::String);
    calc.kind = FieldDef::Kind::Calculated;
    Field& ref = q.addField(calc);
    q.onCalcFields = [&](Dataset&) {
        if (idpsl.asInteger() < 0)
            throw ZtfiError(QStringLiteral("bad row"));
        ref.setValue(QStringLiteral("R") + idpsl.asString());
    };
    q.setSql(QStringLiteral("SELECT IDPSL FROM DPATVPPSL ORDER BY IDPSL"));
    q.open();
    q.last();
    EXPECT_EQ(ref.asString(), QStringLiteral("R1300"));
    q.first();
    EXPECT_EQ(ref.asString(), QStringLiteral("R1201"));
    EXPECT_THROW(ref.setValue(QStringLiteral("x")), DatabaseError);  // not editing
    q.close();

    db.exec(QStringLiteral("INSERT INTO DPATVPPSL VALUES (9, -1, 'N', 58)"));
    EXPECT_THROW(q.open(), ZtfiError);
    EXPECT_FALSE(q.isActive());
}

TEST_F(DatasetTest, HiddenCardFieldsOnlyForContractDatasets)
{
    struct Case {
        QStringList declared;
        bool cardFields;
    };
    const Case cases[] = {
        {{QStringLiteral("IdPog")}, true},
        {{QStringLiteral("IDPOG"), QStringLiteral("KrtKDD")}, false},
        {{QStringLiteral("IdPog"), QStringLiteral("KRTBIS")}, false},
        {{QStringLiteral("NZV")}, false},
    };
    for (const Case& c : cases) {
        TQueryDM q(db.connection(), QStringLiteral("qPog"));
        for (const QString& name : c.declared)
            q.addField(def(name, FieldType::Integer));
        q.loaded();
        const Field* bis = q.findField(QStringLiteral("IdPogKrtBis"));
        const Field* kdd = q.findField(QStringLiteral("IdPogKrtKdd"));
        EXPECT_EQ(bis != nullptr, c.cardFields) << c.declared.join(u',').toStdString();
        EXPECT_EQ(kdd != nullptr, c.cardFields) << c.declared.join(u',').toStdString();
        if (bis) {
            EXPECT_TRUE(bis->isCalculated());
            EXPECT_FALSE(bis->visible());
            EXPECT_EQ(bis->type(), FieldType::Integer);
        }
    }
}

TEST_F(DatasetTest, FieldTextsUseTheSystemFormats)
{
    TQueryDM q(db.connection(), QStringLiteral("qVal"));
    Field& price = q.addField(def(QStringLiteral("PRICE"), FieldType::Float));
    FieldDef grouped = def(QStringLiteral("AMOUNT"), FieldType::Float);
    grouped.displayFormat = QStringLiteral(",0.00");
    Field& amount = q.addField(grouped);
    FieldDef day = def(QStringLiteral("DAY"), FieldType::DateTime);
    day.displayFormat = QStringLiteral("dd.mm.yyyy hh:nn");
    Field& when = q.addField(day);
    Field& empty = q.addField(def(QStringLiteral("EMPTYVAL"), FieldType::Float));
    q.setSql(QStringLiteral("SELECT 1234.5 AS PRICE, 1234.5 AS AMOUNT, "
                            "TO_DATE('05.01.2026 15:45:10','dd.mm.yyyy hh24:mi:ss') AS DAY, "
                            "NULL AS EMPTYVAL FROM dual"));
    q.open();
    EXPECT_EQ(price.asString(), QStringLiteral("1234,5"));
    EXPECT_EQ(price.displayText(), QStringLiteral("1234,5"));
    EXPECT_EQ(amount.asString(), QStringLiteral("1234,5"));
    EXPECT_EQ(amount.displayText(), QStringLiteral("1.234,50"));
    EXPECT_EQ(when.displayText(), QStringLiteral("05.01.2026 15:45"));
    EXPECT_TRUE(empty.isNull());
    EXPECT_FALSE(empty.value().isValid());
    EXPECT_EQ(empty.asString(), QString());
    EXPECT_EQ(empty.displayText(), QString());
}

TEST_F(DatasetTest, OpensAndWalksAHundredThousandRowsQuickly)
{
    QSqlQuery fill(db.connection().database());
    ASSERT_TRUE(fill.exec(QStringLiteral(
        "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 100000) "
        "INSERT INTO DPATVPIMP (IDIMP, DATUM, ISIN, CENA, REFSTTRANSA) "
        "SELECT x, 46027 + x % 30, 'SI00311021' || (x % 100), x * 0.5, x FROM n")));

    TQueryDM q(db.connection(), QStringLiteral("qImp"));
    Field& id = q.addField(def(QStringLiteral("IDIMP"), FieldType::Integer));
    Field& datum = q.addField(def(QStringLiteral("DATUM"), FieldType::Date));
    Field& isin = q.addField(def(QStringLiteral("ISIN"), FieldType::String));
    Field& cena = q.addField(def(QStringLiteral("CENA"), FieldType::Float));
    q.setSql(QStringLiteral("SELECT IDIMP, DATUM, ISIN, CENA FROM DPATVPIMP ORDER BY IDIMP"));

    // Processor time, not wall time: the machine may be busy with other work.
    const std::clock_t start = std::clock();
    q.open();
    qint64 sum = 0;
    double total = 0;
    int isinLength = 0;
    QDate lastDay;
    for (q.first(); !q.eof(); q.next()) {
        sum += id.asInteger();
        total += cena.asFloat();
        isinLength += int(isin.asString().size());
        lastDay = datum.asDate();
    }
    const long long elapsed = (std::clock() - start) * 1000LL / CLOCKS_PER_SEC;
    std::printf("[ perf     ] open and walk of 100000 rows: %lld ms of processor time\n", elapsed);

    EXPECT_EQ(q.recordCount(), 100000);
    EXPECT_EQ(sum, qint64(100000) * 100001 / 2);
    EXPECT_DOUBLE_EQ(total, 0.5 * 100000.0 * 100001.0 / 2);
    EXPECT_GT(isinLength, 0);
    EXPECT_EQ(lastDay, QDate(1899, 12, 30).addDays(46027 + 100000 % 30));
    EXPECT_LT(elapsed, 1000);
}

}  // namespace
