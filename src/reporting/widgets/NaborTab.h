#pragma once

#include <QDate>
#include <QWidget>

#include <memory>

class FindingList;
class QModelIndex;
class QPushButton;
class Selection;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;
struct ReportOutcome;
struct SelectionStop;

// The tab "Nabor": the period of the daily selection, the actions on the selection, the report
// rows and the instrument code list of the selection. The generation of the report (bbGenXML)
// is enabled only by a selection that found a regular transaction.
class NaborTab : public QWidget {
    Q_OBJECT
public:
    explicit NaborTab(ZtfiApp& app, QWidget* parent = nullptr);
    ~NaborTab() override;

    // "Datum od" and "Datum do".
    QDate firstDay() const;
    QDate lastDay() const;
    // Both dates set to one day (the reporting day of a regenerated report).
    void setDay(const QDate& day);
    void setGenerationEnabled(bool enabled);
    // The grids follow the report rows and the code list from their first use.
    void bindSelectionGrids();
    // "Nazaj na nabor": the stopped selection resumed once every override has its instrument.
    void resumeSelection();

public slots:
    void bbNaborClick();
    void BitBtn3Click();
    // Leaving a date: the range check of the selection.
    void dtpDanExit();
    void bTZInfoClick();
    // "Izvoz nabora": the report rows written to a workbook chosen by the user, then opened.
    void bbExportXLSClick();
    // "Preveri nabor": the check of the period (nothing is written); its findings in the grid
    // dbgPreveriNabor.
    void bbPreveriNaborClick();
    // A finding clicked: the report-row grid moves to its row.
    void findingClicked(const QModelIndex& index);
    // "Generiranje XML poročila": the report of the selection is written, validated and
    // registered; reportWritten tells the outcome.
    void bbGenXMLClick();

signals:
    // The selection stopped for a choice of reporting instrument.
    void selectionStopped(const SelectionStop& stop);
    void reportWritten(const ReportOutcome& outcome);

private:
    // "Preveri nabor" is enabled while the report rows hold a row.
    void updateCheckEnabled();

    ZtfiApp& app_;
    std::unique_ptr<Selection> selection_;
    bool gridsBound_ = false;
    std::unique_ptr<FindingList> findings_;

    TPTypedEdit* dtpDan = nullptr;
    TPTypedEdit* dtpDanDo = nullptr;
    QPushButton* bbNabor = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* bbExportXLS = nullptr;
    QPushButton* bbGenXML = nullptr;
    QPushButton* bbPreveriNabor = nullptr;
    QPushButton* bTZInfo = nullptr;
    TFwwDBGrid* dbgDPATVPPSL = nullptr;
    TFwwDBGrid* dbSifrantFinInstr = nullptr;
    TFwwDBGrid* dbgPreveriNabor = nullptr;
};
