#pragma once

#include "listing/GroupQueries.h"

#include <QWidget>

#include <memory>

class Dataset;
class LocalTable;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class TFwwDBGrid;
class TUniQuery;

// The grouped print and sum window of a grid's dataset: the dataset copied into a local table
// (tab "Nastavitve", grid dbgTemp), split into group fields ("Sortiranje / grupiranje po :")
// and sum fields ("Sumarna polja pri grupiranju :"); "Sortiranje" shows every row with a grand
// total (dbgQ), "Grupiranje" the subtotals of every group level with subtotals and the grand
// total (dbgQG). A click on a group field toggles its subtotals, on a sum field cycles its
// operator; a click on the title of column k of dbgTemp groups by the columns up to k. Total
// rows show the marker text of "Oznaka za skupaj :" in their group columns; sum columns are
// wide enough for their totals, and an average without a number format shows two to four
// decimals. The window is captioned "Grupiranje in vsote - " + title; the copy into the local
// table shows the progress window "Copy to local table"; a result tab can be chosen only once
// its button made it. One window per process, not modal; hiding it drops the local table.
class GroupPrintWindow : public QWidget {
    Q_OBJECT
public:
    // The window of the process, opened on the dataset with the title (the grid's caption).
    static GroupPrintWindow* open(const Dataset& source, const QString& title);
    ~GroupPrintWindow() override;

    void setSource(const Dataset& source, const QString& title);
    const GroupQueries::Split& split() const { return split_; }
    void resplitAt(int column);
    void toggleGroup(int index);
    void cycleSum(int index);
    void showSorted();
    void showGrouped();

    TFwwDBGrid* dbgTemp = nullptr;
    TFwwDBGrid* dbgQ = nullptr;
    TFwwDBGrid* dbgQG = nullptr;
    QPlainTextEdit* title = nullptr;
    QListWidget* lbGroup = nullptr;
    QListWidget* lbSum = nullptr;
    QListWidget* lbOther = nullptr;
    QLineEdit* eMarker = nullptr;
    QCheckBox* cbOperator = nullptr;
    QTabWidget* pcGroup = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    explicit GroupPrintWindow(QWidget* parent = nullptr);
    void fillLists();
    void closeAll();
    // Opens a result query over the statement with the group and sum fields as its columns.
    void openResult(TUniQuery& query, TFwwDBGrid* grid, const QStringList& sql, bool groupColours);

    std::unique_ptr<LocalTable> table_;
    std::unique_ptr<TUniQuery> temp_;
    std::unique_ptr<TUniQuery> sorted_;
    std::unique_ptr<TUniQuery> grouped_;
    GroupQueries::Split split_;
};
