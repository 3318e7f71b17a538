#include "signing/widgets/ATVPTab.h"

#include "ntrs/ReportWriter.h"
#include "signing/widgets/ATVPPage.h"
#include "ui/FormControls.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

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

ATVPTab::ATVPTab(ZtfiApp& app, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsATVP"));

    auto* lbNeposlana = new QListWidget(this);
    lbNeposlana->setObjectName(QStringLiteral("lbNeposlana"));
    lbNeposlana->setSelectionMode(QAbstractItemView::SingleSelection);
    QPushButton* bbNeposlano = button(this, "bbNeposlano", QStringLiteral("Osveži"));
    auto* clbPoslana = new QListWidget(this);
    clbPoslana->setObjectName(QStringLiteral("clbPoslana"));
    QPushButton* bbPodpisana = button(this, "bbPodpisana", QStringLiteral("Osveži"));
    QPushButton* bSign = button(this, "bSign", QStringLiteral("Podpis in kriptiranje poročila"),
                                QStringLiteral("Podpis"));

    Label1 = label(this, "Label1", QStringLiteral("Spisek napak za"));
    eXMLFile = new QLineEdit(this);
    eXMLFile->setObjectName(QStringLiteral("eXMLFile"));
    eXMLFile->setReadOnly(true);
    mXMLNapake = new QPlainTextEdit(this);
    mXMLNapake->setObjectName(QStringLiteral("mXMLNapake"));
    mXMLNapake->setReadOnly(true);
    Label1->hide();
    eXMLFile->hide();
    mXMLNapake->hide();

    auto* files = new QHBoxLayout;
    files->addLayout(
        listColumn(label(this, "lblNeposlana", QStringLiteral("XML Poročila")), lbNeposlana, bbNeposlano),
        1);
    files->addLayout(listColumn(label(this, "lblPoslana", QStringLiteral("Podpisana in poslana poročila")),
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

    auto* page = new QVBoxLayout(this);
    page->addLayout(files, 1);
    page->addLayout(errorFile);
    page->addWidget(mXMLNapake, 1);

    page_ = new ATVPPage({lbNeposlana, bbNeposlano, clbPoslana, bbPodpisana, bSign}, app, this);
}

void ATVPTab::enter()
{
    page_->tsATVPEnter();
}

void ATVPTab::showReportOutcome(const ReportOutcome& outcome)
{
    if (outcome.showErrors()) {
        mXMLNapake->clear();
        mXMLNapake->appendPlainText(outcome.errorLine);
        eXMLFile->setText(outcome.filePath);
    }
    Label1->setVisible(outcome.showErrors());
    eXMLFile->setVisible(outcome.showErrors());
    mXMLNapake->setVisible(outcome.showErrors());
}
