#include "reporting/widgets/NaborTab.h"

#include "core/ActionGuard.h"
#include "core/Config.h"
#include "core/Interaction.h"
#include "exchange/SelectionExport.h"
#include "data/dataset/DatasetModel.h"
#include "instruments/CodeList.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/check/FindingList.h"
#include "ntrs/check/IsoCodes.h"
#include "ntrs/check/PeriodCheck.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "reporting/SelectionReturn.h"
#include "reporting/TimeZones.h"
#include "state/ZtfiApp.h"
#include "ui/FormControls.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>

#include <algorithm>

using namespace FormControls;

namespace {

// The text colour of a row of "Transakcije"; an invalid colour for a row drawn as usual.
QColor rowColour(ReportRowColour colour)
{
    switch (colour) {
    case ReportRowColour::CancelledOnFirstDay:
        return QColor(255, 0, 0);
    case ReportRowColour::CancelledEarlier:
        return QColor(128, 128, 128);
    case ReportRowColour::SkippedInternalMatch:
        return QColor(128, 128, 0);
    case ReportRowColour::Normal:
        break;
    }
    return QColor();
}

}  // namespace

NaborTab::NaborTab(ZtfiApp& app, QWidget* parent)
    : QWidget(parent), app_(app), selection_(std::make_unique<Selection>(app))
{
    setObjectName(QStringLiteral("tsNabor"));

    dtpDan = dateEdit(this, "dtpDan");
    dtpDanDo = dateEdit(this, "dtpDanDo");
    bbNabor = button(this, "bbNabor", QStringLiteral("Nabor"), QStringLiteral("Nabor"));
    BitBtn3 = button(this, "BitBtn3", QStringLiteral("Brisanje nabora"),
                     QStringLiteral("Brisanje nabranih neposlanih transakcij"));
    bbExportXLS = button(this, "bbExportXLS", QStringLiteral("Izvoz nabora"),
                         QStringLiteral("Export v Excel"));
    bbGenXML = button(this, "bbGenXML", QStringLiteral("Generiranje XML poročila"),
                      QStringLiteral("Generiranje in pošiljanje poročila"));
    bTZInfo = button(this, "bTZInfo", QStringLiteral("Preveri časovni pas"));
    bbPreveriNabor = button(this, "bbPreveriNabor", QStringLiteral("Preveri nabor"),
                            QStringLiteral("Preverjanje nabora pred generiranjem (ničesar ne zapiše)"));

    auto* top = new QHBoxLayout;
    top->addWidget(label(this, "lblDan", QStringLiteral("Datum od")));
    top->addWidget(dtpDan->parentWidget());
    top->addSpacing(8);
    top->addWidget(label(this, "lblDanDo", QStringLiteral("Datum do")));
    top->addWidget(dtpDanDo->parentWidget());
    top->addSpacing(16);
    top->addWidget(bbNabor);
    top->addWidget(BitBtn3);
    top->addWidget(bbExportXLS);
    top->addWidget(bbPreveriNabor);
    top->addWidget(bbGenXML);
    top->addStretch(1);
    top->addWidget(bTZInfo);

    auto* lists = new QSplitter(Qt::Vertical, this);
    lists->setObjectName(QStringLiteral("splNabor"));
    dbgDPATVPPSL = grid(lists, "dbgDPATVPPSL", QStringLiteral("Transakcije"));
    dbSifrantFinInstr = grid(lists, "dbSifrantFinInstr",
                             QStringLiteral("Šifrant finančnih instrumentov"));
    dbgPreveriNabor = grid(lists, "dbgPreveriNabor", QStringLiteral("Preverjanje nabora"));
    lists->addWidget(dbgDPATVPPSL->parentWidget());
    lists->addWidget(dbSifrantFinInstr->parentWidget());
    lists->addWidget(dbgPreveriNabor->parentWidget());
    lists->setStretchFactor(0, 3);
    lists->setStretchFactor(1, 1);
    lists->setStretchFactor(2, 1);
    // The findings show up with the first check.
    dbgPreveriNabor->parentWidget()->hide();

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(lists, 1);

    bbGenXML->setEnabled(false);
    bbPreveriNabor->setEnabled(false);
    connect(bbPreveriNabor, &QPushButton::clicked, this, &NaborTab::bbPreveriNaborClick);
    connect(dbgPreveriNabor, &QAbstractItemView::clicked, this, &NaborTab::findingClicked);
    connect(bbNabor, &QPushButton::clicked, this, &NaborTab::bbNaborClick);
    connect(BitBtn3, &QPushButton::clicked, this, &NaborTab::BitBtn3Click);
    connect(bTZInfo, &QPushButton::clicked, this, &NaborTab::bTZInfoClick);
    connect(bbExportXLS, &QPushButton::clicked, this, &NaborTab::bbExportXLSClick);
    connect(bbGenXML, &QPushButton::clicked, this, &NaborTab::bbGenXMLClick);
    for (TPTypedEdit* edit : {dtpDan, dtpDanDo})
        connect(edit, &TPTypedEdit::exited, this, &NaborTab::dtpDanExit);
}

NaborTab::~NaborTab() = default;

QDate NaborTab::firstDay() const
{
    return dtpDan->asDate();
}

QDate NaborTab::lastDay() const
{
    return dtpDanDo->asDate();
}

void NaborTab::setDay(const QDate& day)
{
    dtpDan->setAsDate(day);
    dtpDanDo->setAsDate(day);
}

