#include "core/Config.h"

#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

namespace {

using Call = ScriptedInteraction::Call;

// A program folder in a temporary directory.
class ProgramFolderFixture {
public:
    QString folder() const { return dir_.path() + QLatin1Char('/'); }

    void writeIni(const QByteArray& bytes) const
    {
        QFile file(folder() + QStringLiteral("ZTFI.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString makeFolder(const QString& name) const
    {
        QDir(dir_.path()).mkpath(name);
        return folder() + name;
    }

private:
    QTemporaryDir dir_;
};

// ---- every key: section, default and cleaning -------------------------------------------

struct ValueCase {
    const char* name;
    const char* ini;  // UTF-8 text of ZTFI.ini
    QString (*value)(const Config&);
    const char* expected;  // "<folder>" stands for the program folder
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

QString dialect(const Config& c) { return c.isDb2() ? QStringLiteral("DB2") : QStringLiteral("Oracle"); }

class ConfigValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ConfigValue, IsReadAndCleaned)
{
    const ValueCase& c = GetParam();
    ProgramFolderFixture program;
    program.writeIni(QByteArray(c.ini));
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_TRUE(config.fileFound);
    EXPECT_EQ(c.value(config), QString::fromUtf8(c.expected).replace(QStringLiteral("<folder>"), program.folder()));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ConfigValue,
    ::testing::Values(
        // dialect
        ValueCase{"TipDb2", "[Splošno]\nTip=DB2\n", dialect, "DB2"},
        ValueCase{"TipDb2WithComment", "[Splošno]\nTip=DB2 // strežnik\n", dialect, "DB2"},
        ValueCase{"TipLowerCaseIsOracle", "[Splošno]\nTip=db2\n", dialect, "Oracle"},
        ValueCase{"TipMissingIsOracle", "[Splošno]\n", dialect, "Oracle"},
        ValueCase{"TipDefault", "[Splošno]\n", [](const Config& c) { return c.Tip; }, "ORACLE"},
        ValueCase{"NamesIgnoreCase", "[SPLOŠNO]\ntIP=DB2\n", dialect, "DB2"},
        // cut
        ValueCase{"Dmc2CommentCut", "[Trzisce]\nDMC_2=KL // komentar\n",
                  [](const Config& c) { return c.DMC_2; }, "KL"},
        ValueCase{"Tuj3TrimmedWithoutComment", "[Trzisce]\nTuj_3=  AB  \n",
                  [](const Config& c) { return c.Tuj_3; }, "AB"},
        ValueCase{"XmlPathCutAtFirstComment", "[Splošno]\nXMLPath_Server=\\\\srv\\xml\\ // a // b\n",
                  [](const Config& c) { return c.XMLPath_Server; }, "\\\\srv\\xml\\"},
        ValueCase{"SfTrgaDefault", "[Splošno]\n", [](const Config& c) { return c.Sf_Trga_Porocevalca; }, "8"},
        ValueCase{"SfTrgaCut", "[Splošno]\nSf_Trga_Porocevalca=12 // LJSE\n",
                  [](const Config& c) { return c.Sf_Trga_Porocevalca; }, "12"},
        ValueCase{"SfTrgaPresentButEmpty", "[Splošno]\nSf_Trga_Porocevalca=\n",
                  [](const Config& c) { return c.Sf_Trga_Porocevalca; }, ""},
        // trim: "//" is no comment
        ValueCase{"TipPoslaTakenWhole", "[Splošno]\nTipPosla=  KL//M  \n",
                  [](const Config& c) { return c.TipPosla; }, "KL//M"},
        ValueCase{"PrefixTakenWhole", "[Splošno]\nPosli_OXU_Prefiks= P- // x \n",
                  [](const Config& c) { return c.Posli_OXU_Prefiks; }, "P- // x"},
        // raw
        ValueCase{"MatStevRaw", "[Splošno]\nMatStev=1234567 // x\n",
                  [](const Config& c) { return c.MatStev; }, "1234567 // x"},
        ValueCase{"GnuPGPathRaw", "[GnuPG]\nPath=gnupg // x\n", [](const Config& c) { return c.Path; }, "gnupg // x"},
        ValueCase{"ValueAfterFirstEquals", "[GnuPG]\nUser=a=b\n", [](const Config& c) { return c.User; }, "a=b"},
        ValueCase{"MicUpperCased", "[SegmentTrg]\nMIC_LJSE_C=xljc\n",
                  [](const Config& c) { return c.MIC_LJSE_C; }, "XLJC"},
        // Debug
        ValueCase{"DebugInteger", "[Splošno]\nDebug=2\n", [](const Config& c) { return QString::number(c.Debug); }, "2"},
        ValueCase{"DebugNotInteger", "[Splošno]\nDebug=da\n", [](const Config& c) { return QString::number(c.Debug); }, "0"},
        ValueCase{"DebugMissing", "[Splošno]\n", [](const Config& c) { return QString::number(c.Debug); }, "0"},
        // The wait for a server folder
        ValueCase{"ServerWaitSet", "[Splošno]\nCakanjeStreznik= 5 // s\n", [](const Config& c) { return QString::number(c.CakanjeStreznik); }, "5"},
        ValueCase{"ServerWaitMissing", "[Splošno]\n", [](const Config& c) { return QString::number(c.CakanjeStreznik); }, "60"},
        ValueCase{"ServerWaitNotPositive", "[Splošno]\nCakanjeStreznik=0\n", [](const Config& c) { return QString::number(c.CakanjeStreznik); }, "60"},
        // fixed-zone markets
        ValueCase{"FixedZoneRaw", "[Splošno]\nFiksniTimeZoneZaTrg= 8, 12 \n",
                  [](const Config& c) { return c.FiksniTimeZoneZaTrg; }, "8, 12"},
        ValueCase{"FixedZoneCommas", "[Splošno]\nFiksniTimeZoneZaTrg=8,12\n",
                  [](const Config& c) { return c.fixedZoneMarkets.join(u'|'); }, "8|12"},
        ValueCase{"FixedZoneBlanksAndQuotes", "[Splošno]\nFiksniTimeZoneZaTrg=8 , 12 ,'a b','c,d', 'O''K'\n",
                  [](const Config& c) { return c.fixedZoneMarkets.join(u'|'); }, "8|12|a b|c,d|O'K"},
        ValueCase{"FixedZoneCommentCut", "[Splošno]\nFiksniTimeZoneZaTrg=8,12 // poletni čas ne velja\n",
                  [](const Config& c) { return c.FiksniTimeZoneZaTrg + u'=' + c.fixedZoneMarkets.join(u'|'); },
                  "8,12=8|12"},
        ValueCase{"FixedZoneEmpty", "[Splošno]\nFiksniTimeZoneZaTrg=\n",
                  [](const Config& c) { return c.fixedZoneMarkets.join(u'|'); }, ""},
        // PDF folders
        ValueCase{"PdfPathSeparatorAppended", "[Splošno]\nPDF_Path=/data/pdf\n",
                  [](const Config& c) { return c.PDF_Path; }, "/data/pdf/"},
        ValueCase{"PdfPathEndingWithSlash", "[Splošno]\nPDF_Path=/data/pdf/\n",
                  [](const Config& c) { return c.PDF_Path; }, "/data/pdf/"},
        ValueCase{"PdfPathEndingWithBackslash", "[Splošno]\nPDF_Path=C:\\PDF\\\n",
                  [](const Config& c) { return c.PDF_Path; }, "C:\\PDF\\"},
        ValueCase{"PdfPathCutThenSeparator", "[Splošno]\nPDF_Path=/data/pdf // mapa\n",
                  [](const Config& c) { return c.PDF_Path; }, "/data/pdf/"},
        ValueCase{"PdfPathEmpty", "[Splošno]\nPDF_Path=\n", [](const Config& c) { return c.PDF_Path; }, "/"},
        ValueCase{"PdfServerEmptyIsProgramFolder", "[Splošno]\nPDF_Server= // ni\n",
                  [](const Config& c) { return c.PDF_Server; }, "<folder>"},
        ValueCase{"PdfSigServerMissingIsProgramFolder", "[Splošno]\n",
                  [](const Config& c) { return c.PDF_SIGServer; }, "<folder>"},
        ValueCase{"PdfSigServerCut", "[Splošno]\nPDF_SIGServer=/srv/sig // x\n",
                  [](const Config& c) { return c.PDF_SIGServer; }, "/srv/sig"},
        // pass phrase
        ValueCase{"PassPhraseDecoded", "[GnuPG]\nPassPhrase=4a6B4\n",
                  [](const Config& c) { return c.PassPhrase; }, "Jk"},
        ValueCase{"PassPhraseBadPairIgnored", "[GnuPG]\nPassPhrase=4G\n",
                  [](const Config& c) { return c.PassPhrase; }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigFixedZone, LooksMarketsUpWithoutRegardToCase)
{
    ProgramFolderFixture program;
    program.writeIni("[Splošno]\nFiksniTimeZoneZaTrg=8,'xetr'\n");
    ScriptedInteraction ui;
    const Config config = Config::read(program.folder(), ui);

    EXPECT_TRUE(config.isFixedZoneMarket(QStringLiteral("XETR")));
    EXPECT_TRUE(config.isFixedZoneMarket(QStringLiteral("8")));
    EXPECT_FALSE(config.isFixedZoneMarket(QStringLiteral("12")));
}

// ---- messages and their order ------------------------------------------------------------

// A fixed-zone list goes into the report-row statement as it stands: a value that is no list
// of market codes would break every selection. It is named in a warning and left out.
TEST(ConfigMessages, FixedZoneListThatIsNoListOfMarketCodesIsNamedAndLeftOut)
{
    for (const char* value : {"8 12", "8;12", "8,xetr", "8,,12", "8,", "'8", "8) OR (1=1"}) {
        SCOPED_TRACE(value);
        ProgramFolderFixture program;
        program.writeIni(QStringLiteral("[Splošno]\nATVP_Uporabnik=ATVP\nFiksniTimeZoneZaTrg=%1 // trgi\n")
                             .arg(QLatin1String(value))
                             .toUtf8());
        ScriptedInteraction ui;

        const Config config = Config::read(program.folder(), ui);

        const QString message = QStringLiteral("Vrednost FiksniTimeZoneZaTrg v ZTFI.ini (") + QLatin1String(value)
            + QStringLiteral(") ni seznam šifer trgov, ločenih z vejico (npr. 8,12), in je prezrta.");
        EXPECT_EQ(ui.calls(), (std::vector<Call>{{"warn", message, {}}}));
        EXPECT_EQ(config.FiksniTimeZoneZaTrg, QString());
        EXPECT_TRUE(config.fixedZoneMarkets.isEmpty());
    }
}

TEST(ConfigMessages, MissingFileLeavesEveryValueEmpty)
{
    ProgramFolderFixture program;
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_EQ(ui.calls(), (std::vector<Call>{{"inform", "Manjka .ini datoteka!", {}}}));
    EXPECT_FALSE(config.fileFound);
    EXPECT_FALSE(config.isDb2());
    EXPECT_EQ(config.Tip, QString());
    EXPECT_EQ(config.Sf_Trga_Porocevalca, QString());
    EXPECT_EQ(config.PDF_Server, QString());
    EXPECT_FALSE(config.hasPdfFolder());
}

TEST(ConfigMessages, ComeInReadingOrderNotFileOrder)
{
    ProgramFolderFixture program;
    program.writeIni("[Splošno]\n"
                     "PDF_SIGServer=/ni/sig\n"
                     "PDF_Server=/ni/pdf // strežnik\n"
                     "PDF_Path=/ni/vhod\n"
                     "ATVP_Uporabnik=  \n"
                     "[GnuPG]\n"
                     "PassPhrase=41ZZ\n");
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_EQ(ui.calls(),
              (std::vector<Call>{
                  {"warn", "Vrednost PassPhrase v ZTFI.ini ni veljavna in je prezrta.", {}},
                  {"inform", "Prosim preverite ZTFI.ini fajl, manjka ATVP_Uporabnik!!", {}},
                  {"inform", "Direktorij /ni/vhod/ ne obstaja!", {}},
                  {"inform", "Direktorij /ni/pdf ne obstaja!", {}},
                  {"inform", "Direktorij /ni/sig ne obstaja!", {}},
              }));
    // The program goes on with the values as configured.
    EXPECT_EQ(config.PassPhrase, QString());
    EXPECT_EQ(config.PDF_Server, QStringLiteral("/ni/pdf"));
}

TEST(ConfigMessages, ExistingFoldersAndNoPdfPathRaiseNone)
{
    ProgramFolderFixture program;
    const QString sig = program.makeFolder(QStringLiteral("sig"));
    program.writeIni(QStringLiteral("[Splošno]\nATVP_Uporabnik=ATVP\nPDF_SIGServer=%1\\\n").arg(sig).toUtf8());
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_EQ(ui.calls(), std::vector<Call>());
    EXPECT_EQ(config.PDF_Path, QStringLiteral("/"));
    EXPECT_FALSE(config.hasPdfFolder());
    EXPECT_EQ(config.PDF_Server, program.folder());
}

TEST(ConfigMessages, ExistingPdfPathRaisesNone)
{
    ProgramFolderFixture program;
    const QString pdf = program.makeFolder(QStringLiteral("pdf"));
    program.writeIni(QStringLiteral("[Splošno]\nATVP_Uporabnik=ATVP\nPDF_Path=%1\n").arg(pdf).toUtf8());
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_EQ(ui.calls(), std::vector<Call>());
    EXPECT_TRUE(config.hasPdfFolder());
    EXPECT_EQ(config.PDF_Path, pdf + QLatin1Char('/'));
}

// ---- the two encodings of the file -------------------------------------------------------

struct EncodingCase {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class ConfigEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ConfigEncoding, FindsSectionWithLetterSAndDecodesValues)
{
    ProgramFolderFixture program;
    program.writeIni(GetParam().bytes);
    ScriptedInteraction ui;

    const Config config = Config::read(program.folder(), ui);

    EXPECT_EQ(ui.calls(), std::vector<Call>());
    EXPECT_TRUE(config.isDb2());
    EXPECT_EQ(config.ATVP_Uporabnik, QStringLiteral("Račun ATVP"));
    EXPECT_EQ(config.User, QStringLiteral("Žan Šček"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigEncoding,
    ::testing::Values(
        EncodingCase{"Windows1250",
                     QByteArray("[Splo\x9Ano]\r\nTip=DB2\r\nATVP_Uporabnik=Ra\xE8un ATVP\r\n"
                                "[GnuPG]\r\nUser=\x8E" "an \x8A\xE8" "ek\r\n")},
        EncodingCase{"Utf8", QStringLiteral("[Splošno]\nTip=DB2\nATVP_Uporabnik=Račun ATVP\n"
                                            "[GnuPG]\nUser=Žan Šček\n").toUtf8()},
        EncodingCase{"Utf8WithByteOrderMark",
                     QByteArray("\xEF\xBB\xBF") + QStringLiteral("[Splošno]\nTip=DB2\nATVP_Uporabnik=Račun ATVP\n"
                                                                 "[GnuPG]\nUser=Žan Šček\n").toUtf8()}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
