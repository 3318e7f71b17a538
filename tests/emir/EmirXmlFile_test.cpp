#include "emir/EmirXmlFile.h"

#include "core/Error.h"

#include "emir/EmirFixture.h"
#include "emir/EmirRegistry.h"
#include "emir/EmirXmlText.h"
#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"
#include "support/SqlScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace emirfixture;

namespace {

const QString kFirm = QStringLiteral("1234567000");

// The lines of an EMIR file, with the CR LF that ends every one.
QByteArray crlf(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

QString header(const QDateTime& at)
{
    return QStringLiteral("<ReportRoot xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xsi:noNamespaceSchemaLocation=\"EMIR.xsd\" MaticnaStevilkaZavezanca=\"1234567000\" "
                          "CreationDate=\"%1\" CreationTime=\"%2\" Version=\"1.0\">")
        .arg(at.date().toString(QStringLiteral("yyyy-MM-dd")), at.time().toString(QStringLiteral("HH:mm:ss")));
}

// xmllint's verdict on the file against schema/EMIR.xsd: empty when it is valid.
QString schemaFaults(const QString& path)
{
    QProcess lint;
    lint.start(QStringLiteral("xmllint"),
               {QStringLiteral("--noout"), QStringLiteral("--schema"), sourcePath(QStringLiteral("schema/EMIR.xsd")), path});
    lint.waitForFinished();
    return lint.exitCode() == 0 ? QString() : QString::fromUtf8(lint.readAllStandardError());
}

TEST(EmirXmlText, AmountsAreWholeWithThreeDigitsAtLeastAndThousandsPoints)
{
    const std::pair<double, const char*> cases[] = {
        {1234.56, "1.235"}, {5, "005"}, {0, "000"}, {12.5, "013"}, {999.4, "999"}, {1234567.0, "1.234.567"}, {-5, "-005"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(EmirXmlText::amount(value), QLatin1String(text)) << value;
}

class EmirXmlFileTest : public ::testing::Test {
protected:
    FixtureDb db;
    ScriptedInteraction ui;
    EmirRegistry reg{db.connection(), SqlDialect::Oracle};
    EmirXmlFile file{db.connection(), QStringLiteral("1234567"), db.folder()};

    // Writes the file of the report with the user's Yes, and returns its text; the stamp of the
    // report is in at.
    QByteArray generate(qint64 id, QDateTime& at)
    {
        reg.setPeriod(QDate(2000, 1, 1), QDate(2099, 12, 31));
        reg.reloadReports(id);
        ui.answerYesNo(true);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        path = file.generate(reg, ui);
        at = reg.currentReport()->preparedAt;
        EXPECT_GE(at, before);
        EXPECT_TRUE(schemaFaults(path).isEmpty()) << schemaFaults(path).toStdString();
        QFile written(path);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        return written.readAll();
    }

    QString path;
};

TEST_F(EmirXmlFileTest, AReportWithoutDisputesAndUnconfirmedTransactionsIsAnEmtrReportOfOneItem)
{
    add(db, Report{.id = 3, .serial = 12, .reportDay = QDate(2024, 6, 5)});
    QDateTime at;
    const QByteArray text = generate(3, at);
    EXPECT_EQ(text, crlf({QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"), header(at),
                          QStringLiteral("  <Porocila>"),
                          QStringLiteral("    <ReportEMIR>"),
                          QStringLiteral("      <ReferencnaStevilkaPorocila>12</ReferencnaStevilkaPorocila>"),
                          QStringLiteral("      <SifraPorocila>EMTR</SifraPorocila>"),
                          QStringLiteral("      <DatumPorocila>2024-06-05</DatumPorocila>"),
                          QStringLiteral("      <ZavezanecZaPorocanje>1234567000</ZavezanecZaPorocanje>"),
                          QStringLiteral("      <PostavkePorocila>"),
                          QStringLiteral("        <Postavka>"),
                          QStringLiteral("          <ZaporednaStevilkaZapisa>1</ZaporednaStevilkaZapisa>"),
                          QStringLiteral("        </Postavka>"),
                          QStringLiteral("      </PostavkePorocila>"),
                          QStringLiteral("    </ReportEMIR>"),
                          QStringLiteral("  </Porocila>"),
                          QStringLiteral("</ReportRoot>")}));
    // The name carries the serial and the year of generation, not of the report.
    EXPECT_EQ(QFileInfo(path).fileName(),
              QStringLiteral("EMIR001_1234567000_0012_%1.xml").arg(QDate::currentDate().toString(QStringLiteral("yy"))));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(db.folder()).absoluteFilePath());
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")),
              QStringList{QStringLiteral("Želite pripraviti XML za izbrano EMIR poročilo ?")});
    EXPECT_EQ(ui.texts(QStringLiteral("inform")),
              QStringList{QStringLiteral("Generiranje XML datoteke je končano. Ime datoteke: \"") + path + QStringLiteral("\".")});
    // No temporary file stays beside the report.
    EXPECT_EQ(QDir(db.folder()).entryList({QStringLiteral("EMIR001*")}, QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(EmirXmlFileTest, DisputesGiveAnEmspReportWithEscapedUtf8TextsInTheOrderOfTheList)
{
    add(db, Report{.id = 1, .serial = 7, .unconfirmed = 4, .reportDay = QDate(2024, 6, 5)});
    add(db, Dispute{.id = 1, .report = 1, .party = QStringLiteral("Kovač & Sin"), .counterparty = QStringLiteral("Banka \"A\""),
                    .firstDay = QDate(2024, 5, 2), .lastDay = QDate(2024, 5, 20), .amount = 1234.56,
                    .notes = QStringLiteral("<it's>")});
    add(db, Dispute{.id = 2, .report = 1, .party = QStringLiteral("B"), .counterparty = QStringLiteral("C"),
                    .firstDay = QDate(2024, 5, 3), .amount = 5});
    add(db, Dispute{.id = 3, .report = 1, .party = QStringLiteral("D"), .counterparty = QStringLiteral("E"),
                    .firstDay = QDate(2024, 5, 4), .amount = 0});
    QDateTime at;
    const QByteArray text = generate(1, at);
    QStringList lines{QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"), header(at),
                      QStringLiteral("  <Porocila>"),
                      QStringLiteral("    <ReportEMIR>"),
                      QStringLiteral("      <ReferencnaStevilkaPorocila>7</ReferencnaStevilkaPorocila>"),
                      QStringLiteral("      <SifraPorocila>EMSP</SifraPorocila>"),
                      QStringLiteral("      <DatumPorocila>2024-06-05</DatumPorocila>"),
                      QStringLiteral("      <ZavezanecZaPorocanje>1234567000</ZavezanecZaPorocanje>"),
                      QStringLiteral("      <PostavkePorocila>")};
    const struct {
        const char* party;
        const char* counterparty;
        const char* first;
        const char* last;
        const char* amount;
        const char* notes;
    } items[] = {
        {"Kovač &amp; Sin", "Banka &quot;A&quot;", "2024-05-02", "2024-05-20", "1.235", "&lt;it&apos;s&gt;"},
        {"B", "C", "2024-05-03", nullptr, "005", ""},
        {"D", "E", "2024-05-04", nullptr, "000", ""},
    };
    int number = 0;
    for (const auto& item : items) {
        lines << QStringLiteral("        <Postavka>")
              << QStringLiteral("          <ZaporednaStevilkaZapisa>%1</ZaporednaStevilkaZapisa>").arg(++number)
              << QStringLiteral("          <SteviloNepotrjenihTransakcij>4</SteviloNepotrjenihTransakcij>")
              << QStringLiteral("          <Stranka>%1</Stranka>").arg(QString::fromUtf8(item.party))
              << QStringLiteral("          <NasprotnaStranka>%1</NasprotnaStranka>").arg(QString::fromUtf8(item.counterparty))
              << QStringLiteral("          <DatumZacetkaSpora>%1</DatumZacetkaSpora>").arg(QLatin1String(item.first));
        if (item.last)
            lines << QStringLiteral("          <DatumZakljuckaSpora>%1</DatumZakljuckaSpora>").arg(QLatin1String(item.last));
        lines << QStringLiteral("          <ZnesekPogodbe>%1</ZnesekPogodbe>").arg(QLatin1String(item.amount))
              << QStringLiteral("          <Opombe>%1</Opombe>").arg(QString::fromUtf8(item.notes))
              << QStringLiteral("        </Postavka>");
    }
    lines << QStringLiteral("      </PostavkePorocila>") << QStringLiteral("    </ReportEMIR>")
          << QStringLiteral("  </Porocila>") << QStringLiteral("</ReportRoot>");
    EXPECT_EQ(text, crlf(lines));
    // "č" as its two UTF-8 bytes, and no byte-order mark.
    EXPECT_TRUE(text.contains("Kova\xc4\x8d"));
    EXPECT_TRUE(text.startsWith("<?xml"));
}

TEST_F(EmirXmlFileTest, ACancelledReportGivesItsCancellationAndItsSuccessorAnOrdinaryReport)
{
    add(db, Report{.id = 1, .serial = 7, .cancelled = QStringLiteral("D")});
    add(db, Dispute{.id = 1, .report = 1});
    add(db, Report{.id = 2, .serial = 10, .reportDay = QDate(2024, 6, 5), .cancels = 1});
    QDateTime at;
    const QByteArray notice = generate(1, at);
    EXPECT_EQ(notice, crlf({QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"), header(at),
                                      QStringLiteral("  <Preklici>"),
                                      QStringLiteral("    <PreklicPorocila>"),
                                      QStringLiteral("      <ZavezanecZaPorocanje>1234567000</ZavezanecZaPorocanje>"),
                                      QStringLiteral("      <ReferencnaStevilkaPorocila>7</ReferencnaStevilkaPorocila>"),
                                      QStringLiteral("      <CancelledFlag>C</CancelledFlag>"),
                                      QStringLiteral("    </PreklicPorocila>"),
                                      QStringLiteral("  </Preklici>"),
                                      QStringLiteral("</ReportRoot>")}));
    const QByteArray successor = generate(2, at);
    EXPECT_TRUE(successor.contains("<ReferencnaStevilkaPorocila>10</ReferencnaStevilkaPorocila>\r\n"));
    EXPECT_TRUE(successor.contains("<SifraPorocila>EMTR</SifraPorocila>"));
}

// A dispute stored before its values were checked (a party of 300 characters, a control
// character): the file would not validate against EMIR.xsd and never takes its name; an earlier
// valid file of the report stays as it was.
TEST_F(EmirXmlFileTest, AFileThatWouldNotValidateIsNeverWrittenUnderItsName)
{
    add(db, Report{.id = 1, .serial = 1});
    QDateTime at;
    const QByteArray valid = generate(1, at);
    for (const QString& party : {QString(300, QLatin1Char('x')), QStringLiteral("A\x01B")}) {
        db.exec(QStringLiteral("DELETE FROM EMIRPOSEL"));
        add(db, Dispute{.id = 1, .report = 1, .party = party, .counterparty = QStringLiteral("C"),
                        .firstDay = QDate(2024, 5, 3), .amount = 5});
        reg.reloadReports(1);
        ui.answerYesNo(true);
        ui.answerYesNo(true);
        try {
            file.generate(reg, ui);
            FAIL() << "an invalid file was written";
        } catch (const ZtfiError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datoteka ") + path
                                               + QStringLiteral(" ni zapisana, ker ne ustreza shemi EMIR.xsd: ")))
                << e.message().toStdString();
        }
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), valid);
        EXPECT_EQ(QDir(db.folder()).entryList({QStringLiteral("*EMIR001*")}, QDir::Files | QDir::Hidden).size(), 1);
    }
}

TEST_F(EmirXmlFileTest, GeneratingAgainAsksBeforeReplacingAndRenewsTheStamp)
{
    add(db, Report{.id = 1, .serial = 1});
    QDateTime first;
    generate(1, first);
    db.exec(QStringLiteral("UPDATE EMIRPOROCILO SET DanCasKreiranja = DanCasKreiranja - 1"));
    reg.reloadReports(1);

    // No to replacing ends the action with the file and the stamp as they were.
    ui.clearCalls();
    ui.answerYesNo(true);
    ui.answerYesNo(false);
    EXPECT_TRUE(file.generate(reg, ui).isEmpty());
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")).last(), EmirXmlFile::overwriteQuestion(path));
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")).last(),
              QStringLiteral("Datoteka \"") + path + QStringLiteral("\" že obstaja. Prepišem obstoječo datoteko ?"));
    EXPECT_EQ(reg.currentReport()->preparedAt.date(), first.date().addDays(-1));

