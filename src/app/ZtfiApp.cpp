#include "app/ZtfiApp.h"

#include "app/ProgramFolder.h"

ZtfiApp::ZtfiApp(const QStringList& arguments, Interaction& ui)
    : dm_(arguments, ProgramFolder::path()), ui_(ui)
{
}

void ZtfiApp::resetRunState()
{
    selection = SelectionContext();
    regeneration = RegenerationState();
}

void ZtfiApp::readConfiguration()
{
    config_ = Config::read(programFolder(), ui_);
}
