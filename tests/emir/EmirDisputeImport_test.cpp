#include "emir/EmirDisputeImport.h"

#include "core/Error.h"
#include "emir/EmirFixture.h"
#include "exchange/WorkbookWriter.h"
#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace emirfixture;

namespace {

// The rows of a workbook below its header line: each cell a text, or a date where given.
using Row = std::vector<Cell>;

class EmirDisputeImportTest : public ::testing::Test {
protected:
    EmirDisputeImportTest() { add(db, Report{.id = 5, .serial = 1}); }

    QString workbook(const std::vector<Row>& rows)
    {
        CellBlock values(int(rows.size()) + 1, 6);
        const char* header[] = {"Stranka", "Nasprotna stranka", "Začetek", "Zaključek", "Vrednost", "Opombe"};
        for (int c = 0; c < 6; ++c)
            values.at(1, c + 1) = Cell::text(QString::fromUtf8(header[c]));
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                values.at(int(r) + 2, int(c) + 1) = rows[r][c];
        const QString path = QDir(db.folder()).filePath(QStringLiteral("spori.xls"));
        writeWorkbook(path, {{QStringLiteral("Spori"), values}});
        return path;
    }

    static Cell t(const char* text) { return Cell::text(QString::fromUtf8(text)); }

    QStringList stored()
    {
        return db.texts(QStringLiteral("SELECT EMIRPoselId, Stranka, NasStranka, DatZacetka, DatZakljucka, Vrednost, "
                                       "Opombe, EMIRPorociloId FROM EMIRPOSEL ORDER BY EMIRPoselId"));
    }

