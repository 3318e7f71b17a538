#pragma once

#include "data/dataset/FieldDef.h"
#include "data/dataset/Queries.h"

#include <QList>
#include <QString>
#include <QVariant>

class Connection;

// The override list of the tab "Fin. instr." (qDPATVP_SFVP): the current rows of ISINs with
// several rows, the rows of ISINs carried by several live host instruments, and every pending
// row, restricted to an ISIN pattern; the rows stand in the order the statement returns them.
class OverrideList {
public:
    // How a row of the list is drawn.
    enum class RowColour {
        Normal,
        Pending,   // red: no reporting instrument chosen yet
        Replaced,  // silver grey: the row replaced an earlier reporting instrument
    };

    explicit OverrideList(Connection& connection);

    TQueryDM& query() { return query_; }
    const TQueryDM& query() const { return query_; }

    // The statement; parameter ISIN (text, a LIKE pattern).
    static QString statement();
    // The pattern of the parameter ISIN for the text typed into the ISIN field: the text and "%".
    static QString isinPattern(const QString& typedText);
    // The declared fields: every column of DPATVP_SFVP; ISIN, SFVP_POROCANJE, SFVP_OLD and
    // DANSPR shown, the rest hidden.
    static const QList<FieldDef>& fields();

    // (Re)opens the list for the text of the ISIN field.
    void open(const QString& typedIsin);

    // The colour of a row from its SFVP_POROCANJE and SFVP_OLD; a row that is both pending and
    // replacing is drawn as replaced.
    static RowColour rowColour(const QVariant& reportingInstrument, const QVariant& replacedInstrument);
    // The colour of a row of the open list.
    RowColour rowColour(int row) const;

    // "Nazaj na nabor" is shown exactly when no listed row is pending.
    bool returnButtonVisible() const;

private:
    TQueryDM query_;
};

class ZtfiApp;
// The override list of the tab "Fin. instr." (qDPATVP_SFVP), shared for the whole run.
OverrideList& sharedOverrideList(ZtfiApp& app);