void NaborTab::setGenerationEnabled(bool enabled)
{
    bbGenXML->setEnabled(enabled);
}

void NaborTab::bindSelectionGrids()
{
    if (gridsBound_)
        return;
    ReportRows& rows = sharedReportRows(app_);
    auto* rowsModel = new DatasetModel(&rows.query(), dbgDPATVPPSL);
    dbgDPATVPPSL->setModel(new RowColourModel(
        rowsModel, [this, &rows](int row) { return rowColour(rows.rowColour(row, dtpDan->asDate())); },
        dbgDPATVPPSL));
    dbSifrantFinInstr->setModel(new DatasetModel(&sharedCodeList(app_).query(), dbSifrantFinInstr));
    connect(&rows.query(), &Dataset::datasetChanged, this, &NaborTab::updateCheckEnabled);
    gridsBound_ = true;
    updateCheckEnabled();
}

void NaborTab::updateCheckEnabled()
{
    const TQueryDM& rows = sharedReportRows(app_).query();
    bbPreveriNabor->setEnabled(rows.isActive() && !rows.isEmpty());
}

void NaborTab::bbPreveriNaborClick()
{
    runGuarded(app_.ui(), [this] {
        const PeriodCheckResult result =
            PeriodCheck(app_, IsoCodes::debianFolder()).run(dtpDan->asDate(), dtpDanDo->asDate());
        if (!result.pendingIsins.isEmpty()) {
            app_.ui().inform(QStringLiteral("Nabor bi se ustavil za izbiro finančnega instrumenta za ISIN: ")
                             + result.pendingIsins.join(QStringLiteral(", ")));
            return;
        }
        if (!findings_) {
            findings_ = std::make_unique<FindingList>(app_.connection());
            dbgPreveriNabor->setModel(new DatasetModel(findings_.get(), dbgPreveriNabor));
        }
        findings_->show(result.findings);
        const auto errors = std::count_if(result.findings.begin(), result.findings.end(), [](const CheckFinding& f) {
            return f.level == CheckFinding::Level::Error;
        });
        QString caption = QStringLiteral("Preverjanje nabora (napak: %1, opozoril: %2)")
                              .arg(errors)
                              .arg(result.findings.size() - errors);
        for (const QString& notice : result.notices)
            caption += QLatin1Char(' ') + notice;
        dbgPreveriNabor->setLabelText(caption);
        dbgPreveriNabor->parentWidget()->show();
    });
}

void NaborTab::findingClicked(const QModelIndex& index)
{
    if (!index.isValid() || !findings_ || !findings_->isActive())
        return;
    const QString reference = findings_->valueAt(index.row(), findings_->fieldByName(QStringLiteral("RefStTransaC"))).toString();
    const TQueryDM& rows = sharedReportRows(app_).query();
    if (reference.isEmpty() || !rows.isActive())
        return;
    const Field& references = rows.fieldByName(QStringLiteral("RefStTransaC"));
    for (int row = 0; row < rows.recordCount(); ++row) {
        if (rows.valueAt(row, references).toString() == reference) {
            dbgDPATVPPSL->moveToRow(row);
            return;
        }
    }
}

void NaborTab::resumeSelection()
{
    runGuarded(app_.ui(), [this] {
        bindSelectionGrids();
        bbGenXML->setEnabled(false);
        bbGenXML->setEnabled(
            SelectionReturn(app_, *selection_).bNaborClick(dtpDan->asDate(), dtpDanDo->asDate()));
    });
}

void NaborTab::bbNaborClick()
{
    runGuarded(app_.ui(), [this] {
        bindSelectionGrids();
        const SelectionOutcome outcome = selection_->bbNaborClick(dtpDan->asDate(), dtpDanDo->asDate());
        if (outcome.stop) {
            emit selectionStopped(*outcome.stop);
            return;
        }
        bbGenXML->setEnabled(outcome.generationEnabled);
    });
}

void NaborTab::BitBtn3Click()
{
    runGuarded(app_.ui(), [this] {
        bindSelectionGrids();
        selection_->BitBtn3Click(dtpDan->asDate(), dtpDanDo->asDate());
    });
}

void NaborTab::dtpDanExit()
{
    runGuarded(app_.ui(), [this] { selection_->dtpDanExit(dtpDan->asDate(), dtpDanDo->asDate()); });
}

void NaborTab::bTZInfoClick()
{
    runGuarded(app_.ui(), [this] {
        app_.ui().inform(timeZoneInfoMessage(app_.config().fixedZoneMarkets,
                                             app_.config().Sf_Trga_Porocevalca,
                                             QDateTime::currentDateTime()));
    });
}

void NaborTab::bbExportXLSClick()
{
    runGuarded(app_.ui(), [this] {
        exportSelectionToChosenFile(sharedReportRows(app_), app_.ui(), app_.programFolder(), QDate::currentDate());
    });
}

void NaborTab::bbGenXMLClick()
{
    runGuarded(app_.ui(), [this] {
        ReportWriter writer(app_.connection(), app_.config(), app_.errorLog(), app_.auditTrail(),
                            app_.programFolder());
        writer.reportProgressTo(app_.ui());
        const ReportOutcome outcome =
            writer.bbGenXMLClick(sharedReportRows(app_), sharedCodeList(app_), app_.regeneration,
                                 ReportRequest{dtpDan->asDate(), dtpDanDo->asDate(), QDateTime::currentDateTime()});
        emit reportWritten(outcome);
    });
}
