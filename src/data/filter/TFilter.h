#pragma once

#include "data/dataset/TDMTable.h"
#include "data/filter/FilterLines.h"

#include <QString>
#include <QStringList>

// A table whose rows are chosen by filter lines ("NAZIV LIKE :Naziv OR KOL > 100", one
// condition group per line, lines joined by AND) with values taken literally or from named
// parameters. A filter table starts empty: every open selects no row until the lines give a
// condition, SQLSetRange sets a key filter, or the caller sets a filter text itself.
class TFilter : public TDMTable {
    Q_OBJECT

public:
    TFilter(Connection& connection, const QString& name, QObject* parent = nullptr);

    // Call once the table name and the fields are declared: the table name is upper-cased and
    // cut before ".DB" (a file name carried over from file-based tables).
    virtual void loaded();

    const QStringList& varFilter() const { return lines_.lines(); }
    // New lines, applied at once. A line that does not parse raises its error; the parameters
    // and the filter in force stay as they were.
    void setVarFilter(const QStringList& lines);

    // The parameters the lines name (":Name"), created with the type of the field they are
    // compared with. Change values here and call UpdateFilter, or use setParams.
    FilterParams& params() { return lines_.params(); }
    const FilterParams& params() const { return lines_.params(); }
    // Copies the values of the given parameters by name, then applies the filter.
    void setParams(const FilterParams& values);

    // When open, the list is completed with the unique-key fields first; a different list
    // re-reads the rows in the new order.
    void setIndexFieldNames(const QString& names) override;

    // Nested: while true, changes are not applied and attached views are not notified;
    // leaving the outermost level applies the filter once.
    bool delayUpdate() const { return delayDepth_ > 0; }
    void setDelayUpdate(bool on);

    // With this set, the first application goes through, the second closes the table and
    // later ones do nothing.
    bool CloseOnFilterChange() const { return closeOnFilterChange_; }
    void setCloseOnFilterChange(bool on) { closeOnFilterChange_ = on; }

    // A LIKE then compares "starts with" without regard to case. Takes effect at the next
    // application.
    bool CaseInsensitiveFilter() const { return caseInsensitiveFilter_; }
    void setCaseInsensitiveFilter(bool on) { caseInsensitiveFilter_ = on; }

    // Minimum weight of the parameters that are set (each counts its kind, an input
    // parameter 1); below it the table shows no row.
    int selectabilityTreshold() const { return selectabilityTreshold_; }
    void setSelectabilityTreshold(int weight) { selectabilityTreshold_ = weight; }

    // Parses the lines when they changed and, unless delayed or closed, turns them into the
    // table's filter; a table whose lines give no condition shows no row.
    void UpdateFilter();
    // Filters the table to no row: each unique-key field (or the first column) compared with a
    // value no row holds.
    void SetEmptyResult();

protected:
    void prepareCursor() override;
    void defineFields(const QList<EngineColumn>& columns) override;

private:
    void installFilter(const QString& text, bool caseInsensitive);

    FilterLines lines_;
    int delayDepth_ = 0;
    bool closeOnFilterChange_ = false;
    int closeState_ = 0;
    bool caseInsensitiveFilter_ = false;
    int selectabilityTreshold_ = 0;
};
