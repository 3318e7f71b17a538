#pragma once

#include <QDate>

class Selection;
class ZtfiApp;

// "Nazaj na nabor" (bNaborClick): once every reporting instrument is chosen, the selection that
// stopped for the choice goes on with its last two steps, the report rows and the instrument
// code list of the pending selection. When it was a regeneration that stopped, the regenerated
// set is opened instead: the rows and instruments of the report's own identifier over the
// report's registered period, as the regeneration opens them itself.
class SelectionReturn {
public:
    SelectionReturn(ZtfiApp& app, Selection& selection);

    // firstDay, lastDay: the period on the tab "Nabor". Whether "Generiranje XML poročila" may
    // be enabled (the report rows hold a regular, not cancelled, transaction); when the rows
    // hold only cancellations the selection's message says so.
    bool bNaborClick(const QDate& firstDay, const QDate& lastDay);

private:
    bool openRegeneratedSet(const QDate& firstDay, const QDate& lastDay);

    ZtfiApp& app_;
    Selection& selection_;
};
