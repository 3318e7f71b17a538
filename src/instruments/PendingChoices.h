#pragma once

#include <QStringList>

class Connection;

// The ISINs whose override rows wait for a choice of reporting instrument, in order.
QStringList isinsAwaitingChoice(Connection& connection);