    ui.answerYesNo(true);
    ui.answerYesNo(true);
    EXPECT_EQ(file.generate(reg, ui), path);
    EXPECT_EQ(reg.currentReport()->preparedAt.date(), QDate::currentDate());
}

TEST_F(EmirXmlFileTest, TheFilterDatesAndTheFirmCodeComeFirst)
{
    add(db, Report{.id = 1, .serial = 1});
    reg.setPeriod(QDate(), QDate(2099, 1, 1));
    reg.reloadReports(1);
    try {
        file.generate(reg, ui);
        FAIL();
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Neveljaven začetni datum."));
    }
    reg.setPeriod(QDate(2000, 1, 1), QDate());
    reg.reloadReports(1);
    try {
        file.generate(reg, ui);
        FAIL();
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Neveljaven končni datum."));
    }
    EXPECT_TRUE(ui.calls().empty());
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM EMIRPOROCILO WHERE DanCasKreiranja IS NOT NULL")).toInt(), 0);

    // Without MatStev the back-office number of the firm, cut to 7 characters and filled with "0".
    db.basics();
    db.exec(QStringLiteral("UPDATE OSB SET MTS = '98765432' WHERE SfOsb = 2"));
    EXPECT_EQ((EmirXmlFile{db.connection(), QString(), db.folder()}.firmCode()), QStringLiteral("9876543000"));
    EXPECT_EQ(file.firmCode(), kFirm);
}

}  // namespace
