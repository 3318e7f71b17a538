#pragma once

#include <QString>
#include <QStringList>

// The four positional start-up parameters handed over by the back-office menu.
struct StartupParameters {
    int count = 0;        // how many parameters the command line held
    QString alias;        // 1: database alias
    QString user;         // 2: database user
    QString password;     // 3: database password
    QString auditUser;    // 4: user written into audit rows and change stamps

    // Takes the parameters (program name excluded): 1..3 only when more than two are given,
    // 4 only when exactly four are given.
    static StartupParameters fromArguments(const QStringList& arguments);
};

// The parameters of the command line (argv without the program name) exactly as given. Read
// before the application object exists: QApplication takes its own options (-style X, -reverse,
// -platform X, ...) out of argv, and with them parameters of the back-office menu.
QStringList commandLineParameters(int argc, const char* const* argv);
