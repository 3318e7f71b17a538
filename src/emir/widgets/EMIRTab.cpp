#include "emir/widgets/EMIRTab.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "data/dataset/DatasetModel.h"
#include "data/dataset/DatasetUtils.h"
#include "emir/EmirDisputeImport.h"
#include "emir/EmirRegistry.h"
#include "emir/EmirXmlFile.h"
#include "emir/widgets/TfrmEMIRPslDlg.h"
#include "emir/widgets/TfrmEmirRptDlg.h"
#include "state/ZtfiApp.h"
#include "ui/FormControls.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolButton>

using namespace FormControls;

namespace {

// An action of the tab with the tool button bound to it, placed in row.
QAction* action(QWidget* parent, QBoxLayout* row, const char* objectName, const QString& caption)
{
    auto* act = new QAction(caption, parent);
    act->setObjectName(QLatin1String(objectName));
    auto* tool = new QToolButton(parent);
    tool->setObjectName(QStringLiteral("btn") + QLatin1String(objectName).mid(3));
    tool->setDefaultAction(act);
    tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
    row->addWidget(tool);
    return act;
}

}  // namespace

EMIRTab::EMIRTab(ZtfiApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("tsEMIR"));

    lblEMIRPorocila = boldLabel(this, "lblEMIRPorocila", QStringLiteral("Poročila"));
    pteEMIRDatOd = dateEdit(this, "pteEMIRDatOd");
    pteEMIRDatDo = dateEdit(this, "pteEMIRDatDo");
    auto* reports = new QHBoxLayout;
    reports->addWidget(lblEMIRPorocila);
    reports->addSpacing(16);
    reports->addWidget(label(this, "lblEMIRDatOd", QStringLiteral("Datum od")));
    reports->addWidget(pteEMIRDatOd->parentWidget());
    reports->addSpacing(8);
    reports->addWidget(label(this, "lblEMIRDatDo", QStringLiteral("Datum do")));
    reports->addWidget(pteEMIRDatDo->parentWidget());
    reports->addSpacing(16);
    actEMIRXML = action(this, reports, "actEMIRXML", QStringLiteral("Generiraj XML"));
    actRefresh = action(this, reports, "actRefresh", QStringLiteral("Osveži"));
    actAddRpt = action(this, reports, "actAddRpt", QStringLiteral("Dodaj"));
    actEditRpt = action(this, reports, "actEditRpt", QStringLiteral("Spremeni"));
    actDeleteRpt = action(this, reports, "actDeleteRpt", QStringLiteral("Briši"));
    actCancel = action(this, reports, "actCancel", QStringLiteral("Preklic"));
    actImportXLS = action(this, reports, "actImportXLS", QStringLiteral("Uvoz XLS"));
    reports->addStretch(1);
    dbgEMIRPorocila = grid(this, "dbgEMIRPorocila", lblEMIRPorocila->text(), false);

    lblEMIRSpori = boldLabel(this, "lblEMIRSpori", QStringLiteral("Spori"));
    auto* disputes = new QHBoxLayout;
    disputes->addWidget(lblEMIRSpori);
    disputes->addSpacing(16);
    actAddPsl = action(this, disputes, "actAddPsl", QStringLiteral("Dodaj"));
    actEditPsl = action(this, disputes, "actEditPsl", QStringLiteral("Spremeni"));
    actDeletePsl = action(this, disputes, "actDeletePsl", QStringLiteral("Briši"));
    disputes->addStretch(1);
    dbgEMIRPsl = grid(this, "dbgEMIRPsl", lblEMIRSpori->text(), false);

    auto* page = new QVBoxLayout(this);
    page->addLayout(reports);
    page->addWidget(dbgEMIRPorocila->parentWidget(), 2);
    page->addLayout(disputes);
    page->addWidget(dbgEMIRPsl->parentWidget(), 3);

    connect(actAddRpt, &QAction::triggered, this, &EMIRTab::actAddRptExecute);
    connect(actEditRpt, &QAction::triggered, this, &EMIRTab::actEditRptExecute);
    connect(actDeleteRpt, &QAction::triggered, this, &EMIRTab::actDeleteRptExecute);
    connect(actCancel, &QAction::triggered, this, &EMIRTab::actCancelExecute);
    connect(actRefresh, &QAction::triggered, this, &EMIRTab::actRefreshExecute);
    connect(actEMIRXML, &QAction::triggered, this, &EMIRTab::actEMIRXMLExecute);
    connect(actImportXLS, &QAction::triggered, this, &EMIRTab::actImportXLSExecute);
    connect(actAddPsl, &QAction::triggered, this, &EMIRTab::actAddPslExecute);
    connect(actEditPsl, &QAction::triggered, this, &EMIRTab::actEditPslExecute);
    connect(actDeletePsl, &QAction::triggered, this, &EMIRTab::actDeletePslExecute);
    connect(dbgEMIRPorocila, &TFwwDBGrid::zoom, this, [this] {
        if (actEditRpt->isEnabled())
            actEditRptExecute();
    });
    connect(dbgEMIRPsl, &TFwwDBGrid::zoom, this, [this] {
        if (actEditPsl->isEnabled())
            actEditPslExecute();
    });
    // Typing into a filter date or a change of its value closes both lists until the next reload.
    for (TPTypedEdit* edit : {pteEMIRDatOd, pteEMIRDatDo}) {
        connect(edit, &TPTypedEdit::touched, this, [this] {
            if (registry_) {
                registry_->reports().close();
                registry_->disputes().close();
            }
        });
        connect(edit, &TPTypedEdit::changed, this, &EMIRTab::takePeriod);
    }
    updateActions();
}

