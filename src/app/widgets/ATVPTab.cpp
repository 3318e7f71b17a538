#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace FormControls;

namespace {

// A list under its label with its refresh button below.
QVBoxLayout* listColumn(QLabel* caption, QListWidget* list, QPushButton* refresh)
{
    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addWidget(list, 1);
    column->addWidget(refresh, 0, Qt::AlignLeft);
    return column;
}

}  // namespace

// Report files: those waiting to be signed, the signed ones, the signing action and the error
// list of a report that failed its validation (hidden until then).
void TfZTFI::buildATVPTab()
{
    tsATVP = new QWidget;
    tsATVP->setObjectName(QStringLiteral("tsATVP"));
    pcMain->addTab(tsATVP, QStringLiteral("ATVP"));

    lbNeposlana = new QListWidget(tsATVP);
    lbNeposlana->setObjectName(QStringLiteral("lbNeposlana"));
    lbNeposlana->setSelectionMode(QAbstractItemView::SingleSelection);
    bbNeposlano = button(tsATVP, "bbNeposlano", QStringLiteral("Osveži"));
    clbPoslana = new QListWidget(tsATVP);
    clbPoslana->setObjectName(QStringLiteral("clbPoslana"));
    bbPodpisana = button(tsATVP, "bbPodpisana", QStringLiteral("Osveži"));
    bSign = button(tsATVP, "bSign", QStringLiteral("Podpis in kriptiranje poročila"),
                   QStringLiteral("Podpis"));

    Label1 = label(tsATVP, "Label1", QStringLiteral("Spisek napak za"));
    eXMLFile = new QLineEdit(tsATVP);
    eXMLFile->setObjectName(QStringLiteral("eXMLFile"));
    eXMLFile->setReadOnly(true);
    mXMLNapake = new QPlainTextEdit(tsATVP);
    mXMLNapake->setObjectName(QStringLiteral("mXMLNapake"));
    mXMLNapake->setReadOnly(true);
    Label1->hide();
    eXMLFile->hide();
    mXMLNapake->hide();

    auto* files = new QHBoxLayout;
    files->addLayout(
        listColumn(label(tsATVP, "lblNeposlana", QStringLiteral("XML Poročila")), lbNeposlana, bbNeposlano),
        1);
    files->addLayout(listColumn(label(tsATVP, "lblPoslana", QStringLiteral("Podpisana in poslana poročila")),
                                clbPoslana, bbPodpisana),
                     1);
    auto* sign = new QVBoxLayout;
    sign->addSpacing(Label1->sizeHint().height());
    sign->addWidget(bSign);
    sign->addStretch(1);
    files->addLayout(sign);

    auto* errorFile = new QHBoxLayout;
    errorFile->addWidget(Label1);
    errorFile->addWidget(eXMLFile, 1);

    auto* page = new QVBoxLayout(tsATVP);
    page->addLayout(files, 1);
    page->addLayout(errorFile);
    page->addWidget(mXMLNapake, 1);
}
