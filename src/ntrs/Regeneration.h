#pragma once

#include "instruments/OverrideSync.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class TFilter;
class ZtfiApp;
struct RegisterRow;

// What the window shows after a regeneration.
struct RegenerationOutcome {
    // The override synchronisation stopped for a pending choice of reporting instrument: the
    // tabs change as after a stopped selection, but "Nazaj na nabor" is shown at once, and the
    // report rows and the code list were not opened.
    std::optional<SelectionStop> stop;
    // The report rows and the code list of the report were opened; "Nabor" becomes active.
    bool listsOpened = false;
    // "Generiranje XML poročila": the report rows hold a regular (not cancelled) transaction.
    bool generationEnabled = false;
    // The day both dates of "Nabor" ("Datum od" and "Datum do") are set to: DANPOROCANJA.
    QDate selectionDay;
};

// "Ponovno generiraj" (bbReGenerirajClick): prepares the regeneration of a rejected report.
// Under the rejected report's identifier it gathers again what the selection gathers for the
// report's period (new trades, cancellations and replacement trades of the period, imported
// transactions), brings the instrument overrides of the report's instruments up to date, opens
// the report rows and the code list of that identifier and puts the application into
// regeneration mode (previous status, the serial prepared in the year of the send date, the
// send date), so that the next generation registers the report as the set's next row.
//
// Every database step commits on its own; a failing step rolls back itself only and raises its
// message; the regeneration mode is then not set. Trace lines go to the error log.
class Regeneration {
public:
    explicit Regeneration(ZtfiApp& app);
    ~Regeneration();
    Regeneration(const Regeneration&) = delete;
    Regeneration& operator=(const Regeneration&) = delete;

    // row: the current row of the register list (a sent, rejected report).
    RegenerationOutcome bbReGenerirajClick(const RegisterRow& row);

private:
    void log(const QString& message) const;
    void prepareSerial(const RegisterRow& row);
    // Steps 1 to 3: the rows of the opened statement become DPATVPPSL rows of the set.
    void gather(const QStringList& statement, const QString& failure, const QDate& firstDay,
                const QDate& lastDay);
    void assignImports(const QDate& firstDay, const QDate& lastDay, qint64 reportId);
    OverrideSyncResult synchroniseOverrides(const QDate& firstDay, const QDate& lastDay,
                                            qint64 reportId);
    // An audited table component, created by its first use.
    TFilter& table(std::unique_ptr<TFilter>& component, const char* name, const char* table,
                   const char* indexFields);

    ZtfiApp& app_;
    std::unique_ptr<TFilter> tDPATVPPSL_;
    std::unique_ptr<TFilter> tDPATVPIMP_;
};
