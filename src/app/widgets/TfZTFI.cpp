#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "data/VersionAgent.h"
#include "emir/widgets/EMIRTab.h"
#include "exchange/widgets/ImportXLSTab.h"
#include "instruments/OverrideSync.h"
#include "instruments/widgets/FinInstrTab.h"
#include "ntrs/Regeneration.h"
#include "ntrs/widgets/PorocilaTab.h"
#include "reporting/SelectionLists.h"
#include "reporting/widgets/NaborTab.h"
#include "signing/widgets/ATVPTab.h"
#include "signing/widgets/PDFTab.h"
#include "state/ZtfiApp.h"
#include "ui/TPTypedEdit.h"

#include <QTabWidget>

TfZTFI::TfZTFI(ZtfiApp& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName(QStringLiteral("fZTFI"));
    setWindowTitle(QStringLiteral("ZTFI poročanje"));
    resize(1200, 800);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    setCentralWidget(pcMain);

    tsNabor = new NaborTab(app_);
    tsImportXLS = new ImportXLSTab(app_);
    tsATVP = new ATVPTab(app_);
    tsPorocila = new PorocilaTab(app_);
    tsFinInstr = new FinInstrTab(app_, [this] { return tsNabor->lastDay(); });
    TabSheet1 = new PDFTab(app_);
    tsEMIR = new EMIRTab(app_);
    pcMain->addTab(tsNabor, QStringLiteral("Nabor"));
    pcMain->addTab(tsImportXLS, QStringLiteral("Import .xls"));
    pcMain->addTab(tsATVP, QStringLiteral("ATVP"));
    pcMain->addTab(tsPorocila, QStringLiteral("Poročila"));
    pcMain->addTab(tsFinInstr, QStringLiteral("Fin. instr."));
    pcMain->addTab(TabSheet1, QStringLiteral("PDF"));
    pcMain->addTab(tsEMIR, QStringLiteral("EMIR"));

    // A date the user typed wrongly is reported like any error of an action.
    const QList<TPTypedEdit*> dateEdits = findChildren<TPTypedEdit*>();
    for (TPTypedEdit* edit : dateEdits)
        connect(edit, &TPTypedEdit::conversionFailed, this,
                [this](const QString& message) { app_.ui().error(message); });
    // Leaving a date of the tab "EMIR" runs the range check of the selection as well.
    for (const char* name : {"pteEMIRDatOd", "pteEMIRDatDo"}) {
        if (auto* edit = tsEMIR->findChild<TPTypedEdit*>(QLatin1String(name)))
            connect(edit, &TPTypedEdit::exited, tsNabor, &NaborTab::dtpDanExit);
    }
    connect(pcMain, &QTabWidget::currentChanged, this, &TfZTFI::pcMainChange);
    connect(tsNabor, &NaborTab::selectionStopped, this, &TfZTFI::applySelectionStop);
    connect(tsNabor, &NaborTab::reportWritten, this, &TfZTFI::showReport);
    connect(tsFinInstr, &FinInstrTab::returnToSelection, this, &TfZTFI::returnToSelection);
    connect(tsPorocila, &PorocilaTab::regenerationStarting, tsNabor, &NaborTab::bindSelectionGrids);
    connect(tsPorocila, &PorocilaTab::regenerated, this, &TfZTFI::showRegeneration);

    formCreate();
}

TfZTFI::~TfZTFI() = default;

void TfZTFI::formCreate()
{
    app_.resetRunState();
    const TVersionAgent va;
    setWindowTitle(va.caption());
    importDialogFolder_ = app_.programFolder();
    app_.readConfiguration();
    prepareSavedStatements(app_);
    TabSheet1->rootFileLists();
    pcMain->setCurrentWidget(tsNabor);
}

void TfZTFI::pcMainChange(int index)
{
    QWidget* entered = pcMain->widget(index);
    if (entered == tsATVP)
        tsATVP->enter();
    else if (entered == TabSheet1)
        TabSheet1->enter();
    else if (entered == tsImportXLS)
        tsImportXLS->fitImportTop();
    else if (entered == tsPorocila)
        tsPorocila->bbRefreshClick();
    else if (entered == tsFinInstr)
        runGuarded(app_.ui(), [this] { tsFinInstr->reopenOverrideList(); });
    else if (entered == tsEMIR)
        tsEMIR->enter();
}

void TfZTFI::applySelectionStop(const SelectionStop& stop)
{
    if (auto* active = pcMain->findChild<QWidget*>(stop.activeTab))
        pcMain->setCurrentWidget(active);
    for (const QString& name : stop.hiddenTabs) {
        if (auto* tab = pcMain->findChild<QWidget*>(name))
            pcMain->setTabVisible(pcMain->indexOf(tab), false);
    }
    if (stop.reopenOverrideList)
        tsFinInstr->reopenOverrideList();
    tsFinInstr->setReturnVisible(stop.returnButtonVisible);
}

void TfZTFI::returnToSelection()
{
    // The tabs that the stop for the choice hid are shown again.
    for (int index = 0; index < pcMain->count(); ++index)
        pcMain->setTabVisible(index, true);
    pcMain->setCurrentWidget(tsNabor);
    tsFinInstr->setReturnVisible(false);
    tsNabor->resumeSelection();
}

void TfZTFI::showReport(const ReportOutcome& outcome)
{
    tsATVP->showReportOutcome(outcome);
    pcMain->setCurrentWidget(tsATVP);
}

void TfZTFI::showRegeneration(const RegenerationOutcome& outcome)
{
    if (outcome.stop)
        applySelectionStop(*outcome.stop);
    if (outcome.listsOpened) {
        tsNabor->setGenerationEnabled(outcome.generationEnabled);
        pcMain->setCurrentWidget(tsNabor);
    }
    tsNabor->setDay(outcome.selectionDay);
}
