#include "reporting/SelectionLists.h"

#include "instruments/CodeList.h"
#include "reporting/ReportRows.h"
#include "reporting/ReportRowsStatement.h"
#include "state/ZtfiApp.h"

void prepareSavedStatements(ZtfiApp& app)
{
    app.setSavedStatements(
        prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), app.config()));
}

void closeSelectionLists(ZtfiApp& app)
{
    if (auto* rows = app.datasets().find<ReportRows>())
        rows->close();
    if (auto* codes = app.datasets().find<CodeList>())
        codes->close();
}
