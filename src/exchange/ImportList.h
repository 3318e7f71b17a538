#pragma once

#include "data/filter/TDMFilter.h"

#include <QDate>
#include <QString>

#include <memory>

class Connection;
class Interaction;
class ReusedStatement;

// The import list of manual transactions (fDPATVPIMP): table DPATVPIMP through the filter
// table, ordered by Datum, restricted to the rows of a day. For an instrument without an ISIN
// (or with "N") whose CFI begins with "O" or "F" (options and futures) each row also shows the
// instrument's data from qSFVPDodPodaci: Trg_MIC, IZVCEN, ZPDVP, CFI and KPN_GLV.
class ImportList {
public:
    explicit ImportList(Connection& connection);
    ~ImportList();

    TDMFilter& table() { return table_; }

    // "Nabor": the list reopened ordered by Datum and positioned on the rows of the day.
    void nabor(const QDate& day);

    // The statement of the instrument data; parameters DatumDo (the chosen day) and sfvp.
    static QString dodPodaciStatement();

    // "Brisanje nabora" without its question: the manual transactions of the day that no report
    // took are deleted in one transaction; a failure is rolled back and raised as
    // "Napaka pri brisanju iz DPATVPIMP!".
    static void deleteUnreported(Connection& connection, const QDate& day);

    // "Brisanje nabora": only while the list is open and has rows; asks, deletes the unreported
    // rows of the day and runs "Nabor". False when nothing was asked or the user cancelled.
    bool brisanjeNabora(Interaction& ui, const QDate& day);

private:
    void calculate();

    Connection& connection_;
    TDMFilter table_;
    QDate day_;
    std::unique_ptr<ReusedStatement> dodPodaci_;
};

class ZtfiApp;
// The import list of the tab "Import .xls", shared for the whole run.
ImportList& sharedImportList(ZtfiApp& app);
