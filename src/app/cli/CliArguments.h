#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of the headless tool:
//   ztfi-cli ALIAS USER PASSWORD AUDITUSER COMMAND [ARGS]
// The first four are the start-up parameters of the workstation; the command names one step of
// the daily job with its arguments.
struct CliArguments {
    QStringList startup;   // ALIAS USER PASSWORD AUDITUSER
    QString command;
    QStringList args;
    QStringList flags;     // the options given ("--ignore-unknown"), any of the command's own
    QString out;           // FILE of "--out FILE" after the arguments of a listing command
    bool progress = false; // "--progress", among or after the arguments of any command

    // Parses the arguments (without the program name); nullopt with error set when the command
    // is unknown, an option is not one of the command's, its argument count is wrong, or a date is not "dd.mm.yyyy" or a number is not
    // one (wrong usage).
    static std::optional<CliArguments> parse(const QStringList& arguments, QString& error);
    static QString usage();

    // Arguments of the commands, valid after parse.
    QDate date(int index) const;
    qint64 number(int index) const;
    bool hasFlag(const QString& flag) const { return flags.contains(flag); }
};
