#include "core/Config.h"

#include "core/IniFile.h"
#include "core/Interaction.h"
#include "core/PassPhraseCodec.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace {

const QString kGnuPG = QStringLiteral("GnuPG");
const QString kGeneral = QStringLiteral("Splošno");
const QString kMarkets = QStringLiteral("Trzisce");
const QString kSegments = QStringLiteral("SegmentTrg");

// "cut": only the text before the first "//" remains, trimmed.
QString cut(const QString& value)
{
    const qsizetype comment = value.indexOf(QLatin1String("//"));
    return (comment < 0 ? value : value.left(comment)).trimmed();
}

// A list of market codes as a statement takes it: items separated by commas, each a whole
// number or a text in single quotes (a doubled quote inside stands for one), blanks around
// them. The items without their quotes; none when the value is not such a list.
std::optional<QStringList> marketCodes(const QString& value)
{
    static const QString code = QStringLiteral("(\\d+|'(?:[^']|'')*')");
    static const QRegularExpression list(QStringLiteral("^\\s*%1\\s*(?:,\\s*%1\\s*)*$").arg(code));
    static const QRegularExpression item(code);
    if (!list.match(value).hasMatch())
        return std::nullopt;
    QStringList codes;
    for (const QRegularExpressionMatch& match : item.globalMatch(value)) {
        QString text = match.captured(1);
        if (text.startsWith(QLatin1Char('\'')))
            text = text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        codes << text;
    }
    return codes;
}

// A folder that is configured with a trailing separator of either kind still names the folder.
bool folderExists(const QString& folder)
{
    QString path = folder;
    if (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))))
        path.chop(1);
    return QFileInfo(path).isDir();
}

void checkFolder(const QString& folder, Interaction& ui)
{
    if (!folderExists(folder))
        ui.inform(QStringLiteral("Direktorij ") + folder + QStringLiteral(" ne obstaja!"));
}

}  // namespace

QString Config::fixedZoneListMessage(const QString& value)
{
    return QStringLiteral("Vrednost FiksniTimeZoneZaTrg v ZTFI.ini (") + value
        + QStringLiteral(") ni seznam šifer trgov, ločenih z vejico (npr. 8,12), in je prezrta.");
}

bool Config::isFixedZoneMarket(const QString& marketCode) const
{
    return fixedZoneMarkets.contains(marketCode, Qt::CaseInsensitive);
}

bool Config::hasPdfFolder() const
{
    return PDF_Path.size() > 1;
}

Config Config::read(const QString& folder, Interaction& ui)
{
    Config config;
    QString programFolder = folder;
    if (!programFolder.endsWith(QLatin1Char('/')))
        programFolder += QLatin1Char('/');
    const QString fileName = programFolder + QStringLiteral("ZTFI.ini");
    if (!QFileInfo(fileName).isFile()) {
        ui.inform(QStringLiteral("Manjka .ini datoteka!"));
        return config;
    }
    config.fileFound = true;
    const IniFile ini = IniFile::read(fileName);

    config.Path = ini.value(kGnuPG, QStringLiteral("Path"));
    config.User = ini.value(kGnuPG, QStringLiteral("User"));
    const QString passPhrase = ini.value(kGnuPG, QStringLiteral("PassPhrase"));
    if (!passPhrase.isEmpty()) {
        // A damaged value must not stop the program: it is reported and ignored.
        const std::optional<QString> decoded = PassPhraseCodec::decode(passPhrase);
        if (decoded)
            config.PassPhrase = *decoded;
        else
            ui.warn(QStringLiteral("Vrednost PassPhrase v ZTFI.ini ni veljavna in je prezrta."));
    }

    config.Tip = cut(ini.value(kGeneral, QStringLiteral("Tip"), QStringLiteral("ORACLE")));
    config.TipPosla = ini.value(kGeneral, QStringLiteral("TipPosla")).trimmed();
    config.Posli_OXU_Prefiks = ini.value(kGeneral, QStringLiteral("Posli_OXU_Prefiks")).trimmed();
    config.VP_OXU_Prefiks = ini.value(kGeneral, QStringLiteral("VP_OXU_Prefiks")).trimmed();
    config.Posli_Import_Prefiks = ini.value(kGeneral, QStringLiteral("Posli_Import_Prefiks")).trimmed();
    config.XMLPath_Server = cut(ini.value(kGeneral, QStringLiteral("XMLPath_Server")));
    config.SIGPath_Server = cut(ini.value(kGeneral, QStringLiteral("SIGPath_Server")));
    config.ATVP_Uporabnik = ini.value(kGeneral, QStringLiteral("ATVP_Uporabnik")).trimmed();
    if (config.ATVP_Uporabnik.isEmpty())
        ui.inform(QStringLiteral("Prosim preverite ZTFI.ini fajl, manjka ATVP_Uporabnik!!"));

    config.DMC_2 = cut(ini.value(kMarkets, QStringLiteral("DMC_2")));
    config.DMC_3 = cut(ini.value(kMarkets, QStringLiteral("DMC_3")));
    config.Tuj_2 = cut(ini.value(kMarkets, QStringLiteral("Tuj_2")));
    config.Tuj_3 = cut(ini.value(kMarkets, QStringLiteral("Tuj_3")));

    config.Sf_Trga_Porocevalca =
        cut(ini.value(kGeneral, QStringLiteral("Sf_Trga_Porocevalca"), QStringLiteral("8")));
    config.MIC_LJSE_C = ini.value(kSegments, QStringLiteral("MIC_LJSE_C")).toUpper();
    config.MatStev = ini.value(kGeneral, QStringLiteral("MatStev"));
    // The value goes into the report-row statement as it stands: only a list of market codes
    // is taken.
    config.FiksniTimeZoneZaTrg = cut(ini.value(kGeneral, QStringLiteral("FiksniTimeZoneZaTrg")));
    if (!config.FiksniTimeZoneZaTrg.isEmpty()) {
        const std::optional<QStringList> codes = marketCodes(config.FiksniTimeZoneZaTrg);
        if (codes) {
            config.fixedZoneMarkets = *codes;
        } else {
            ui.warn(fixedZoneListMessage(config.FiksniTimeZoneZaTrg));
            config.FiksniTimeZoneZaTrg.clear();
        }
    }
    bool isInteger = false;
    const int debug = ini.value(kGeneral, QStringLiteral("Debug")).toInt(&isInteger);
    config.Debug = isInteger ? debug : 0;
    const int wait = cut(ini.value(kGeneral, QStringLiteral("CakanjeStreznik"))).toInt(&isInteger);
    config.CakanjeStreznik = isInteger && wait > 0 ? wait : 60;

    // An empty PDF_Path becomes the separator alone: no PDF folder is configured.
    config.PDF_Path = cut(ini.value(kGeneral, QStringLiteral("PDF_Path")));
    if (!config.PDF_Path.endsWith(QLatin1Char('/')) && !config.PDF_Path.endsWith(QLatin1Char('\\')))
        config.PDF_Path += QLatin1Char('/');
    if (config.hasPdfFolder())
        checkFolder(config.PDF_Path, ui);

    config.PDF_Server = cut(ini.value(kGeneral, QStringLiteral("PDF_Server")));
    if (config.PDF_Server.isEmpty())
        config.PDF_Server = programFolder;
    checkFolder(config.PDF_Server, ui);
    config.PDF_SIGServer = cut(ini.value(kGeneral, QStringLiteral("PDF_SIGServer")));
    if (config.PDF_SIGServer.isEmpty())
        config.PDF_SIGServer = programFolder;
    checkFolder(config.PDF_SIGServer, ui);

    return config;
}
