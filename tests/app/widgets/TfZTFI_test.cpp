#include "app/widgets/TfZTFI.h"

#include "state/ZtfiApp.h"
#include "support/ScriptedInteraction.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"
#include "ztfi_version.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A main window over a temporary program folder holding ZTFI.ini with the two PDF server folders.
class TfZTFITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        savedHome_ = qgetenv("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(dir_.path()));
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("pdf")));
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sig")));
        app_ = std::make_unique<ZtfiApp>(
            QStringList{QStringLiteral("LB"), QStringLiteral("oxu"), QStringLiteral("geslo"),
                        QStringLiteral("ana")},
            ui_);
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

    QString folder(const QString& name) const { return dir_.filePath(name); }

    void writeIni() const
    {
        QFile ini(dir_.filePath(QStringLiteral("ZTFI.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Splošno]\nATVP_Uporabnik=ATVP\nPDF_Server=%1/\nPDF_SIGServer=%2\n")
                      .arg(folder(QStringLiteral("pdf")), folder(QStringLiteral("sig")))
                      .toUtf8());
    }

    TfZTFI& window()
    {
        if (!window_)
            window_ = std::make_unique<TfZTFI>(*app_);
        return *window_;
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir dir_;
    ScriptedInteraction ui_;
    std::unique_ptr<ZtfiApp> app_;
    std::unique_ptr<TfZTFI> window_;

private:
    bool hadHome_ = false;
    QByteArray savedHome_;
};

// The names of the files a file list shows, once its folder has been read.
QStringList shownFiles(QTreeView* view)
{
    QAbstractItemModel* model = view->model();
    QElapsedTimer clock;
    clock.start();
    while (model->rowCount(view->rootIndex()) < 2 && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    QStringList names;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row)
        names << model->index(row, 0, view->rootIndex()).data().toString();
    return names;
}

TEST_F(TfZTFITest, CaptionShowsFileVersion)
{
    writeIni();
    EXPECT_EQ(window().windowTitle(), QStringLiteral("ZTFI v") + QStringLiteral(ZTFI_VI_FILE_VERSION));
}

TEST_F(TfZTFITest, SevenTabsInOrder)
{
    writeIni();
    const struct {
        const char* name;
        QString caption;
    } tabs[] = {
        {"tsNabor", QStringLiteral("Nabor")},
        {"tsImportXLS", QStringLiteral("Import .xls")},
        {"tsATVP", QStringLiteral("ATVP")},
        {"tsPorocila", QStringLiteral("Poročila")},
        {"tsFinInstr", QStringLiteral("Fin. instr.")},
        {"TabSheet1", QStringLiteral("PDF")},
        {"tsEMIR", QStringLiteral("EMIR")},
    };
    auto* pcMain = child<QTabWidget>("pcMain");
    ASSERT_NE(pcMain, nullptr);
    EXPECT_EQ(window().centralWidget(), pcMain);
    ASSERT_EQ(pcMain->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pcMain->widget(i)->objectName(), QLatin1String(tabs[i].name)) << i;
        EXPECT_EQ(pcMain->tabText(i), tabs[i].caption) << i;
    }
    EXPECT_EQ(pcMain->currentIndex(), 0);
}

// Every list is titled on paper and in the clipboard with the label that the window shows
// above it, or with its tab's name.
TEST_F(TfZTFITest, EveryListHasItsTitle)
{
    writeIni();
    const struct {
        const char* grid;
        QString title;
    } lists[] = {
        {"dbgDPATVPPSL", QStringLiteral("Transakcije")},
        {"dbSifrantFinInstr", QStringLiteral("Šifrant finančnih instrumentov")},
        {"dbgPreveriNabor", QStringLiteral("Preverjanje nabora")},
        {"dbgImport", QStringLiteral("Transakcije")},
        {"dbPorocila", QStringLiteral("Poročila")},
        {"dbgDPATVP_SFVP", QStringLiteral("Fin. instr.")},
        {"dbgEMIRPorocila", QStringLiteral("Poročila")},
        {"dbgEMIRPsl", QStringLiteral("Spori")},
    };
    const QList<TFwwDBGrid*> grids = window().findChildren<TFwwDBGrid*>();
    EXPECT_EQ(grids.size(), std::size(lists));
    for (const auto& list : lists) {
        auto* grid = child<TFwwDBGrid>(list.grid);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->captionText(), list.title) << list.grid;
    }
}

