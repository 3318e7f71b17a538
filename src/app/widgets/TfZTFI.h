#pragma once

#include <QMainWindow>

class ATVPTab;
class EMIRTab;
class FinInstrTab;
class ImportXLSTab;
class NaborTab;
class PDFTab;
class PorocilaTab;
class QTabWidget;
class ZtfiApp;
struct RegenerationOutcome;
struct ReportOutcome;
struct SelectionStop;

// The main window: one page control with a tab per line of work, each tab a page of its
// subsystem. The window assembles the tabs and carries the work from one to another (a stopped
// selection to "Fin. instr.", a report to "ATVP", a regeneration to "Nabor"). Controls carry the
// system's names as object names. The window works on the application object that lives for
// the run.
class TfZTFI : public QMainWindow {
    Q_OBJECT
public:
    // Builds the tabs and runs the creation steps: run state reset, caption, import folder,
    // configuration, saved statements, PDF file lists, tab "Nabor" active.
    explicit TfZTFI(ZtfiApp& app, QWidget* parent = nullptr);
    ~TfZTFI() override;

    // The folder the import's open dialog starts in.
    const QString& importDialogFolder() const { return importDialogFolder_; }

private slots:
    // Entering a tab of pcMain.
    void pcMainChange(int index);

private:
    void formCreate();
    // A selection stopped for a choice of reporting instrument: tabs switched and hidden.
    void applySelectionStop(const SelectionStop& stop);
    // "Nazaj na nabor": the hidden tabs shown again and the selection resumed.
    void returnToSelection();
    void showReport(const ReportOutcome& outcome);
    void showRegeneration(const RegenerationOutcome& outcome);

    ZtfiApp& app_;
    QString importDialogFolder_;

    QTabWidget* pcMain = nullptr;
    NaborTab* tsNabor = nullptr;
    ImportXLSTab* tsImportXLS = nullptr;
    ATVPTab* tsATVP = nullptr;
    PorocilaTab* tsPorocila = nullptr;
    FinInstrTab* tsFinInstr = nullptr;
    PDFTab* TabSheet1 = nullptr;
    EMIRTab* tsEMIR = nullptr;
};
