#pragma once

#include <QWidget>

class QAction;
class QLabel;
class TFwwDBGrid;
class TPTypedEdit;

// The tab "EMIR": the EMIR reports of a period with their actions, and the disputes of the
// current report.
class EMIRTab : public QWidget {
    Q_OBJECT
public:
    explicit EMIRTab(QWidget* parent = nullptr);

    // Entering the tab: "Datum od" becomes the first day of the current month, "Datum do" today.
    void enter();

private:
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
