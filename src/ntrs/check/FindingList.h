#pragma once

#include "data/dataset/Dataset.h"
#include "ntrs/check/CheckFinding.h"

#include <QList>

// The findings of a check as a dataset for the list grid, its print and export and the
// tab-separated listing: the fields Raven, RefStTransaC, Polje, Vrednost and Pravilo, one row
// per finding in the order given. The rows live in memory only.
class FindingList : public Dataset {
    Q_OBJECT

public:
    explicit FindingList(Connection& connection, QObject* parent = nullptr);

    // Reopens the list with these findings.
    void show(const QList<CheckFinding>& findings);

protected:
    void openCursor() override;

private:
    QList<CheckFinding> findings_;
};
