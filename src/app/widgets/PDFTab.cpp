#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include <QBoxLayout>
#include <QLabel>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
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

// PDF documents: those waiting to be signed (left) and the signed ones on the server (right).
void TfZTFI::buildPDFTab()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    pcMain->addTab(TabSheet1, QStringLiteral("PDF"));

    lbPDFPDF = new QListWidget(TabSheet1);
    lbPDFPDF->setObjectName(QStringLiteral("lbPDFPDF"));
    lbPDFPDF->setSelectionMode(QAbstractItemView::ExtendedSelection);
    bPDFRefreshPDF = button(TabSheet1, "bPDFRefreshPDF", QStringLiteral("Osveži"));
    bSignPDG = button(TabSheet1, "bSignPDG", QStringLiteral("Podpis in kriptiranje poročila"),
                      QStringLiteral("Podpis"));
    bPDFRefreshSIG = button(TabSheet1, "bPDFRefreshSIG", QStringLiteral("Osveži"));

    pcPDFSIG = new QTabWidget(TabSheet1);
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
    left->addWidget(label(TabSheet1, "lblPDFPDF", QStringLiteral("PDF Poročila")));
    left->addWidget(lbPDFPDF, 1);
    left->addLayout(leftButtons);

    auto* rightTop = new QHBoxLayout;
    rightTop->addWidget(label(TabSheet1, "lblPodpisaniPDF", QStringLiteral("Podpisani PDF-ji")));
    rightTop->addWidget(bPDFRefreshSIG);
    rightTop->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addLayout(rightTop);
    right->addWidget(pcPDFSIG, 1);

    auto* page = new QHBoxLayout(TabSheet1);
    page->addLayout(left, 2);
    page->addLayout(right, 3);
}
