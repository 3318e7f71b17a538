#include "app/ZtfiApp.h"

#include "app/AuditTrail.h"
#include "app/ProgramFolder.h"
#include "data/Connection.h"
#include "instruments/CodeList.h"
#include "instruments/OverrideList.h"
#include "reporting/ReportRows.h"
#include "reporting/ReportRowsStatement.h"

ZtfiApp::ZtfiApp(const QStringList& arguments, Interaction& ui)
    : dm_(arguments, ProgramFolder::path()), ui_(ui), errorLog_(dm_.programFolder(), false)
{
}

ZtfiApp::~ZtfiApp() = default;

void ZtfiApp::resetRunState()
{
    selection = SelectionContext();
    regeneration = RegenerationState();
}

void ZtfiApp::readConfiguration()
{
    config_ = Config::read(programFolder(), ui_);
    errorLog_ = ErrorLog(programFolder(), config_.debugOn());
}

void ZtfiApp::prepareSavedStatements()
{
    saved_ = prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), config_);
}

Connection& ZtfiApp::connection()
{
    if (!connection_)
        connection_ = Connection::open(dm_);
    return *connection_;
}

const AuditTrail& ZtfiApp::auditTrail()
{
    if (!auditTrail_)
        auditTrail_ = std::make_unique<AuditTrail>(connection(), dialect(), params().auditUser);
    return *auditTrail_;
}

ReportRows& ZtfiApp::reportRows()
{
    if (!reportRows_)
        reportRows_ = std::make_unique<ReportRows>(connection(), config_, selection);
    return *reportRows_;
}

CodeList& ZtfiApp::codeList()
{
    if (!codeList_)
        codeList_ = std::make_unique<CodeList>(connection());
    return *codeList_;
}

OverrideList& ZtfiApp::overrideList()
{
    if (!overrideList_)
        overrideList_ = std::make_unique<OverrideList>(connection());
    return *overrideList_;
}

void ZtfiApp::closeSelectionLists()
{
    if (reportRows_)
        reportRows_->close();
    if (codeList_)
        codeList_->close();
}
