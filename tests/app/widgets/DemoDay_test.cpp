#include "app/widgets/TfZTFI.h"

#include "data/engine/Connection.h"
#include "DemoDatabase.h"
#include "instruments/widgets/TfFinInstrDlg.h"
#include "signing/widgets/TfPasswordDlg.h"
#include "state/ZtfiApp.h"
#include "support/GpgTestHome.h"
#include "support/QtPrinters.h"
#include "support/ScriptedInteraction.h"
#include "support/SqlScript.h"
#include "ui/QtInteraction.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The messages are scripted; the signing credentials are asked by the window's own dialog.
class DialogSigningInteraction : public ScriptedInteraction {
public:
    std::optional<SigningCredentials> askSigningCredentials(const SigningCredentials& initial) override
    {
        return QtInteraction().askSigningCredentials(initial);
    }
};

// Runs an action that opens a modal dialog of type T and answers the dialog with `answer`.
template <typename T>
void answeringModal(const std::function<void()>& action, const std::function<void(T&)>& answer)
{
    bool answered = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer.stop();
            answered = true;
            answer(*dialog);
        }
    });
    timer.start(10);
    action();
    EXPECT_TRUE(answered) << T::staticMetaObject.className();
}

// The file names of a folder matching a mask, in name order.
QStringList filesIn(const QString& folder, const QString& mask)
{
    return QDir(folder).entryList({mask}, QDir::Files, QDir::Name);
}

// xmllint, as a reader independent of the program, on a report and the schema of the sources.
QString schemaFaults(const QString& report)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"),
                  {QStringLiteral("--noout"), QStringLiteral("--schema"),
                   sourcePath(QStringLiteral("schema/NTRS.xsd")), report});
    if (!xmllint.waitForFinished(60000))
        return QStringLiteral("xmllint did not finish: ") + xmllint.errorString();
    return xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0
               ? QString()
               : QString::fromLocal8Bit(xmllint.readAllStandardError());
}

// The serial number that a report's file name carries (TRDAT01_<firm>_<serial>_<yy>.xml).
int fileSerial(const QString& name)
{
    return name.section(QLatin1Char('_'), 2, 2).toInt();
}

