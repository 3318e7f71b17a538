#include "state/ZtfiApp.h"

#include "core/ProgramFolder.h"
#include "data/dataset/AuditTrail.h"
#include "data/engine/Connection.h"

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
