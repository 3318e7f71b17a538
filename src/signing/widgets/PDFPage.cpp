#include "signing/widgets/PDFPage.h"

#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "signing/FileLists.h"
#include "signing/PdfSigner.h"
#include "state/ZtfiApp.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

namespace {

// slvPDFAddFolder, slvSIGAddFolder: files only (no folders), whose extension is exactly the
// given one, case included.
void filterFiles(QFileSystemModel* files, const QString& extension)
{
    files->setFilter(QDir::Files | QDir::CaseSensitive);
    files->setNameFilterDisables(false);
    files->setNameFilters({QLatin1Char('*') + extension});
}

// Shows the files of a folder; a folder that does not exist shows nothing.
void showFolder(QTreeView* view, QFileSystemModel* files, const QString& folder)
{
    const QModelIndex root = files->setRootPath(ProgramFolder::join(folder, QString()));
    view->setModel(root.isValid() ? files : nullptr);
    if (root.isValid())
        view->setRootIndex(root);
}

}  // namespace

PDFPage::PDFPage(const Controls& controls, ZtfiApp& app, QObject* parent)
    : QObject(parent), c_(controls), app_(app)
{
    filterFiles(c_.pdfFiles, QStringLiteral(".pdf"));
    filterFiles(c_.sigFiles, QStringLiteral(".sig"));
    connect(c_.bPDFRefreshPDF, &QPushButton::clicked, this, &PDFPage::bPDFRefreshPDFClick);
    connect(c_.bPDFRefreshSIG, &QPushButton::clicked, this, &PDFPage::bPDFRefreshSIGClick);
    connect(c_.bSignPDG, &QPushButton::clicked, this, &PDFPage::bSignPDGClick);
}

void PDFPage::tabEnter()
{
    bPDFRefreshPDFClick();
    bPDFRefreshSIGClick();
}

void PDFPage::bPDFRefreshPDFClick()
{
    const PdfSigner signer(app_.config(), app_.programFolder(), app_.ui());
    c_.lbPDFPDF->clear();
    c_.lbPDFPDF->addItems(FileLists::LoadFilesByMask(signer.pdfFolder(), QStringLiteral("*.PDF")));
}

void PDFPage::bPDFRefreshSIGClick()
{
    showFolder(c_.slvPDF, c_.pdfFiles, app_.config().PDF_Server);
    showFolder(c_.slvSIG, c_.sigFiles, app_.config().PDF_SIGServer);
}

void PDFPage::bSignPDGClick()
{
    c_.bSignPDG->setEnabled(false);
    QStringList selected;
    for (int row = 0; row < c_.lbPDFPDF->count(); ++row) {
        if (c_.lbPDFPDF->item(row)->isSelected())
            selected << c_.lbPDFPDF->item(row)->text();
    }
    if (!selected.isEmpty()) {
        PdfSigner signer(app_.config(), app_.programFolder(), app_.ui());
        signer.bSignPDGClick(selected);
        bPDFRefreshSIGClick();
        bPDFRefreshPDFClick();
    }
    c_.bSignPDG->setEnabled(true);
    QApplication::processEvents();
}