TEST_F(TfZTFITest, ControlsOfEveryTab)
{
    writeIni();
    // A control on a page of an inner page control that is not shown first is hidden by it.
    enum Visibility { Shown, Hidden, OnOtherPage };
    const struct {
        const char* tab;
        const char* name;
        const char* className;
        QString caption;
        QString hint;
        Visibility visibility;
    } controls[] = {
        {"tsNabor", "lblDan", "QLabel", QStringLiteral("Datum od"), {}, Shown},
        {"tsNabor", "dtpDan", "TPTypedEdit", {}, {}, Shown},
        {"tsNabor", "lblDanDo", "QLabel", QStringLiteral("Datum do"), {}, Shown},
        {"tsNabor", "dtpDanDo", "TPTypedEdit", {}, {}, Shown},
        {"tsNabor", "bbNabor", "QPushButton", QStringLiteral("Nabor"), QStringLiteral("Nabor"), Shown},
        {"tsNabor", "BitBtn3", "QPushButton", QStringLiteral("Brisanje nabora"),
         QStringLiteral("Brisanje nabranih neposlanih transakcij"), Shown},
        {"tsNabor", "bbExportXLS", "QPushButton", QStringLiteral("Izvoz nabora"),
         QStringLiteral("Export v Excel"), Shown},
        {"tsNabor", "bbGenXML", "QPushButton", QStringLiteral("Generiranje XML poročila"),
         QStringLiteral("Generiranje in pošiljanje poročila"), Shown},
        {"tsNabor", "bTZInfo", "QPushButton", QStringLiteral("Preveri časovni pas"), {}, Shown},
        {"tsNabor", "dbgDPATVPPSL", "TFwwDBGrid", {}, {}, Shown},
        {"tsNabor", "lblDPATVPPSL", "QLabel", QStringLiteral("Transakcije"), QStringLiteral("Transakcije"), Shown},
        {"tsNabor", "dbSifrantFinInstr", "TFwwDBGrid", {}, {}, Shown},
        {"tsNabor", "lblSifrantFinInstr", "QLabel", QStringLiteral("Šifrant finančnih instrumentov"),
         QStringLiteral("Šifrant finančnih instrumentov"), Shown},

        {"tsImportXLS", "lblImpDan", "QLabel", QStringLiteral("Datum"), {}, Shown},
        {"tsImportXLS", "pteImpDan", "TPTypedEdit", {}, {}, Shown},
        {"tsImportXLS", "bbImportXLS", "QPushButton", QStringLiteral("Uvoz transakcij"), QStringLiteral("Import"), Shown},
        {"tsImportXLS", "bbImpNabor", "QPushButton", QStringLiteral("Nabor"), QStringLiteral("Nabor"), Shown},
        {"tsImportXLS", "bbImpBrisi", "QPushButton", QStringLiteral("Brisanje nabora"),
         QStringLiteral("Brisanje nabranih transakcij"), Shown},
        {"tsImportXLS", "lblImpTransakcije", "QLabel", QStringLiteral("Transakcije"), {}, Shown},
        {"tsImportXLS", "pbImportXLS", "QProgressBar", {}, {}, Hidden},
        {"tsImportXLS", "pnlImportXLSNapake", "QWidget", {}, {}, Hidden},
        {"tsImportXLS", "mImportXLSNapake", "QPlainTextEdit", {}, {}, Shown},
        {"tsImportXLS", "dbgImport", "TFwwDBGrid", {}, {}, Shown},

        {"tsATVP", "lblNeposlana", "QLabel", QStringLiteral("XML Poročila"), {}, Shown},
        {"tsATVP", "lbNeposlana", "QListWidget", {}, {}, Shown},
        {"tsATVP", "bbNeposlano", "QPushButton", QStringLiteral("Osveži"), {}, Shown},
        {"tsATVP", "lblPoslana", "QLabel", QStringLiteral("Podpisana in poslana poročila"), {}, Shown},
        {"tsATVP", "clbPoslana", "QListWidget", {}, {}, Shown},
        {"tsATVP", "bbPodpisana", "QPushButton", QStringLiteral("Osveži"), {}, Shown},
        {"tsATVP", "bSign", "QPushButton", QStringLiteral("Podpis in kriptiranje poročila"), QStringLiteral("Podpis"), Shown},
        {"tsATVP", "Label1", "QLabel", QStringLiteral("Spisek napak za"), {}, Hidden},
        {"tsATVP", "eXMLFile", "QLineEdit", {}, {}, Hidden},
        {"tsATVP", "mXMLNapake", "QPlainTextEdit", {}, {}, Hidden},

        {"tsPorocila", "lblDanOd", "QLabel", QStringLiteral("Dan poročanja od"), {}, Shown},
        {"tsPorocila", "pteDanOd", "TPTypedEdit", {}, {}, Shown},
        {"tsPorocila", "lblPorDanDo", "QLabel", QStringLiteral("Dan poročanja do"), {}, Shown},
        {"tsPorocila", "pteDanDo", "TPTypedEdit", {}, {}, Shown},
        {"tsPorocila", "bbRefresh", "QPushButton", QStringLiteral("Osveži"), QStringLiteral("Osveži podatke"), Shown},
        {"tsPorocila", "BitBtn4", "QPushButton", QStringLiteral("Brisanje poročila"), {}, Shown},
        {"tsPorocila", "bbReGeneriraj", "QPushButton", QStringLiteral("Ponovno generiraj"), {}, Shown},
        {"tsPorocila", "dbPorocila", "TFwwDBGrid", {}, {}, Shown},
        {"tsPorocila", "pmPotrjeno", "QAction", QStringLiteral("Potrjeno"), {}, Shown},
        {"tsPorocila", "pmZavrnjeno", "QAction", QStringLiteral("Zavrnjeno"), {}, Shown},

        {"tsFinInstr", "lblISIN", "QLabel", QStringLiteral("ISIN:"), {}, Shown},
        {"tsFinInstr", "eISIN", "QLineEdit", {}, {}, Shown},
        {"tsFinInstr", "dbgDPATVP_SFVP", "TFwwDBGrid", {}, {}, Shown},
        {"tsFinInstr", "bNabor", "QPushButton", QStringLiteral("Nazaj na nabor"), {}, Hidden},

        {"TabSheet1", "lblPDFPDF", "QLabel", QStringLiteral("PDF Poročila"), {}, Shown},
        {"TabSheet1", "lbPDFPDF", "QListWidget", {}, {}, Shown},
        {"TabSheet1", "bPDFRefreshPDF", "QPushButton", QStringLiteral("Osveži"), {}, Shown},
        {"TabSheet1", "bSignPDG", "QPushButton", QStringLiteral("Podpis in kriptiranje poročila"),
         QStringLiteral("Podpis"), Shown},
        {"TabSheet1", "lblPodpisaniPDF", "QLabel", QStringLiteral("Podpisani PDF-ji"), {}, Shown},
        {"TabSheet1", "bPDFRefreshSIG", "QPushButton", QStringLiteral("Osveži"), {}, Shown},
        {"TabSheet1", "slvPDF", "QTreeView", {}, {}, OnOtherPage},
        {"TabSheet1", "slvSIG", "QTreeView", {}, {}, Shown},

        {"tsEMIR", "lblEMIRPorocila", "QLabel", QStringLiteral("Poročila"), {}, Shown},
        {"tsEMIR", "lblEMIRDatOd", "QLabel", QStringLiteral("Datum od"), {}, Shown},
        {"tsEMIR", "pteEMIRDatOd", "TPTypedEdit", {}, {}, Shown},
        {"tsEMIR", "lblEMIRDatDo", "QLabel", QStringLiteral("Datum do"), {}, Shown},
        {"tsEMIR", "pteEMIRDatDo", "TPTypedEdit", {}, {}, Shown},
        {"tsEMIR", "actEMIRXML", "QAction", QStringLiteral("Generiraj XML"), {}, Shown},
        {"tsEMIR", "actRefresh", "QAction", QStringLiteral("Osveži"), {}, Shown},
        {"tsEMIR", "actAddRpt", "QAction", QStringLiteral("Dodaj"), {}, Shown},
        {"tsEMIR", "actEditRpt", "QAction", QStringLiteral("Spremeni"), {}, Shown},
        {"tsEMIR", "actDeleteRpt", "QAction", QStringLiteral("Briši"), {}, Shown},
        {"tsEMIR", "actCancel", "QAction", QStringLiteral("Preklic"), {}, Shown},
        {"tsEMIR", "actImportXLS", "QAction", QStringLiteral("Uvoz XLS"), {}, Shown},
        {"tsEMIR", "dbgEMIRPorocila", "TFwwDBGrid", {}, {}, Shown},
        {"tsEMIR", "lblEMIRSpori", "QLabel", QStringLiteral("Spori"), {}, Shown},
        {"tsEMIR", "actAddPsl", "QAction", QStringLiteral("Dodaj"), {}, Shown},
        {"tsEMIR", "actEditPsl", "QAction", QStringLiteral("Spremeni"), {}, Shown},
        {"tsEMIR", "actDeletePsl", "QAction", QStringLiteral("Briši"), {}, Shown},
        {"tsEMIR", "dbgEMIRPsl", "TFwwDBGrid", {}, {}, Shown},
    };

    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        auto* tab = child<QWidget>(c.tab);
        ASSERT_NE(tab, nullptr);
        QObject* control = tab->findChild<QObject*>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(c.className)) << control->metaObject()->className();
        if (auto* widget = qobject_cast<QWidget*>(control)) {
            EXPECT_EQ(widget->isHidden(), c.visibility != Shown);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            EXPECT_EQ(button->text(), c.caption);
            EXPECT_EQ(button->toolTip(), c.hint);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            EXPECT_EQ(label->text(), c.caption);
            EXPECT_EQ(label->toolTip(), c.hint);
        } else if (auto* action = qobject_cast<QAction*>(control)) {
            EXPECT_EQ(action->text(), c.caption);
        }
    }
}

