#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "data/VersionAgent.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "reporting/Selection.h"
#include "reporting/SelectionLists.h"
#include "signing/widgets/ATVPPage.h"
#include "signing/widgets/PDFPage.h"
#include "state/ZtfiApp.h"
#include "ui/TPTypedEdit.h"

#include <QFileSystemModel>
#include <QTabWidget>
#include <QTreeView>

namespace {

enum TabIndex { NaborTab = 0, ImportXLSTab = 1, PorocilaTab = 3, FinInstrTab = 4 };

}  // namespace

TfZTFI::TfZTFI(ZtfiApp& app, QWidget* parent)
    : QMainWindow(parent), app_(app), selection_(std::make_unique<Selection>(app))
{
    setObjectName(QStringLiteral("fZTFI"));
    setWindowTitle(QStringLiteral("ZTFI poročanje"));
    resize(1200, 800);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    setCentralWidget(pcMain);

    buildNaborTab();
    buildImportXLSTab();
    buildATVPTab();
    buildPorocilaTab();
    buildFinInstrTab();
    buildPDFTab();
    buildEMIRTab();
    atvpPage_ = new ATVPPage({lbNeposlana, bbNeposlano, clbPoslana, bbPodpisana, bSign}, app_, this);
    pdfPage_ = new PDFPage({lbPDFPDF, bPDFRefreshPDF, bSignPDG, bPDFRefreshSIG, slvPDF, slvSIG, pdfFiles, sigFiles},
                           app_, this);

    // A date the user typed wrongly is reported like any error of an action.
    const QList<TPTypedEdit*> dateEdits = findChildren<TPTypedEdit*>();
    for (TPTypedEdit* edit : dateEdits)
        connect(edit, &TPTypedEdit::conversionFailed, this,
                [this](const QString& message) { app_.ui().error(message); });
    connect(pcMain, &QTabWidget::currentChanged, this, &TfZTFI::pcMainChange);
    connectNaborTab();
    connectFinInstrTab();
    connectPorocilaTab();

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
    rootPdfFileLists();
    pcMain->setCurrentIndex(NaborTab);
}

void TfZTFI::rootPdfFileLists()
{
    const auto root = [](QTreeView* view, QFileSystemModel* files, const QString& folder) {
        const QModelIndex rootIndex = files->setRootPath(ProgramFolder::join(folder, QString()));
        // A folder that does not exist lists nothing rather than the whole file system.
        view->setModel(rootIndex.isValid() ? files : nullptr);
        if (rootIndex.isValid())
            view->setRootIndex(rootIndex);
    };
    root(slvPDF, pdfFiles, app_.config().PDF_Server);
    root(slvSIG, sigFiles, app_.config().PDF_SIGServer);
}

void TfZTFI::pcMainChange(int index)
{
    // Entering a signing tab re-reads its file lists.
    if (pcMain->widget(index) == tsATVP)
        atvpPage_->tsATVPEnter();
    else if (pcMain->widget(index) == TabSheet1)
        pdfPage_->tabEnter();
    switch (index) {
    case ImportXLSTab:
        fitImportTop();
        break;
    case PorocilaTab:
        bbRefreshClick();
        break;
    case FinInstrTab:
        runGuarded(app_.ui(), [this] { reopenOverrideList(); });
        break;
    default:
        break;
    }
}
