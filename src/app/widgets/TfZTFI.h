#pragma once

#include <QMainWindow>

class QAction;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeView;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;

// The main window: one page control with a tab per line of work. Controls carry the system's
// names as object names. The window works on the application object that lives for the run.
class TfZTFI : public QMainWindow {
    Q_OBJECT
public:
    // Builds the tabs and runs the creation steps: run state reset, caption, import folder,
    // configuration, PDF file lists, tab "Nabor" active.
    explicit TfZTFI(ZtfiApp& app, QWidget* parent = nullptr);

    // The folder the import's open dialog starts in.
    const QString& importDialogFolder() const { return importDialogFolder_; }

private slots:
    // Entering a tab of pcMain.
    void pcMainChange(int index);

private:
    void buildNaborTab();
    void buildImportXLSTab();
    // The area above the import list is higher while the error list of the import is shown.
    void fitImportTop();
    void buildATVPTab();
    void buildPorocilaTab();
    void buildFinInstrTab();
    void buildPDFTab();
    void buildEMIRTab();
    void formCreate();
    void rootPdfFileLists();

    ZtfiApp& app_;
    QString importDialogFolder_;

    QTabWidget* pcMain = nullptr;

    // Nabor
    QWidget* tsNabor = nullptr;
    TPTypedEdit* dtpDan = nullptr;
    TPTypedEdit* dtpDanDo = nullptr;
    QPushButton* bbNabor = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* bbExportXLS = nullptr;
    QPushButton* bbGenXML = nullptr;
    QPushButton* bTZInfo = nullptr;
    TFwwDBGrid* dbgDPATVPPSL = nullptr;
    TFwwDBGrid* dbSifrantFinInstr = nullptr;

    // Import .xls
    QWidget* tsImportXLS = nullptr;
    QWidget* pnlImportTop = nullptr;
    TPTypedEdit* pteImpDan = nullptr;
    QPushButton* bbImportXLS = nullptr;
    QPushButton* bbImpNabor = nullptr;
    QPushButton* bbImpBrisi = nullptr;
    QProgressBar* pbImportXLS = nullptr;
    QWidget* pnlImportXLSNapake = nullptr;
    QPlainTextEdit* mImportXLSNapake = nullptr;
    TFwwDBGrid* dbgImport = nullptr;

    // ATVP
    QWidget* tsATVP = nullptr;
    QListWidget* lbNeposlana = nullptr;
    QPushButton* bbNeposlano = nullptr;
    QListWidget* clbPoslana = nullptr;
    QPushButton* bbPodpisana = nullptr;
    QPushButton* bSign = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* eXMLFile = nullptr;
    QPlainTextEdit* mXMLNapake = nullptr;

    // Poročila
    QWidget* tsPorocila = nullptr;
    TPTypedEdit* pteDanOd = nullptr;
    TPTypedEdit* pteDanDo = nullptr;
    QPushButton* bbRefresh = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* bbReGeneriraj = nullptr;
    TFwwDBGrid* dbPorocila = nullptr;
    QMenu* pmStatusi = nullptr;
    QAction* pmPotrjeno = nullptr;
    QAction* pmZavrnjeno = nullptr;

    // Fin. instr.
    QWidget* tsFinInstr = nullptr;
    QLineEdit* eISIN = nullptr;
    TFwwDBGrid* dbgDPATVP_SFVP = nullptr;
    QPushButton* bNabor = nullptr;

    // PDF
    QWidget* TabSheet1 = nullptr;
    QListWidget* lbPDFPDF = nullptr;
    QPushButton* bPDFRefreshPDF = nullptr;
    QPushButton* bSignPDG = nullptr;
    QPushButton* bPDFRefreshSIG = nullptr;
    QTabWidget* pcPDFSIG = nullptr;
    QTreeView* slvPDF = nullptr;
    QTreeView* slvSIG = nullptr;
    QFileSystemModel* pdfFiles = nullptr;
    QFileSystemModel* sigFiles = nullptr;

    // EMIR
    QWidget* tsEMIR = nullptr;
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
