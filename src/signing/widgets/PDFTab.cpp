#include "signing/widgets/PDFTab.h"

#include "core/Config.h"
#include "core/ProgramFolder.h"
#include "signing/widgets/PDFPage.h"
#include "state/ZtfiApp.h"
#include "ui/FormControls.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

using namespace FormControls;

namespace {

// A list of the files of a folder with their details, sorted by name (rooted later).
QTreeView* fileList(QWidget* parent, const char* objectName)
{
    auto* view = new QTreeView(parent);
    view->setObjectName(QLatin1String(objectName));
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    return view;
}

QFileSystemModel* filesOnly(QObject* owner)
{
    auto* files = new QFileSystemModel(owner);
    files->setFilter(QDir::Files);
    return files;
}

}  // namespace

PDFTab::PDFTab(ZtfiApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("TabSheet1"));

    auto* lbPDFPDF = new QListWidget(this);
    lbPDFPDF->setObjectName(QStringLiteral("lbPDFPDF"));
    lbPDFPDF->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QPushButton* bPDFRefreshPDF = button(this, "bPDFRefreshPDF", QStringLiteral("Osveži"));
    QPushButton* bSignPDG = button(this, "bSignPDG", QStringLiteral("Podpis in kriptiranje poročila"),
                                   QStringLiteral("Podpis"));
    QPushButton* bPDFRefreshSIG = button(this, "bPDFRefreshSIG", QStringLiteral("Osveži"));

    auto* pcPDFSIG = new QTabWidget(this);
    pcPDFSIG->setObjectName(QStringLiteral("pcPDFSIG"));
    slvPDF = fileList(pcPDFSIG, "slvPDF");
    slvSIG = fileList(pcPDFSIG, "slvSIG");
    pcPDFSIG->addTab(slvPDF, QStringLiteral("PDF"));
    pcPDFSIG->addTab(slvSIG, QStringLiteral("SIG"));
    pcPDFSIG->setCurrentWidget(slvSIG);
    pdfFiles = filesOnly(this);
    sigFiles = filesOnly(this);

    auto* leftButtons = new QHBoxLayout;
    leftButtons->addWidget(bPDFRefreshPDF);
    leftButtons->addWidget(bSignPDG);
    leftButtons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(label(this, "lblPDFPDF", QStringLiteral("PDF Poročila")));
    left->addWidget(lbPDFPDF, 1);
    left->addLayout(leftButtons);

    auto* rightTop = new QHBoxLayout;
    rightTop->addWidget(label(this, "lblPodpisaniPDF", QStringLiteral("Podpisani PDF-ji")));
    rightTop->addWidget(bPDFRefreshSIG);
    rightTop->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addLayout(rightTop);
    right->addWidget(pcPDFSIG, 1);

    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 2);
    page->addLayout(right, 3);

    page_ = new PDFPage({lbPDFPDF, bPDFRefreshPDF, bSignPDG, bPDFRefreshSIG, slvPDF, slvSIG, pdfFiles, sigFiles},
                        app, this);
}

void PDFTab::enter()
{
    page_->tabEnter();
}

void PDFTab::rootFileLists()
{
    const auto root = [](QTreeView* view, QFileSystemModel* files, const QString& folder) {
        const QModelIndex rootIndex = files->setRootPath(ProgramFolder::join(folder, QString()));
        // A folder that does not exist lists nothing rather than the whole file system.
        view->setModel(rootIndex.isValid() ? files : nullptr);
        if (rootIndex.isValid())
            view->setRootIndex(rootIndex);
    };
    root(slvPDF, pdfFiles, app_.config().PDF_Server);
    root(slvSIG, sigFiles, app_.config().PDF_SIGServer);
}
