#pragma once

#include "data/engine/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class AuditTrail;
class Connection;
class Dataset;
class TFilter;

// A row of DPATVP_SFVP that a reporting instrument is chosen for.
struct OverrideRow {
    QString isin;              // ISIN as stored
    QVariant reporting;        // SFVP_POROCANJE; invalid while the choice is pending
    qint64 hostInstrument = 0; // SFVP_OXU
    QDateTime changeDay;       // DANSPR_SFVP; invalid when empty

    // The row `row` of a dataset over DPATVP_SFVP (the override list).
    static OverrideRow of(const Dataset& rows, int row);
    // SFVP_POROCANJE as an integer, 0 when empty.
    qint64 reportingCode() const;
};

// What the edit dialog offers for a row.
struct InstrumentOffer {
    QString isin;           // the row's ISIN, upper-cased (eISIN)
    QStringList items;      // one per candidate: code, "-", short name
    int current = -1;       // the item of the row's reporting instrument; -1 when none is
    bool newIdentification = false;  // the row already reports an instrument other than 0
};

// The choice of the reporting instrument for a row of the override list. A pending row is
// completed in place; a row that already reports an instrument gets a new version of the
// ISIN's override (an identity row of the chosen instrument announcing the replacement). The
// instrument data of the chosen host instrument are frozen into the row.
//
// Rows are written through the audited table component of DPATVP_SFVP. A choice is one
// transaction (the ageing of a superseded replacement and the post): a database error leaves
// nothing written and the table out of its edit state. Version stamps come from VersionStamps.
class InstrumentChoice {
public:
    InstrumentChoice(Connection& connection, SqlDialect dialect, const AuditTrail& audit,
                     const QString& auditUser);
    ~InstrumentChoice();
    InstrumentChoice(const InstrumentChoice&) = delete;
    InstrumentChoice& operator=(const InstrumentChoice&) = delete;

    // The candidates of the row's ISIN: the host instruments reported under ZTFI that never
    // were replaced by another one.
    InstrumentOffer offer(const OverrideRow& row);

    // The text of the dialog's combo box confirmed: an empty text changes nothing; a text that
    // does not start with an integer followed by "-" is refused (EConvertError). Whether a row
    // was written.
    bool chooseText(const OverrideRow& row, const QString& comboText, const QDate& lastDay);
    // Host instrument `chosen` as the reporting instrument of the row; the instrument data are
    // read for the last day of the selection. Choosing the instrument the row already reports
    // writes nothing; an instrument that is not offered for the ISIN is refused.
    bool choose(const OverrideRow& row, qint64 chosen, const QDate& lastDay);

    // The row a choice for an ISIN (any case) is made on without the list: its oldest pending
    // row, else its current row; none when the ISIN has no row.
    std::optional<OverrideRow> rowOfIsin(const QString& isin);

    // The refusal of an instrument that is not offered for the ISIN.
    static QString notOfferedMessage(qint64 chosen, const QString& isin);
    // The item of a candidate: 1234 and "XYZA" give "1234-XYZA".
    static QString item(qint64 sfvp, const QString& shortName);
    // The code before the first "-" of a combo box text; throws EConvertError when the text
    // does not start with an integer followed by "-".
    static qint64 chosenCode(const QString& comboText);

private:
    struct Candidate {
        qint64 sfvp = 0;
        QString shortName;
    };
    QList<Candidate> candidates(const QString& isin);
    void write(const OverrideRow& row, qint64 chosen, const QDate& lastDay);
    TFilter& table();

    Connection& connection_;
    SqlDialect dialect_;
    const AuditTrail& audit_;
    QString auditUser_;
    std::unique_ptr<TFilter> table_;
};
