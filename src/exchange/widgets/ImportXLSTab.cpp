#include "exchange/widgets/ImportXLSTab.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "data/dataset/DatasetModel.h"
#include "exchange/ImportList.h"
#include "exchange/TransactionImport.h"
#include "state/ZtfiApp.h"
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

ImportXLSTab::ImportXLSTab(ZtfiApp& app, QWidget* parent) : QWidget(parent), app_(app)
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
    actions->addWidget(pteImpDan->parentWidget());
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
    QLabel* caption = boldLabel(this, "lblImpTransakcije", QStringLiteral("Transakcije"));
    auto* progress = new QHBoxLayout;
    progress->addWidget(caption);
    progress->addWidget(pbImportXLS, 1);

    dbgImport = grid(this, "dbgImport", caption->text(), false);

    auto* page = new QVBoxLayout(this);
    page->addWidget(pnlImportTop);
    page->addLayout(progress);
    page->addWidget(dbgImport->parentWidget(), 1);

    connect(bbImportXLS, &QPushButton::clicked, this, &ImportXLSTab::bbImportXLSClick);
    connect(bbImpNabor, &QPushButton::clicked, this, &ImportXLSTab::bbImpNaborClick);
    connect(bbImpBrisi, &QPushButton::clicked, this, &ImportXLSTab::bbImpBrisiClick);
    connect(pteImpDan, &TPTypedEdit::exited, this, &ImportXLSTab::pteImpDanExit);
}

void ImportXLSTab::bindList()
{
    if (listBound_)
        return;
    dbgImport->setModel(new DatasetModel(&sharedImportList(app_).table(), dbgImport));
    listBound_ = true;
}

void ImportXLSTab::bbImpNaborClick()
{
    runGuarded(app_.ui(), [this] {
        pbImportXLS->hide();
        bindList();
        sharedImportList(app_).nabor(pteImpDan->asDate());
    });
}

void ImportXLSTab::pteImpDanExit()
{
    bbImpNaborClick();
}

void ImportXLSTab::bbImpBrisiClick()
{
    runGuarded(app_.ui(), [this] {
        bindList();
        sharedImportList(app_).brisanjeNabora(app_.ui(), pteImpDan->asDate());
    });
}

void ImportXLSTab::bbImportXLSClick()
{
    bool aborted = false;
    runGuarded(app_.ui(), [this, &aborted] {
        bindList();
        TransactionImport import(app_.connection(), app_.dialect(), app_.auditTrail(), app_.ui());
        qint64 nextId = import.firstIdentifier();
        const QString file = app_.ui().chooseFileToOpen(
            app_.programFolder(), QStringLiteral("Excel files (*.xls *.xlsx)|*.xls;*.xlsx"));
        if (file.isEmpty())
            return;
        import.onStart = [this](int rows) {
            pbImportXLS->setRange(0, rows);
            pbImportXLS->setValue(0);
            pbImportXLS->show();
        };
        import.onProgress = [this](int row) { pbImportXLS->setValue(row); };
        const ImportOutcome outcome = import.read(file, pteImpDan->asDate(), nextId);
        aborted = outcome.aborted;
        // Every row imported without an error stays; the list names the rows that did not.
        const bool errors = !outcome.errors.isEmpty();
        mImportXLSNapake->setPlainText(
            errors ? outcome.errors.mid(2).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) : QString());
        pnlImportXLSNapake->setVisible(errors);
        fitImportTop();
    });
    if (aborted)
        return;
    bbImpNaborClick();
}

void ImportXLSTab::fitImportTop()
{
    pnlImportTop->setFixedHeight(pnlImportXLSNapake->isVisibleTo(pnlImportTop) ? kImportTopWithErrors
                                                                               : kImportTopPlain);
}
