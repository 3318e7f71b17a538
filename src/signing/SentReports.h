#pragma once

#include <QStringList>

class Connection;

// The signatures of the reports that the register records as sent.
namespace SentReports {

// For every register row with a send date (newest year first, highest serial first): its
// report file name with the extension changed to ".sig".
QStringList signatureNames(Connection& connection);

}  // namespace SentReports