TEST_F(TfZTFITest, EmirActionsHaveButtonsAndBoldBandLabels)
{
    writeIni();
    auto* tsEMIR = child<QWidget>("tsEMIR");
    ASSERT_NE(tsEMIR, nullptr);
    const QList<QAction*> actions = tsEMIR->findChildren<QAction*>();
    EXPECT_EQ(actions.size(), 10);
    for (QAction* action : actions) {
        bool onButton = false;
        for (QObject* user : action->associatedObjects()) {
            auto* tool = qobject_cast<QToolButton*>(user);
            onButton = onButton || (tool && tool->defaultAction() == action && !tool->isHidden());
        }
        EXPECT_TRUE(onButton) << action->objectName().toStdString();
    }
    EXPECT_TRUE(child<QLabel>("lblEMIRPorocila")->font().bold());
    EXPECT_TRUE(child<QLabel>("lblEMIRSpori")->font().bold());
    EXPECT_FALSE(child<QLabel>("lblEMIRDatOd")->font().bold());
}

TEST_F(TfZTFITest, DateEditsStartWithToday)
{
    writeIni();
    const QList<TPTypedEdit*> edits = window().findChildren<TPTypedEdit*>();
    EXPECT_EQ(edits.size(), 7);
    for (TPTypedEdit* edit : edits)
        EXPECT_EQ(edit->asDate(), QDate::currentDate()) << edit->objectName().toStdString();
}

