#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QTabWidget>
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

// EMIR reports of a period with their actions, and the disputes of the current report.
void TfZTFI::buildEMIRTab()
{
    tsEMIR = new QWidget;
    tsEMIR->setObjectName(QStringLiteral("tsEMIR"));
    pcMain->addTab(tsEMIR, QStringLiteral("EMIR"));

    lblEMIRPorocila = boldLabel(tsEMIR, "lblEMIRPorocila", QStringLiteral("Poročila"));
    pteEMIRDatOd = dateEdit(tsEMIR, "pteEMIRDatOd");
    pteEMIRDatDo = dateEdit(tsEMIR, "pteEMIRDatDo");
    auto* reports = new QHBoxLayout;
    reports->addWidget(lblEMIRPorocila);
    reports->addSpacing(16);
    reports->addWidget(label(tsEMIR, "lblEMIRDatOd", QStringLiteral("Datum od")));
    reports->addWidget(pteEMIRDatOd);
    reports->addSpacing(8);
    reports->addWidget(label(tsEMIR, "lblEMIRDatDo", QStringLiteral("Datum do")));
    reports->addWidget(pteEMIRDatDo);
    reports->addSpacing(16);
    actEMIRXML = action(tsEMIR, reports, "actEMIRXML", QStringLiteral("Generiraj XML"));
    actRefresh = action(tsEMIR, reports, "actRefresh", QStringLiteral("Osveži"));
    actAddRpt = action(tsEMIR, reports, "actAddRpt", QStringLiteral("Dodaj"));
    actEditRpt = action(tsEMIR, reports, "actEditRpt", QStringLiteral("Spremeni"));
    actDeleteRpt = action(tsEMIR, reports, "actDeleteRpt", QStringLiteral("Briši"));
    actCancel = action(tsEMIR, reports, "actCancel", QStringLiteral("Preklic"));
    actImportXLS = action(tsEMIR, reports, "actImportXLS", QStringLiteral("Uvoz XLS"));
    reports->addStretch(1);
    dbgEMIRPorocila = grid(tsEMIR, "dbgEMIRPorocila");

    lblEMIRSpori = boldLabel(tsEMIR, "lblEMIRSpori", QStringLiteral("Spori"));
    auto* disputes = new QHBoxLayout;
    disputes->addWidget(lblEMIRSpori);
    disputes->addSpacing(16);
    actAddPsl = action(tsEMIR, disputes, "actAddPsl", QStringLiteral("Dodaj"));
    actEditPsl = action(tsEMIR, disputes, "actEditPsl", QStringLiteral("Spremeni"));
    actDeletePsl = action(tsEMIR, disputes, "actDeletePsl", QStringLiteral("Briši"));
    disputes->addStretch(1);
    dbgEMIRPsl = grid(tsEMIR, "dbgEMIRPsl");

    auto* page = new QVBoxLayout(tsEMIR);
    page->addLayout(reports);
    page->addWidget(dbgEMIRPorocila->parentWidget(), 2);
    page->addLayout(disputes);
    page->addWidget(dbgEMIRPsl->parentWidget(), 3);
}
