#pragma once

#include <QMainWindow>

#include <memory>

class ATVPPage;
class PDFPage;
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
class Regeneration;
class ReportRegister;
class Selection;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;
struct SelectionStop;

// The main window: one page control with a tab per line of work. Controls carry the system's
// names as object names. The window works on the application object that lives for the run.
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

    // Tab "Fin. instr.": the reporting instrument of the current override (the grid's zoom),
    // and "Nazaj na nabor" once every listed override has one.
    void dbgDPATVP_SFVPZoom();
    void bNaborClick();

    // Tab "Nabor": the selection, its deletion, the range check on leaving a date, the time zone.
    void bbNaborClick();
    void BitBtn3Click();
    void dtpDanExit();
    void bTZInfoClick();
    // "Generiranje XML poročila": the report of the selection, then the tab "ATVP".
    void bbGenXMLClick();

    // Tab "Poročila": the register list, its actions by the current row, the regeneration.
    void bbRefreshClick();
    void dsDPATVPDataChange();
    void pmPotrjenoClick();
    void pmZavrnjenoClick();
    void BitBtn4Click();
    void bbReGenerirajClick();

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

    // Wiring of the tabs "Nabor" and "Fin. instr." to the selection and the override list.
    void connectNaborTab();
    void connectFinInstrTab();
    void connectPorocilaTab();
    // The register and its grid, from their first use.
    ReportRegister& reportRegister();
    // The grids of "Nabor" follow the report rows and the code list from their first use.
    void bindSelectionGrids();
    // The override list reopened for the typed ISIN (its grid bound on first use).
    void reopenOverrideList();
    // A selection stopped for a choice of reporting instrument: tabs switched and hidden.
    void applySelectionStop(const SelectionStop& stop);
    // eISIN: the list follows every key release.
    bool eventFilter(QObject* watched, QEvent* event) override;

    ZtfiApp& app_;
    QString importDialogFolder_;
    std::unique_ptr<Selection> selection_;
    bool selectionGridsBound_ = false;
    bool overrideGridBound_ = false;
    std::unique_ptr<ReportRegister> register_;
    std::unique_ptr<Regeneration> regeneration_;

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

    // The signing work of the tabs "ATVP" and "PDF".
    ATVPPage* atvpPage_ = nullptr;
    PDFPage* pdfPage_ = nullptr;

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
