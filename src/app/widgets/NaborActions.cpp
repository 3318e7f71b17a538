#include "app/widgets/GridColours.h"
#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "core/Config.h"
#include "core/Interaction.h"
#include "data/dataset/DatasetModel.h"
#include "instruments/CodeList.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "reporting/TimeZones.h"
#include "state/ZtfiApp.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QDateTime>
#include <QPushButton>
#include <QTabWidget>

// The actions of the tab "Nabor". The generation of the report (bbGenXML) is enabled only by a
// selection that found a regular transaction.
void TfZTFI::connectNaborTab()
{
    bbGenXML->setEnabled(false);
    connect(bbNabor, &QPushButton::clicked, this, &TfZTFI::bbNaborClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TfZTFI::BitBtn3Click);
    connect(bTZInfo, &QPushButton::clicked, this, &TfZTFI::bTZInfoClick);
    connect(bbGenXML, &QPushButton::clicked, this, &TfZTFI::bbGenXMLClick);
    for (TPTypedEdit* edit : {dtpDan, dtpDanDo, pteEMIRDatOd, pteEMIRDatDo})
        connect(edit, &TPTypedEdit::exited, this, &TfZTFI::dtpDanExit);
}

void TfZTFI::bindSelectionGrids()
{
    if (selectionGridsBound_)
        return;
    ReportRows& rows = sharedReportRows(app_);
    auto* rowsModel = new DatasetModel(&rows.query(), dbgDPATVPPSL);
    dbgDPATVPPSL->setModel(new RowColourModel(
        rowsModel,
        [this, &rows](int row) { return gridColour(rows.rowColour(row, dtpDan->asDate())); },
        dbgDPATVPPSL));
    dbSifrantFinInstr->setModel(new DatasetModel(&sharedCodeList(app_).query(), dbSifrantFinInstr));
    selectionGridsBound_ = true;
}

void TfZTFI::bbNaborClick()
{
    runGuarded(app_.ui(), [this] {
        bindSelectionGrids();
        const SelectionOutcome outcome = selection_->bbNaborClick(dtpDan->asDate(), dtpDanDo->asDate());
        if (outcome.stop) {
            applySelectionStop(*outcome.stop);
            return;
        }
        bbGenXML->setEnabled(outcome.generationEnabled);
    });
}

void TfZTFI::BitBtn3Click()
{
    runGuarded(app_.ui(), [this] {
        bindSelectionGrids();
        selection_->BitBtn3Click(dtpDan->asDate(), dtpDanDo->asDate());
    });
}

void TfZTFI::dtpDanExit()
{
    runGuarded(app_.ui(), [this] { selection_->dtpDanExit(dtpDan->asDate(), dtpDanDo->asDate()); });
}

void TfZTFI::bTZInfoClick()
{
    runGuarded(app_.ui(), [this] {
        app_.ui().inform(timeZoneInfoMessage(app_.config().fixedZoneMarkets,
                                             app_.config().Sf_Trga_Porocevalca,
                                             QDateTime::currentDateTime()));
    });
}