TEST_F(TfZTFITest, CreationResetsRunStateAndReadsConfiguration)
{
    writeIni();
    app_->selection.rangeKey = QStringLiteral("01.02.2026-03.02.2026");
    app_->regeneration.active = true;

    window();

    EXPECT_TRUE(app_->selection.rangeKey.isEmpty());
    EXPECT_FALSE(app_->regeneration.active);
    EXPECT_EQ(app_->config().ATVP_Uporabnik, QStringLiteral("ATVP"));
    EXPECT_EQ(window().importDialogFolder(), app_->programFolder());
    EXPECT_TRUE(ui_.calls().empty());
}

TEST_F(TfZTFITest, MissingIniIsReportedAndWindowStillOpens)
{
    window();
    EXPECT_EQ(ui_.messages(), QStringList{QStringLiteral("Manjka .ini datoteka!")});
    EXPECT_EQ(child<QTabWidget>("pcMain")->currentIndex(), 0);
}

TEST_F(TfZTFITest, PdfFileListsShowFilesOfServerFolders)
{
    writeIni();
    const auto touch = [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    touch(folder(QStringLiteral("pdf/b.pdf")));
    touch(folder(QStringLiteral("pdf/a.pdf")));
    ASSERT_TRUE(QDir(folder(QStringLiteral("pdf"))).mkdir(QStringLiteral("mapa")));
    touch(folder(QStringLiteral("sig/z.sig")));
    touch(folder(QStringLiteral("sig/c.sig")));

    EXPECT_EQ(shownFiles(child<QTreeView>("slvPDF")),
              (QStringList{QStringLiteral("a.pdf"), QStringLiteral("b.pdf")}));
    EXPECT_EQ(shownFiles(child<QTreeView>("slvSIG")),
              (QStringList{QStringLiteral("c.sig"), QStringLiteral("z.sig")}));
    auto* pcPDFSIG = child<QTabWidget>("pcPDFSIG");
    ASSERT_NE(pcPDFSIG, nullptr);
    EXPECT_EQ(pcPDFSIG->tabText(0), QStringLiteral("PDF"));
    EXPECT_EQ(pcPDFSIG->tabText(1), QStringLiteral("SIG"));
    EXPECT_EQ(pcPDFSIG->currentWidget(), child<QTreeView>("slvSIG"));
}

TEST_F(TfZTFITest, ImportTopAreaFollowsErrorPanelOnEntry)
{
    writeIni();
    auto* pcMain = child<QTabWidget>("pcMain");
    auto* top = child<QWidget>("pnlImportTop");
    ASSERT_TRUE(pcMain && top);

    pcMain->setCurrentIndex(1);
    EXPECT_EQ(top->height(), 26);
    EXPECT_EQ(top->maximumHeight(), 26);

    pcMain->setCurrentIndex(0);
    child<QWidget>("pnlImportXLSNapake")->show();
    pcMain->setCurrentIndex(1);
    EXPECT_EQ(top->maximumHeight(), 186);

    pcMain->setCurrentIndex(0);
    child<QWidget>("pnlImportXLSNapake")->hide();
    pcMain->setCurrentIndex(1);
    EXPECT_EQ(top->maximumHeight(), 26);
}

// Entering "EMIR" shows the current month up to today, whatever the dates held before.
TEST_F(TfZTFITest, EmirEntryShowsTheMonthUpToToday)
{
    writeIni();
    auto* pcMain = child<QTabWidget>("pcMain");
    auto* from = child<TPTypedEdit>("pteEMIRDatOd");
    auto* to = child<TPTypedEdit>("pteEMIRDatDo");
    ASSERT_TRUE(pcMain && from && to);
    from->setAsDate(QDate(2020, 1, 15));
    to->setAsDate(QDate(2020, 2, 20));

    pcMain->setCurrentWidget(child<QWidget>("tsEMIR"));

    const QDate today = QDate::currentDate();
    EXPECT_EQ(from->asDate(), QDate(today.year(), today.month(), 1));
    EXPECT_EQ(to->asDate(), today);
}

TEST_F(TfZTFITest, IsinIsTypedInCapitals)
{
    writeIni();
    auto* eISIN = child<QLineEdit>("eISIN");
    ASSERT_NE(eISIN, nullptr);
    for (const QChar c : QStringLiteral("si0a")) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(eISIN, &press);
    }
    EXPECT_EQ(eISIN->text(), QStringLiteral("SI0A"));
    EXPECT_EQ(eISIN->cursorPosition(), 4);
}

TEST_F(TfZTFITest, WrongDateInEditIsReportedAsError)
{
    writeIni();
    auto* dtpDan = child<TPTypedEdit>("dtpDan");
    ASSERT_NE(dtpDan, nullptr);
    dtpDan->selectAll();
    for (const QChar c : QStringLiteral("31022014")) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(dtpDan, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dtpDan, &enter);

    EXPECT_EQ(ui_.texts(QStringLiteral("error")),
              QStringList{QStringLiteral("'31.02.2014' ni veljaven datum")});
    EXPECT_EQ(dtpDan->asDate(), QDate::currentDate());
}

}  // namespace
