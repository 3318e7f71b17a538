#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

using namespace FormControls;

namespace {
// Heights of the area above the import list, with and without the error list of the import.
constexpr int kImportTopWithErrors = 186;
constexpr int kImportTopPlain = 26;
}  // namespace

// Manual transactions from a spreadsheet: the day, the import actions, the error list of the
// last import (shown only after an import with errors) and the imported rows.
void TfZTFI::buildImportXLSTab()
{
    tsImportXLS = new QWidget;
    tsImportXLS->setObjectName(QStringLiteral("tsImportXLS"));
    pcMain->addTab(tsImportXLS, QStringLiteral("Import .xls"));

    pnlImportTop = new QWidget(tsImportXLS);
    pnlImportTop->setObjectName(QStringLiteral("pnlImportTop"));
    pteImpDan = dateEdit(pnlImportTop, "pteImpDan");
    bbImportXLS = button(pnlImportTop, "bbImportXLS", QStringLiteral("Uvoz transakcij"),
                         QStringLiteral("Import"));
    bbImpNabor = button(pnlImportTop, "bbImpNabor", QStringLiteral("Nabor"), QStringLiteral("Nabor"));
    bbImpBrisi = button(pnlImportTop, "bbImpBrisi", QStringLiteral("Brisanje nabora"),
                        QStringLiteral("Brisanje nabranih transakcij"));

    pnlImportXLSNapake = new QWidget(pnlImportTop);
    pnlImportXLSNapake->setObjectName(QStringLiteral("pnlImportXLSNapake"));
    mImportXLSNapake = new QPlainTextEdit(pnlImportXLSNapake);
    mImportXLSNapake->setObjectName(QStringLiteral("mImportXLSNapake"));
    mImportXLSNapake->setReadOnly(true);
    auto* errors = new QVBoxLayout(pnlImportXLSNapake);
    errors->setContentsMargins(0, 0, 0, 0);
    errors->addWidget(mImportXLSNapake);
    pnlImportXLSNapake->hide();

    auto* actions = new QHBoxLayout;
    actions->addWidget(label(pnlImportTop, "lblImpDan", QStringLiteral("Datum")));
    actions->addWidget(pteImpDan);
    actions->addSpacing(16);
    actions->addWidget(bbImportXLS);
    actions->addWidget(bbImpNabor);
    actions->addWidget(bbImpBrisi);
    actions->addStretch(1);
    auto* top = new QVBoxLayout(pnlImportTop);
    top->setContentsMargins(0, 0, 0, 0);
    top->addLayout(actions);
    top->addWidget(pnlImportXLSNapake, 1);
    fitImportTop();

    pbImportXLS = new QProgressBar(tsImportXLS);
    pbImportXLS->setObjectName(QStringLiteral("pbImportXLS"));
    pbImportXLS->hide();
    auto* progress = new QHBoxLayout;
    progress->addWidget(boldLabel(tsImportXLS, "lblImpTransakcije", QStringLiteral("Transakcije")));
    progress->addWidget(pbImportXLS, 1);

    dbgImport = grid(tsImportXLS, "dbgImport");

    auto* page = new QVBoxLayout(tsImportXLS);
    page->addWidget(pnlImportTop);
    page->addLayout(progress);
    page->addWidget(dbgImport->parentWidget(), 1);
}

void TfZTFI::fitImportTop()
{
    pnlImportTop->setFixedHeight(pnlImportXLSNapake->isVisibleTo(pnlImportTop) ? kImportTopWithErrors
                                                                               : kImportTopPlain);
}
