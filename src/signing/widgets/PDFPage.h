#pragma once

#include <QObject>

class QFileSystemModel;
class QListWidget;
class QPushButton;
class QTreeView;
class ZtfiApp;

// The work of the tab "PDF": the PDF documents waiting in the PDF folder, their signing, and
// the two views of the server folders ("PDF" and "SIG").
class PDFPage : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QListWidget* lbPDFPDF = nullptr;        // "*.PDF" of the PDF folder, several selectable
        QPushButton* bPDFRefreshPDF = nullptr;  // "Osveži"
        QPushButton* bSignPDG = nullptr;        // "Podpis in kriptiranje poročila"
        QPushButton* bPDFRefreshSIG = nullptr;  // "Osveži" of the two views
        QTreeView* slvPDF = nullptr;            // files of PDF_Server
        QTreeView* slvSIG = nullptr;            // files of PDF_SIGServer
        QFileSystemModel* pdfFiles = nullptr;   // the model of slvPDF
        QFileSystemModel* sigFiles = nullptr;   // the model of slvSIG
    };

    // Sets the entry filters of the views and connects the buttons.
    PDFPage(const Controls& controls, ZtfiApp& app, QObject* parent = nullptr);

    // Entering the tab: bPDFRefreshPDFClick, then bPDFRefreshSIGClick.
    void tabEnter();

public slots:
    // Refills lbPDFPDF with the "*.PDF" files of the PDF folder (any case).
    void bPDFRefreshPDFClick();
    // Re-reads slvPDF (files of PDF_Server ending exactly in ".pdf") and slvSIG (files of
    // PDF_SIGServer ending exactly in ".sig").
    void bPDFRefreshSIGClick();
    // Signs the selected documents with one dialog; the button is disabled while it runs.
    void bSignPDGClick();

private:
    Controls c_;
    ZtfiApp& app_;
};
