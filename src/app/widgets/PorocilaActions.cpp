#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "data/dataset/DatasetModel.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "state/ZtfiApp.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>

// The register tab "Poročila": the list of a range of reporting days, the regulator's answer as
// the status of the current row, the deletion of an unsent report and the regeneration of a
// rejected one. The actions open for the current row are recomputed whenever it changes.
void TfZTFI::connectPorocilaTab()
{
    for (QPushButton* button : {BitBtn4, bbReGeneriraj})
        button->setEnabled(false);
    for (QAction* action : {pmPotrjeno, pmZavrnjeno})
        action->setEnabled(false);
    connect(bbRefresh, &QPushButton::clicked, this, &TfZTFI::bbRefreshClick);
    for (TPTypedEdit* edit : {pteDanOd, pteDanDo})
        connect(edit, &TPTypedEdit::exited, this, &TfZTFI::bbRefreshClick);
    connect(pmPotrjeno, &QAction::triggered, this, &TfZTFI::pmPotrjenoClick);
    connect(pmZavrnjeno, &QAction::triggered, this, &TfZTFI::pmZavrnjenoClick);
    connect(BitBtn4, &QPushButton::clicked, this, &TfZTFI::BitBtn4Click);
    connect(bbReGeneriraj, &QPushButton::clicked, this, &TfZTFI::bbReGenerirajClick);
}

ReportRegister& TfZTFI::reportRegister()
{
    if (register_)
        return *register_;
    register_ = std::make_unique<ReportRegister>(app_.connection(), app_.dialect(), app_.auditTrail(),
                                                 app_.params().auditUser, app_.programFolder());
    TQueryDM& list = register_->query();
    auto* model = new DatasetModel(&list, dbPorocila);
    dbPorocila->setModel(model);

    // The grid's current row is the list's current row, both ways.
    const auto showCurrent = [this, model, &list] {
        const int row = list.recNo();
        QItemSelectionModel* selection = dbPorocila->selectionModel();
        if (row >= 0 && selection->currentIndex().row() != row)
            selection->setCurrentIndex(model->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        dsDPATVPDataChange();
    };
    connect(&list, &Dataset::currentRowChanged, this, showCurrent);
    connect(&list, &Dataset::datasetChanged, this, showCurrent);
    connect(dbPorocila->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&list](const QModelIndex& current) {
                if (current.isValid() && list.isActive() && current.row() != list.recNo())
                    list.setRecNo(current.row());
            });
    return *register_;
}

void TfZTFI::bbRefreshClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().refresh(pteDanOd->asDate(), pteDanDo->asDate()); });
}

void TfZTFI::dsDPATVPDataChange()
{
    RegisterActions open;
    runGuarded(app_.ui(), [this, &open] { open = reportRegister().actions(); });
    bbReGeneriraj->setEnabled(open.regenerate);
    pmPotrjeno->setEnabled(open.setStatus);
    pmZavrnjeno->setEnabled(open.setStatus);
    BitBtn4->setEnabled(open.deleteReport);
}

void TfZTFI::pmPotrjenoClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().confirm(); });
}

void TfZTFI::pmZavrnjenoClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().reject(); });
}

void TfZTFI::BitBtn4Click()
{
    runGuarded(app_.ui(), [this] { reportRegister().deleteReport(app_.ui()); });
}

void TfZTFI::bbReGenerirajClick()
{
    runGuarded(app_.ui(), [this] {
        const std::optional<RegisterRow> row = reportRegister().currentRow();
        if (!row)
            return;
        bindSelectionGrids();
        if (!regeneration_)
            regeneration_ = std::make_unique<Regeneration>(app_);
        // A step that fails leaves the tabs as they are; its message is shown.
        const RegenerationOutcome outcome = regeneration_->bbReGenerirajClick(*row);
        if (outcome.stop)
            applySelectionStop(*outcome.stop);
        if (outcome.listsOpened) {
            bbGenXML->setEnabled(outcome.generationEnabled);
            pcMain->setCurrentWidget(tsNabor);
        }
        dtpDan->setAsDate(outcome.selectionDay);
        dtpDanDo->setAsDate(outcome.selectionDay);
    });
}
