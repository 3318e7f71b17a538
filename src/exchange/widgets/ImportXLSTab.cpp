#include "exchange/widgets/ImportXLSTab.h"

#include "ui/FormControls.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace FormControls;

namespace {
// Heights of the area above the import list, with and without the error list of the import.
constexpr int kImportTopWithErrors = 186;
constexpr int kImportTopPlain = 26;
}  // namespace

ImportXLSTab::ImportXLSTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsImportXLS"));

    pnlImportTop = new QWidget(this);
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

    pbImportXLS = new QProgressBar(this);
    pbImportXLS->setObjectName(QStringLiteral("pbImportXLS"));
    pbImportXLS->hide();
    auto* progress = new QHBoxLayout;
    progress->addWidget(boldLabel(this, "lblImpTransakcije", QStringLiteral("Transakcije")));
    progress->addWidget(pbImportXLS, 1);

    dbgImport = grid(this, "dbgImport");

    auto* page = new QVBoxLayout(this);
    page->addWidget(pnlImportTop);
    page->addLayout(progress);
    page->addWidget(dbgImport->parentWidget(), 1);
}

void ImportXLSTab::fitImportTop()
{
    pnlImportTop->setFixedHeight(pnlImportXLSNapake->isVisibleTo(pnlImportTop) ? kImportTopWithErrors
                                                                               : kImportTopPlain);
}