// The demo day of the demo back-office database, run through the main window's buttons: the
// selection stops for the ISIN carried by two live instruments, the instrument is chosen in its
// dialog, the report is generated, validated, signed for the regulator, rejected and
// regenerated.
class DemoDayTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program_.isValid());
        ASSERT_TRUE(gpg_.valid()) << gpg_.problem().toStdString();
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        savedHome_ = qgetenv("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(program_.path()));
        for (const char* folder : {"server/xml", "server/sig", "server/pdf", "server/pdfsig", "pdf"})
            ASSERT_TRUE(QDir(program_.path()).mkpath(QLatin1String(folder)));
        DemoDatabase::create(inProgram(QStringLiteral("ZTFI.sqlite")), QStringLiteral("DEMO"));
        writeIni();
        app_ = std::make_unique<ZtfiApp>(
            QStringList{QStringLiteral("ZTFI"), QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("ana")}, ui_);
        window_ = std::make_unique<TfZTFI>(*app_);
    }

    void TearDown() override
    {
        window_.reset();
        app_.reset();
        if (hadHome_)
            qputenv("ZTFI_HOME", savedHome_);
        else
            qunsetenv("ZTFI_HOME");
    }

    // The demo's ZTFI.ini with the server folders in the program folder and the test's regulator.
    void writeIni()
    {
        QFile demo(sourcePath(QStringLiteral("demo/ZTFI.ini")));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(demo.readAll()).split(QLatin1Char('\n'));
        for (QString& line : lines) {
            line.replace(QStringLiteral("=server/"), QStringLiteral("=") + inProgram(QStringLiteral("server/")));
            if (line.startsWith(QLatin1String("ATVP_Uporabnik=")))
                line = QStringLiteral("ATVP_Uporabnik=") + GpgTestHome::regulatorUser();
            if (line == QLatin1String("PDF_Path=pdf"))
                line = QStringLiteral("PDF_Path=") + inProgram(QStringLiteral("pdf/"));
        }
        QFile ini(inProgram(QStringLiteral("ZTFI.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(lines.join(QLatin1Char('\n')).toUtf8());
    }

    QString inProgram(const QString& file) const { return program_.filePath(file); }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir program_;
    GpgTestHome gpg_;
    DialogSigningInteraction ui_;
    std::unique_ptr<ZtfiApp> app_;
    std::unique_ptr<TfZTFI> window_;

private:
    bool hadHome_ = false;
    QByteArray savedHome_;
};

TEST_F(DemoDayTest, SelectionChoiceReportSigningRejectionAndRegenerationThroughTheWindow)
{
    const QDate day = DemoDatabase::demoDay();
    ASSERT_EQ(day, QDate(2026, 12, 8));
    const QString isin = DemoDatabase::choiceIsin();
    ASSERT_EQ(isin, QStringLiteral("SI0031200007"));

    auto* pcMain = child<QTabWidget>("pcMain");
    auto* bbGenXML = child<QPushButton>("bbGenXML");
    auto* dbgDPATVPPSL = child<TFwwDBGrid>("dbgDPATVPPSL");
    auto* dbSifrantFinInstr = child<TFwwDBGrid>("dbSifrantFinInstr");
    auto* dbgDPATVP_SFVP = child<TFwwDBGrid>("dbgDPATVP_SFVP");
    auto* lbNeposlana = child<QListWidget>("lbNeposlana");
    auto* dbPorocila = child<TFwwDBGrid>("dbPorocila");
    auto* bbReGeneriraj = child<QPushButton>("bbReGeneriraj");
    const auto onTab = [&](const char* tab) { return pcMain->currentWidget() == child<QWidget>(tab); };
    const auto rows = [](TFwwDBGrid* grid) { return grid->model() ? grid->model()->rowCount() : 0; };
    const auto cell = [](TFwwDBGrid* grid, int row, int column) {
        return grid->model()->index(row, column).data().toString();
    };
    // "Generiranje XML poročila", then the one new report of the program folder, validated.
    const auto generate = [&]() -> QString {
        const QStringList before = filesIn(program_.path(), QStringLiteral("TRDAT01_*.xml"));
        bbGenXML->click();
        QStringList made = filesIn(program_.path(), QStringLiteral("TRDAT01_*.xml"));
        for (const QString& name : before)
            made.removeAll(name);
        EXPECT_EQ(made.size(), 1) << made.join(QLatin1Char(' ')).toStdString();
        if (made.size() != 1)
            return QString();
        EXPECT_EQ(schemaFaults(inProgram(made.first())), QString()) << made.first().toStdString();
        EXPECT_TRUE(onTab("tsATVP"));
        EXPECT_TRUE(child<QLineEdit>("eXMLFile")->isHidden()) << "schema faults shown";
        EXPECT_EQ(lbNeposlana->findItems(made.first(), Qt::MatchExactly).size(), 1);
        return made.first();
    };
    // The register's rows of the demo day on the tab "Poročila": serial and status text.
    const auto enterRegister = [&] {
        child<TPTypedEdit>("pteDanOd")->setAsDate(day);
        child<TPTypedEdit>("pteDanDo")->setAsDate(day);
        pcMain->setCurrentWidget(child<QWidget>("tsPorocila"));
        QStringList listed;
        for (int row = 0; row < rows(dbPorocila); ++row)
            listed << cell(dbPorocila, row, 3) + QLatin1Char(' ') + cell(dbPorocila, row, 6);
        return listed;
    };
    const auto selectRegisterRow = [&](int row) {
        dbPorocila->selectionModel()->setCurrentIndex(dbPorocila->model()->index(row, 0),
                                                      QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    };

    // 1. The selection of the demo day stops for the ISIN carried by two live instruments.
    child<TPTypedEdit>("dtpDan")->setAsDate(day);
    child<TPTypedEdit>("dtpDanDo")->setAsDate(day);
    child<QPushButton>("bbNabor")->click();
    EXPECT_EQ(ui_.messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
    ASSERT_TRUE(onTab("tsFinInstr"));
    for (const char* hidden : {"tsNabor", "tsImportXLS", "tsATVP", "tsPorocila"})
        EXPECT_FALSE(pcMain->isTabVisible(pcMain->indexOf(child<QWidget>(hidden)))) << hidden;
    auto* bNabor = child<QPushButton>("bNabor");
    EXPECT_TRUE(bNabor->isHidden());

    // 2. The pending row of the ISIN reports the instrument its own row names.
    int pending = -1;
    for (int row = 0; row < rows(dbgDPATVP_SFVP); ++row) {
        if (cell(dbgDPATVP_SFVP, row, 0) == isin && cell(dbgDPATVP_SFVP, row, 1).isEmpty())
            pending = row;
    }
    ASSERT_GE(pending, 0) << "no pending row of " << isin.toStdString();
    QSqlQuery own(app_->connection().database());
    own.prepare(QStringLiteral("SELECT SFVP_OXU FROM DPATVP_SFVP WHERE ISIN = :isin AND SFVP_POROCANJE IS NULL"));
    own.bindValue(QStringLiteral(":isin"), isin);
    ASSERT_TRUE(own.exec() && own.next());
    const QString instrument = own.value(0).toString();
    ASSERT_TRUE(DemoDatabase::choiceInstruments().contains(instrument.toInt())) << instrument.toStdString();
    dbgDPATVP_SFVP->setCurrentIndex(dbgDPATVP_SFVP->model()->index(pending, 0));
    answeringModal<TfFinInstrDlg>(
        [&] {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(dbgDPATVP_SFVP, &enter);
        },
        [&](TfFinInstrDlg& dialog) {
            EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("eISIN"))->text(), isin);
            auto* cbSFVP = dialog.findChild<QComboBox*>(QStringLiteral("cbSFVP"));
            EXPECT_EQ(cbSFVP->count(), 2);
            cbSFVP->setCurrentIndex(cbSFVP->findText(instrument + QLatin1Char('-'), Qt::MatchStartsWith));
            dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
    ASSERT_FALSE(bNabor->isHidden()) << "Nazaj na nabor";
    EXPECT_EQ(bNabor->text(), QStringLiteral("Nazaj na nabor"));
    bNabor->click();
    EXPECT_TRUE(onTab("tsNabor"));
    const int reportRows = rows(dbgDPATVPPSL);
    const int codeListRows = rows(dbSifrantFinInstr);
    EXPECT_GT(reportRows, 0);
    EXPECT_GT(codeListRows, 0);
    ASSERT_TRUE(bbGenXML->isEnabled());

    // 3. The report of the day: schema-valid, waiting on the tab "ATVP".
    const QString first = generate();
    ASSERT_FALSE(first.isEmpty());

    // 4. Signed for the regulator through the signing dialog; the regulator opens it.
    lbNeposlana->setCurrentItem(lbNeposlana->findItems(first, Qt::MatchExactly).value(0));
    answeringModal<TfPasswordDlg>([&] { child<QPushButton>("bSign")->click(); },
                                  [](TfPasswordDlg& dialog) {
                                      dialog.eKorisnik->setText(GpgTestHome::firmUser());
                                      dialog.ePassPhrase->setText(GpgTestHome::firmPassPhrase());
                                      dialog.bbOK->click();
                                  });
    const QString signature = inProgram(QStringLiteral("server/sig/")) + QFileInfo(first).completeBaseName()
                              + QStringLiteral(".sig");
    ASSERT_TRUE(QFileInfo::exists(signature)) << signature.toStdString();
    const GpgTestHome::Opened opened = gpg_.open(signature);
    EXPECT_TRUE(opened.decrypted) << opened.diagnostics.toStdString();
    EXPECT_TRUE(opened.goodSignature) << opened.diagnostics.toStdString();
    EXPECT_EQ(opened.signer, GpgTestHome::firmUser());
    QFile delivered(inProgram(QStringLiteral("server/xml/")) + first);
    ASSERT_TRUE(delivered.open(QIODevice::ReadOnly)) << delivered.fileName().toStdString();
    EXPECT_EQ(opened.content, delivered.readAll());
    const QList<QListWidgetItem*> sentSignatures =
        child<QListWidget>("clbPoslana")->findItems(QFileInfo(signature).fileName(), Qt::MatchExactly);
    ASSERT_EQ(sentSignatures.size(), 1);
    EXPECT_EQ(sentSignatures.first()->checkState(), Qt::Checked) << "ticked as sent";

    // 5. The register lists the report as sent; the regulator rejects it and it is regenerated.
    ASSERT_EQ(enterRegister().size(), 1);
    const int serial = cell(dbPorocila, 0, 3).toInt();
    EXPECT_EQ(cell(dbPorocila, 0, 4), first);
    EXPECT_FALSE(cell(dbPorocila, 0, 2).isEmpty()) << "send date";
    auto* pmZavrnjeno = child<QAction>("pmZavrnjeno");
    ASSERT_TRUE(pmZavrnjeno->isEnabled());
    pmZavrnjeno->trigger();
    EXPECT_EQ(cell(dbPorocila, 0, 6), QStringLiteral("Zavrnjeno"));
    ASSERT_TRUE(bbReGeneriraj->isEnabled());
    bbReGeneriraj->click();
    EXPECT_TRUE(onTab("tsNabor"));
    EXPECT_EQ(child<TPTypedEdit>("dtpDan")->asDate(), day);
    EXPECT_EQ(rows(dbgDPATVPPSL), reportRows);
    EXPECT_EQ(rows(dbSifrantFinInstr), codeListRows);
    ASSERT_TRUE(bbGenXML->isEnabled());

    const QString second = generate();
    ASSERT_FALSE(second.isEmpty());
    EXPECT_GT(fileSerial(second), fileSerial(first));
    EXPECT_EQ(enterRegister(), (QStringList{QString::number(serial + 1) + QStringLiteral(" Ponovno generirano"),
                                            QString::number(serial) + QStringLiteral(" Zavrnjeno")}));
    for (int row = 0; row < rows(dbPorocila); ++row) {
        selectRegisterRow(row);
        EXPECT_FALSE(bbReGeneriraj->isEnabled()) << "row " << row;
    }
    EXPECT_EQ(ui_.messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
}

}  // namespace
