#pragma once

#include <QWidget>

#include <memory>

class EmirRegistry;
class QAction;
class QLabel;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;

// The tab "EMIR": the EMIR reports whose period starts within "Datum od".."Datum do" with their
// actions, and the disputes of the current report. The actions open for the current report and
// dispute are evaluated again whenever either list or its current row changes.
class EMIRTab : public QWidget {
    Q_OBJECT
public:
    explicit EMIRTab(ZtfiApp& app, QWidget* parent = nullptr);
    ~EMIRTab() override;

    // Entering the tab: "Datum od" becomes the first day of the current month, "Datum do" today,
    // and the report list is reloaded.
    void enter();

public slots:
    void actAddRptExecute();
    void actEditRptExecute();
    void actDeleteRptExecute();
    void actCancelExecute();
    void actRefreshExecute();
    void actEMIRXMLExecute();
    void actImportXLSExecute();
    void actAddPslExecute();
    void actEditPslExecute();
    void actDeletePslExecute();
    // Enables the actions for the current report and dispute.
    void updateActions();

private:
    // The registry and the grids over its lists, from their first use.
    EmirRegistry& registry();
    // The filter dates taken over by the registry (which closes its lists when they changed).
    void takePeriod();
    void bindGrid(TFwwDBGrid* grid, class Dataset& list, bool followsReports);

    ZtfiApp& app_;
    std::unique_ptr<EmirRegistry> registry_;

    QLabel* lblEMIRPorocila = nullptr;
    QLabel* lblEMIRSpori = nullptr;
    TPTypedEdit* pteEMIRDatOd = nullptr;
    TPTypedEdit* pteEMIRDatDo = nullptr;
    QAction* actEMIRXML = nullptr;
    QAction* actRefresh = nullptr;
    QAction* actAddRpt = nullptr;
    QAction* actEditRpt = nullptr;
    QAction* actDeleteRpt = nullptr;
    QAction* actCancel = nullptr;
    QAction* actImportXLS = nullptr;
    QAction* actAddPsl = nullptr;
    QAction* actEditPsl = nullptr;
    QAction* actDeletePsl = nullptr;
    TFwwDBGrid* dbgEMIRPorocila = nullptr;
    TFwwDBGrid* dbgEMIRPsl = nullptr;
};