    FixtureDb db;
    ScriptedInteraction ui;
    EmirDisputeImport import{db.connection(), SqlDialect::Oracle, ui};
};

TEST_F(EmirDisputeImportTest, DatesAsTextOrCellsAndAmountsWithThousandsPointsAreStored)
{
    const QString file = workbook({
        {t("Kovač d.o.o."), t("Banka"), t("05.03.2024"), t("ni datum"), t("1.234,50"), t("prva")},
        {t("B"), t("C"), Cell::date(QDate(2024, 3, 6)), Cell::date(QDate(2024, 3, 9)), Cell::number(7), Cell()},
        {t("D"), t("E"), t("07.03.2024"), Cell(), Cell(), t("brez zneska")},
    });
    EXPECT_EQ(import.importFile(file, 5), 3);
    // 45356 is 5.3.2024 as the embedded engine stores days.
    EXPECT_EQ(stored(), (QStringList{QStringLiteral("1|Kovač d.o.o.|Banka|45356||1234.5|prva|5"),
                                     QStringLiteral("2|B|C|45357|45360|7||5"),
                                     QStringLiteral("3|D|E|45358||0|brez zneska|5")}));
    EXPECT_EQ(ui.calls(), std::vector<ScriptedInteraction::Call>());
    EXPECT_EQ(EmirDisputeImport::finishedMessage(file),
              QStringLiteral("Uvoz podatkov iz datoteke \"") + file + QStringLiteral("\" je končan."));
}

TEST_F(EmirDisputeImportTest, AHeaderAloneAddsNothing)
{
    EXPECT_EQ(import.importFile(workbook({}), 5), 0);
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(EmirDisputeImportTest, ABadRowRollsBackEveryRowAndIsNamedByItsNumber)
{
    const struct {
        Row bad;
        const char* message;
    } cases[] = {
        {{t("D"), t(" "), t("04.03.2024")}, "Prišlo je do napake pri uvozu vrstice 4: Neveljavna nasprotna stranka."},
        {{t(""), t("X")}, nullptr},  // column A empty: the rows end before it
        {{t("D"), t("E"), t("04.03.2024"), t("01.03.2024")},
         "Prišlo je do napake pri uvozu vrstice 4: Datum začetka spora mora biti pred datumom zaključka spora."},
    };
    for (const auto& c : cases) {
        const Row good = {t("A"), t("B"), t("01.03.2024"), Cell(), t("5")};
        const QString file = workbook({good, good, good, c.bad});
        if (!c.message) {
            EXPECT_EQ(import.importFile(file, 5), 3);
            db.exec(QStringLiteral("DELETE FROM EMIRPOSEL"));
            continue;
        }
        const qint64 sequence = db.value(QStringLiteral("SELECT value FROM ztfi_sequence WHERE name = 'EMIRPOSEL_ID_SEQ'")).toLongLong();
        try {
            import.importFile(file, 5);
            FAIL() << c.message;
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
        EXPECT_TRUE(stored().isEmpty());
        EXPECT_FALSE(db.connection().inTransaction());
        EXPECT_EQ(db.value(QStringLiteral("SELECT value FROM ztfi_sequence WHERE name = 'EMIRPOSEL_ID_SEQ'")).toLongLong(), sequence);
    }
}

TEST_F(EmirDisputeImportTest, AValueThatDoesNotConvertEndsTheReadingBeforeAnythingIsWritten)
{
    const QString file = workbook({{t("A"), t("B"), t("01.03.2024"), Cell(), t("5")},
                                   {t("A"), t("B"), t("01.03.2024"), Cell(), t("pet")}});
    try {
        import.importFile(file, 5);
        FAIL() << "an amount that is no number was read";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Prišlo je do napake pri uvozu vrstice 2: 'pet' is not a valid floating point value"));
    }
    EXPECT_TRUE(stored().isEmpty());
    const QString noDate = workbook({{t("A"), t("B"), t("jutri"), Cell(), t("5")}});
    EXPECT_THROW(import.importFile(noDate, 5), ZtfiError);
    EXPECT_TRUE(stored().isEmpty());
    try {
        import.importFile(QDir(db.folder()).filePath(QStringLiteral("ni.xls")), 5);
        FAIL();
    } catch (const ZtfiError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ni.xls"))) << e.message().toStdString();
    }
}

// Amounts as a spreadsheet shows them, with exponents, are kept.
TEST_F(EmirDisputeImportTest, AmountsWithExponentsAreKept)
{
    const QString file = workbook({{t("A"), t("B"), t("01.03.2024"), Cell(), Cell::number(1e15)},
                                   {t("C"), t("D"), t("01.03.2024"), Cell(), Cell::number(0.00001)},
                                   {t("E"), t("F"), t("01.03.2024"), Cell(), t("1,5E+3")}});
    EXPECT_EQ(import.importFile(file, 5), 3);
    EXPECT_EQ(db.value(QStringLiteral("SELECT Vrednost FROM EMIRPOSEL WHERE Stranka = 'A'")).toDouble(), 1e15);
    EXPECT_EQ(db.value(QStringLiteral("SELECT Vrednost FROM EMIRPOSEL WHERE Stranka = 'C'")).toDouble(), 0.00001);
    EXPECT_EQ(db.value(QStringLiteral("SELECT Vrednost FROM EMIRPOSEL WHERE Stranka = 'E'")).toDouble(), 1500);
}

// A row below the first row without a party, or a value its column cannot hold, refuses the
// whole import: nothing is written, so a retry never adds a dispute twice.
TEST_F(EmirDisputeImportTest, UnreadRowsAndValuesThatDoNotFitRefuseTheWholeImport)
{
    const Row good = {t("A"), t("B"), t("01.03.2024"), Cell(), t("5")};
    const struct {
        std::vector<Row> rows;
        const char* message;
    } cases[] = {
        {{good, {}, {}, good},
         "Prišlo je do napake pri uvozu vrstice 4: vrstica ni prebrana, ker se branje konča pri vrstici 2, ki v stolpcu A "
         "nima stranke; uvoz ni izveden."},
        {{good, {t("A"), t("B\x0b"), t("01.03.2024")}},
         "Prišlo je do napake pri uvozu vrstice 2: Nasprotna stranka: vrednost vsebuje nedovoljen kontrolni znak."},
        {{good, {t("A"), t("B"), t("01.03.2024"), Cell(), t("1"), Cell::text(QString(300, QLatin1Char('x')))}},
         "Prišlo je do napake pri uvozu vrstice 2: Opomba: vrednost je daljša od dovoljene (dolžina 300, največ 250)."},
    };
    for (const auto& c : cases) {
        try {
            import.importFile(workbook(c.rows), 5);
            FAIL() << c.message;
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
        EXPECT_TRUE(stored().isEmpty());
    }
}

}  // namespace
