#include "emir/widgets/EMIRTab.h"

#include "data/dataset/DatasetUtils.h"
#include "ui/FormControls.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QBoxLayout>
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

EMIRTab::EMIRTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsEMIR"));

    lblEMIRPorocila = boldLabel(this, "lblEMIRPorocila", QStringLiteral("Poročila"));
    pteEMIRDatOd = dateEdit(this, "pteEMIRDatOd");
    pteEMIRDatDo = dateEdit(this, "pteEMIRDatDo");
    auto* reports = new QHBoxLayout;
    reports->addWidget(lblEMIRPorocila);
    reports->addSpacing(16);
    reports->addWidget(label(this, "lblEMIRDatOd", QStringLiteral("Datum od")));
    reports->addWidget(pteEMIRDatOd);
    reports->addSpacing(8);
    reports->addWidget(label(this, "lblEMIRDatDo", QStringLiteral("Datum do")));
    reports->addWidget(pteEMIRDatDo);
    reports->addSpacing(16);
    actEMIRXML = action(this, reports, "actEMIRXML", QStringLiteral("Generiraj XML"));
    actRefresh = action(this, reports, "actRefresh", QStringLiteral("Osveži"));
    actAddRpt = action(this, reports, "actAddRpt", QStringLiteral("Dodaj"));
    actEditRpt = action(this, reports, "actEditRpt", QStringLiteral("Spremeni"));
    actDeleteRpt = action(this, reports, "actDeleteRpt", QStringLiteral("Briši"));
    actCancel = action(this, reports, "actCancel", QStringLiteral("Preklic"));
    actImportXLS = action(this, reports, "actImportXLS", QStringLiteral("Uvoz XLS"));
    reports->addStretch(1);
    dbgEMIRPorocila = grid(this, "dbgEMIRPorocila");

    lblEMIRSpori = boldLabel(this, "lblEMIRSpori", QStringLiteral("Spori"));
    auto* disputes = new QHBoxLayout;
    disputes->addWidget(lblEMIRSpori);
    disputes->addSpacing(16);
    actAddPsl = action(this, disputes, "actAddPsl", QStringLiteral("Dodaj"));
    actEditPsl = action(this, disputes, "actEditPsl", QStringLiteral("Spremeni"));
    actDeletePsl = action(this, disputes, "actDeletePsl", QStringLiteral("Briši"));
    disputes->addStretch(1);
    dbgEMIRPsl = grid(this, "dbgEMIRPsl");

    auto* page = new QVBoxLayout(this);
    page->addLayout(reports);
    page->addWidget(dbgEMIRPorocila->parentWidget(), 2);
    page->addLayout(disputes);
    page->addWidget(dbgEMIRPsl->parentWidget(), 3);
}

void EMIRTab::enter()
{
    const QDate today = QDate::currentDate();
    pteEMIRDatOd->setAsDate(FirstDayOfMonth(today));
    pteEMIRDatDo->setAsDate(today);
}
