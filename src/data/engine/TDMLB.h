#pragma once

#include "core/StartupParameters.h"

#include <QString>
#include <QStringList>

// The data module: takes the start-up parameters and prepares the one database connection
// (the connection itself is opened by the data layer on first use).
class TDMLB {
public:
    // arguments: the command line without the program name.
    TDMLB(const QStringList& arguments, const QString& programFolder);

    const StartupParameters& params() const { return params_; }
    // Exactly two lines, "USER NAME=" + user and "PASSWORD=" + password (empty values when
    // the parameters were not taken).
    const QStringList& connectionParams() const { return connectionParams_; }
    // The upper-cased alias.
    const QString& databaseName() const { return databaseName_; }
    // The engine's scratch folder and the home of ZTFI.ini: the program folder.
    const QString& programFolder() const { return programFolder_; }

private:
    StartupParameters params_;
    QStringList connectionParams_;
    QString databaseName_;
    QString programFolder_;
};
