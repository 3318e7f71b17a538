#pragma once

#include <QList>
#include <QString>

#include <functional>

class ConsoleInteraction;
class QTextStream;
class ZtfiApp;
struct CliArguments;

// Exit statuses of the headless tool.
namespace CliStatus {
enum Value : int { Done = 0, Failed = 1, WrongUsage = 2, ChoicePending = 3 };
}

// The kinds of positional arguments a command takes: Field is any text, an empty one included.
enum class CliArg { Date, Number, Text, Field };

// What a running command works on: the started application object, the messages (standard
// error), the results (standard output) and its parsed arguments.
struct CliRun {
    ZtfiApp& app;
    ConsoleInteraction& ui;
    QTextStream& out;
    const CliArguments& args;
    const QString& passPhrase;   // read from standard input for the commands that need one
};

// One command of the tool: its name, its arguments, its line in the usage and what it does.
struct CliCommand {
    QString name;
    QList<CliArg> args;
    // The arguments as the usage names them, e.g. "FROM TO"; the options the command accepts
    // are written in it in brackets: "DAY FILE [--ignore-unknown]".
    QString synopsis;
    QString summary;       // what it does, one line of the usage
    bool needsPassPhrase = false;
    std::function<int(CliRun&)> run;
    // A listing command: takes "--out FILE" after its arguments (ListOut.h).
    bool listing = false;
};