EMIRTab::~EMIRTab() = default;

EmirRegistry& EMIRTab::registry()
{
    if (registry_)
        return *registry_;
    registry_ = std::make_unique<EmirRegistry>(app_.connection(), app_.dialect());
    bindGrid(dbgEMIRPorocila, registry_->reports(), true);
    bindGrid(dbgEMIRPsl, registry_->disputes(), false);
    return *registry_;
}

void EMIRTab::bindGrid(TFwwDBGrid* grid, Dataset& list, bool followsReports)
{
    auto* model = new DatasetModel(&list, grid);
    grid->setModel(model);
    // The grid's current row is the list's current row, both ways.
    const auto showCurrent = [this, grid, model, &list, followsReports] {
        const int row = list.isActive() ? list.recNo() : -1;
        QItemSelectionModel* selection = grid->selectionModel();
        if (row >= 0 && selection->currentIndex().row() != row)
            selection->setCurrentIndex(model->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (followsReports)
            runGuarded(app_.ui(), [this] { registry_->followCurrentReport(); });
        updateActions();
    };
    connect(&list, &Dataset::currentRowChanged, this, showCurrent);
    connect(&list, &Dataset::datasetChanged, this, showCurrent);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&list](const QModelIndex& current) {
                if (current.isValid() && list.isActive() && current.row() != list.recNo())
                    list.setRecNo(current.row());
            });
}

void EMIRTab::takePeriod()
{
    if (registry_)
        registry_->setPeriod(pteEMIRDatOd->asDate(), pteEMIRDatDo->asDate());
    updateActions();
}

void EMIRTab::updateActions()
{
    const EmirActions open = registry_ ? registry_->actions() : EmirActions::forSelection(false, false, false);
    actAddRpt->setEnabled(open.addRpt);
    actEditRpt->setEnabled(open.editRpt);
    actDeleteRpt->setEnabled(open.deleteRpt);
    actCancel->setEnabled(open.cancel);
    actRefresh->setEnabled(open.refresh);
    actEMIRXML->setEnabled(open.emirXml);
    actImportXLS->setEnabled(open.importXls);
    actAddPsl->setEnabled(open.addPsl);
    actEditPsl->setEnabled(open.editPsl);
    actDeletePsl->setEnabled(open.deletePsl);
}

void EMIRTab::enter()
{
    const QDate today = QDate::currentDate();
    pteEMIRDatOd->setAsDate(FirstDayOfMonth(today));
    pteEMIRDatDo->setAsDate(today);
    actRefreshExecute();
}

void EMIRTab::actRefreshExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        reg.setPeriod(pteEMIRDatOd->asDate(), pteEMIRDatDo->asDate());
        reg.reloadReports();
    });
    updateActions();
}

void EMIRTab::actAddRptExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        const qint64 id = TfrmEmirRptDlg::edit(app_.connection(), app_.dialect(), app_.ui(), 0, this);
        if (id != 0)
            reg.reloadReports(id);
    });
}

void EMIRTab::actEditRptExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        const std::optional<EmirReportRow> report = reg.currentReport();
        if (!report)
            return;
        if (TfrmEmirRptDlg::edit(app_.connection(), app_.dialect(), app_.ui(), report->id, this) != 0)
            reg.reloadReports(report->id);
    });
}

void EMIRTab::actDeleteRptExecute()
{
    runGuarded(app_.ui(), [this] { registry().deleteReport(app_.ui()); });
}

void EMIRTab::actCancelExecute()
{
    runGuarded(app_.ui(), [this] { registry().cancelReport(app_.ui()); });
}

void EMIRTab::actEMIRXMLExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirXmlFile(app_.connection(), app_.config().MatStev, app_.programFolder()).generate(registry(), app_.ui());
    });
}

void EMIRTab::actImportXLSExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        const std::optional<EmirReportRow> report = reg.currentReport();
        if (!report)
            return;
        const QString file = app_.ui().chooseFileToOpen(app_.programFolder(), EmirDisputeImport::fileFilter());
        if (file.isEmpty())
            return;
        EmirDisputeImport(app_.connection(), app_.dialect(), app_.ui()).importFile(file, report->id);
        reg.reloadDisputes();
        app_.ui().inform(EmirDisputeImport::finishedMessage(file));
    });
}

void EMIRTab::actAddPslExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        const std::optional<EmirReportRow> report = reg.currentReport();
        if (!report)
            return;
        const qint64 id = TfrmEMIRPslDlg::edit(app_.connection(), app_.dialect(), app_.ui(), 0, report->id, this);
        if (id != 0)
            reg.reloadDisputes(id);
    });
}

void EMIRTab::actEditPslExecute()
{
    runGuarded(app_.ui(), [this] {
        EmirRegistry& reg = registry();
        const std::optional<EmirReportRow> report = reg.currentReport();
        const std::optional<qint64> dispute = reg.currentDispute();
        if (!report || !dispute)
            return;
        if (TfrmEMIRPslDlg::edit(app_.connection(), app_.dialect(), app_.ui(), *dispute, report->id, this) != 0)
            reg.reloadDisputes(*dispute);
    });
}

void EMIRTab::actDeletePslExecute()
{
    runGuarded(app_.ui(), [this] { registry().deleteDispute(app_.ui()); });
}
