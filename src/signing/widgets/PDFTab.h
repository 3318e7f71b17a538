#pragma once

#include <QWidget>

class PDFPage;
class QFileSystemModel;
class QTreeView;
class ZtfiApp;

// The tab "PDF": the PDF documents waiting to be signed (left) and the signed ones on the
// server (right); the work of the tab is PDFPage's.
class PDFTab : public QWidget {
    Q_OBJECT
public:
    explicit PDFTab(ZtfiApp& app, QWidget* parent = nullptr);

    // Entering the tab: both lists re-read.
    void enter();
    // The two views rooted at the configured server folders (read after the configuration).
    void rootFileLists();

private:
    ZtfiApp& app_;
    PDFPage* page_ = nullptr;
    QTreeView* slvPDF = nullptr;
    QTreeView* slvSIG = nullptr;
    QFileSystemModel* pdfFiles = nullptr;
    QFileSystemModel* sigFiles = nullptr;
};
