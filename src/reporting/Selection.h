#pragma once

#include "instruments/OverrideSync.h"
#include "reporting/SelectedRows.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class TFilter;
class TUniQuery;
class ZtfiApp;

// What the tab "Nabor" shows after a selection.
struct SelectionOutcome {
    // Set when the instrument override synchronisation stopped the selection: a reporting
    // instrument has to be chosen first, and the report rows and the code list stay closed.
    std::optional<SelectionStop> stop;
    // "Generiranje XML poročila": the report rows hold a regular (not cancelled) transaction.
    bool generationEnabled = false;
};

// What the writing steps of a selection did: the identifier of the set they wrote and the
// instrument override synchronisation (whose pending rows stop the selection).
struct WrittenSelection {
    qint64 reportId = 0;
    OverrideSyncResult overrides;
};

// The daily selection: collects the trades of a period into the pending selection (rows of
// DPATVPPSL under the identifier the next report will carry), brings the instrument overrides
// up to date and opens the report rows and the instrument code list; and the deletion of the
// pending selection and of the period's reports that were generated but never sent.
//
// Every writing step runs in its own transaction; a failed step rolls back itself only and
// raises its message. The steps are traced into the error log (Log.txt, when Debug is on).
class Selection {
public:
    explicit Selection(ZtfiApp& app);
    ~Selection();
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // "dd.mm.yyyy;dd.mm.yyyy": the period as the selection remembers it.
    static QString rangeKey(const QDate& firstDay, const QDate& lastDay);
    // Shown when the report rows hold only cancellations.
    static QString noRegularRowsMessage();
    // "Datum do " + lastDay + " je pred datumom od " + firstDay + "!" (dates as dd.mm.yyyy).
    static QString reversedPeriodMessage(const QDate& firstDay, const QDate& lastDay);

    // "Nabor": deletes the pending selection, selects the period's new trades, cancellations of
    // trades selected before, replacement trades of corrections and imported transactions,
    // synchronises the instrument overrides, then opens the report rows and the code list.
    // A period that ends before it starts is refused (ZtfiError reversedPeriodMessage()) before
    // anything is written or remembered; so is it by the deletion.
    SelectionOutcome bbNaborClick(const QDate& firstDay, const QDate& lastDay);
    // The writing steps of "Nabor" alone, for a check that rolls them back: the pending selection
    // and the period's unsent reports removed, the period's rows selected under the next report
    // identifier, the overrides synchronised. The lists, the run's state and the user are left
    // alone. A reversed period is refused as by "Nabor".
    WrittenSelection writeSteps(const QDate& firstDay, const QDate& lastDay);
    // "Brisanje nabora": removes the pending selection, releases imported transactions of
    // reports that do not exist, deletes the period's unsent reports with their rows, and
    // closes the report rows and the code list.
    void BitBtn3Click(const QDate& firstDay, const QDate& lastDay);
    // Leaving a date of the period: when it is no longer the period of the last selection, the
    // report rows and the code list are closed (nothing can be generated for a period that was
    // not selected). Whether they were closed.
    bool dtpDanExit(const QDate& firstDay, const QDate& lastDay);
    // The last two steps of the selection (also "Nazaj na nabor"): opens the report rows and the
    // code list of the pending selection; whether the generation may be enabled.
    bool openLists(const QDate& firstDay, const QDate& lastDay);
    // The report rows and the code list of one report's own set (a regeneration, and "Nazaj na
    // nabor" after a regeneration stopped for a choice); whether the generation may be enabled.
    static bool openReportLists(ZtfiApp& app, const QDate& firstDay, const QDate& lastDay,
                                qint64 reportId);

    // The audited table components the selection writes through (opened on first use).
    TFilter& tDPATVPPSL();
    TFilter& tDPATVP();

private:
    // Tells the user that the step (0: the deletion, 1-5 the writing steps, 6 and 7 the lists)
    // runs. In a cancellable action (the check, whose transaction takes every step back) the
    // step's start and each of its rows are checkpoints (CancellableAction).
    void progress(int step) const;
    // The rows a writing step posts, as the step's rows: rows done of the rows it gathered.
    SelectedRowProgress rowProgress(int step) const;
    void log(const QString& message) const;
    // Runs a numbered step: traces "Pre n StartTransaction!", then "po n Commit!" or, when the
    // step failed, "po n Rollback!" before its error passes on.
    void tracedStep(int number, const QString& failure, bool appendCause,
                    const std::function<void()>& body);
    // The deletion steps of "Brisanje nabora".
    void removePending(const QDate& firstDay, const QDate& lastDay);
    // The steps that select the period under reportId and synchronise the overrides.
    OverrideSyncResult selectInto(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    void insertNewTrades(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    void insertCancellations(qint64 reportId);
    void insertReplacements(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    void assignImports(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    OverrideSyncResult synchroniseOverrides(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    std::unique_ptr<TFilter> makeTable(const QString& name, const QString& table,
                                       const QString& indexFields);

    ZtfiApp& app_;
    std::unique_ptr<TFilter> tDPATVPPSL_;
    std::unique_ptr<TFilter> tDPATVP_;
};
