#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "ntrs/ReportWriter.h"
#include "state/ZtfiApp.h"
#include "ui/TPTypedEdit.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

// The report of the selection is written, validated and registered; the tab "ATVP" then shows
// the report waiting to be signed, or the schema fault of a report that failed its validation.
void TfZTFI::bbGenXMLClick()
{
    runGuarded(app_.ui(), [this] {
        ReportWriter writer(app_.connection(), app_.config(), app_.errorLog(), app_.auditTrail(),
                            app_.programFolder());
        const ReportOutcome outcome =
            writer.bbGenXMLClick(sharedReportRows(app_), sharedCodeList(app_), app_.regeneration,
                                 ReportRequest{dtpDan->asDate(), dtpDanDo->asDate(), QDateTime::currentDateTime()});
        if (outcome.showErrors()) {
            mXMLNapake->clear();
            mXMLNapake->appendPlainText(outcome.errorLine);
            eXMLFile->setText(outcome.filePath);
        }
        Label1->setVisible(outcome.showErrors());
        eXMLFile->setVisible(outcome.showErrors());
        mXMLNapake->setVisible(outcome.showErrors());
        pcMain->setCurrentWidget(tsATVP);
    });
}
