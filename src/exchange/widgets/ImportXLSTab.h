#pragma once

#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;

// The tab "Import .xls": manual transactions from a spreadsheet; the day, the import actions,
// the error list of the last import (shown only after an import with errors) and the imported
// rows.
class ImportXLSTab : public QWidget {
    Q_OBJECT
public:
    explicit ImportXLSTab(ZtfiApp& app, QWidget* parent = nullptr);

    // The area above the import list is higher while the error list of the import is shown.
    void fitImportTop();

public slots:
    // "Uvoz transakcij": the import of a workbook chosen by the user for the chosen day. After
    // an import with errors the error list is shown; every row imported without an error stays.
    void bbImportXLSClick();
    // "Nabor": the import list of the chosen day.
    void bbImpNaborClick();
    // "Brisanje nabora": the day's manual transactions that no report took, after a question.
    void bbImpBrisiClick();
    // Leaving the day runs "Nabor".
    void pteImpDanExit();

private:
    void bindList();

    ZtfiApp& app_;
    bool listBound_ = false;
    QWidget* pnlImportTop = nullptr;
    TPTypedEdit* pteImpDan = nullptr;
    QPushButton* bbImportXLS = nullptr;
    QPushButton* bbImpNabor = nullptr;
    QPushButton* bbImpBrisi = nullptr;
    QProgressBar* pbImportXLS = nullptr;
    QWidget* pnlImportXLSNapake = nullptr;
    QPlainTextEdit* mImportXLSNapake = nullptr;
    TFwwDBGrid* dbgImport = nullptr;
};
