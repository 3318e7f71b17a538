#pragma once

#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TFwwDBGrid;
class TPTypedEdit;

// The tab "Import .xls": manual transactions from a spreadsheet; the day, the import actions,
// the error list of the last import (shown only after an import with errors) and the imported
// rows.
class ImportXLSTab : public QWidget {
    Q_OBJECT
public:
    explicit ImportXLSTab(QWidget* parent = nullptr);

    // The area above the import list is higher while the error list of the import is shown.
    void fitImportTop();

private:
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
