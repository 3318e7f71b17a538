#pragma once

#include "ntrs/check/CheckFinding.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class ZtfiApp;

// What the check of a period found.
struct PeriodCheckResult {
    // Errors first, then warnings; each in the order of the report.
    QList<CheckFinding> findings;
    // The ISINs whose instrument choice would stop the selection (nothing else is checked then).
    QStringList pendingIsins;
    // Lines about checks that could not run (reference data missing).
    QStringList notices;

    bool hasErrors() const;
};

// The check of a period before its report: selects the period's rows as "Nabor" does and puts
// them through every check of the generation (each value through its format, every record
// through the report's schema), collecting every failure instead of stopping at the first, plus
// warnings about values the regulator may refuse (ValueWarnings). It changes nothing: the
// selection runs inside one transaction that is rolled back at the end, the report document is a
// temporary file that goes with the check, and the run's lists and state stay as they were.
class PeriodCheck {
public:
    // isoCodesFolder: where the country and currency codes are read (IsoCodes).
    explicit PeriodCheck(ZtfiApp& app, const QString& isoCodesFolder);

    // A period that ends before it starts, and a failure of the selection, throw ZtfiError.
    PeriodCheckResult run(const QDate& firstDay, const QDate& lastDay);

    // Said when the user cancelled the check (it can stop anywhere: CancellableAction).
    static QString cancelledMessage();
    // The line that says the country and currency warnings are off.
    static QString missingCodesNotice(const QString& folder);

private:
    ZtfiApp& app_;
    QString isoCodesFolder_;
};
