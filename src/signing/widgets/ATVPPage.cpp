#include "signing/widgets/ATVPPage.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/TDMTable.h"
#include "signing/FileLists.h"
#include "signing/RegisterTable.h"
#include "signing/ReportSigner.h"
#include "signing/SentReports.h"
#include "signing/WaitingReports.h"
#include "state/ZtfiApp.h"

#include <QListWidget>
#include <QPushButton>

ATVPPage::ATVPPage(const Controls& controls, ZtfiApp& app, QObject* parent)
    : QObject(parent), c_(controls), app_(app)
{
    connect(c_.bbNeposlano, &QPushButton::clicked, this, &ATVPPage::bbNeposlanoClick);
    connect(c_.bbPodpisana, &QPushButton::clicked, this, &ATVPPage::bbPodpisanaClick);
    connect(c_.bSign, &QPushButton::clicked, this, &ATVPPage::bSignClick);
}

ATVPPage::~ATVPPage() = default;

TDMTable& ATVPPage::registerTable()
{
    if (!registerTable_) {
        registerTable_ = RegisterTable::create(app_.connection());
        app_.auditTrail().attach(*registerTable_);
    }
    return *registerTable_;
}

void ATVPPage::tsATVPEnter()
{
    bbPodpisanaClick();
    bbNeposlanoClick();
}

QString ATVPPage::signatureFolder() const
{
    const QString& server = app_.config().SIGPath_Server;
    return server.isEmpty() ? app_.programFolder() : server;
}

void ATVPPage::bbNeposlanoClick()
{
    c_.lbNeposlana->clear();
    try {
        c_.lbNeposlana->addItems(WaitingReports::list(app_.connection(), app_.programFolder()));
    } catch (const ZtfiError& e) {
        app_.ui().error(e.message());
    }
}

void ATVPPage::bbPodpisanaClick()
{
    c_.clbPoslana->clear();
    const QStringList names = FileLists::LoadFilesByMask(signatureFolder(), QStringLiteral("*.sig"));
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, c_.clbPoslana);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    PreveriPoslana();
}

void ATVPPage::PreveriPoslana()
{
    QStringList sent;
    try {
        sent = SentReports::signatureNames(app_.connection(), app_.dialect());
    } catch (const ZtfiError& e) {
        app_.ui().error(e.message());
    }
    for (int row = 0; row < c_.clbPoslana->count(); ++row) {
        QListWidgetItem* item = c_.clbPoslana->item(row);
        if (sent.contains(item->text(), Qt::CaseInsensitive))
            item->setCheckState(Qt::Checked);
        item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
    }
}

void ATVPPage::bSignClick()
{
    c_.bSign->setEnabled(false);
    const QListWidgetItem* selected = c_.lbNeposlana->currentItem();
    const QString file = selected && selected->isSelected() ? selected->text() : QString();
    try {
        ReportSigner signer(app_.config(), app_.programFolder(), app_.ui(), app_.connection(),
                            registerTable());
        signer.bSignClick(file);
    } catch (const ZtfiError& e) {
        app_.ui().error(e.message());
    }
    bbPodpisanaClick();
    bbNeposlanoClick();
    c_.bSign->setEnabled(true);
}
