#pragma once

#include <QDate>
#include <QString>
#include <QTextStream>

#include <memory>

class ConsoleInteraction;
class Dataset;
class ReportRegister;
class ZtfiApp;
struct CliArguments;

// The commands of the headless tool on a started application object: the same services the
// window's buttons call. Results go to out (tab-separated lists under a header line of column
// names), messages to the Interaction (standard error).
class CliCommands {
public:
    enum Status { Done = 0, Failed = 1, WrongUsage = 2, ChoicePending = 3 };

    CliCommands(ZtfiApp& app, ConsoleInteraction& ui, QTextStream& out);

    // Runs the command; an error that escapes a service is shown as the window shows it and
    // yields Failed. passPhrase: the pass phrase of "sign" (read from standard input).
    Status run(const CliArguments& arguments, const QString& passPhrase = QString());

    // A dataset as tab-separated lines: the field names, then every row's displayed values
    // (tabs and line breaks inside a value become blanks).
    static void printDataset(Dataset& dataset, QTextStream& out);

private:
    Status select(const CliArguments& a, bool andGenerate);
    // The reporting instrument of an ISIN's pending row (else of its current row), as the edit
    // dialog of the override list chooses it; the ISINs still pending are printed after it.
    Status choose(const CliArguments& a);
    Status generate(const QDate& firstDay, const QDate& lastDay);
    Status sign(const CliArguments& a, const QString& passPhrase);
    Status listRegister(const CliArguments& a);
    Status answer(const CliArguments& a);
    Status regenerate(const CliArguments& a);
    Status deleteSelection(const CliArguments& a);
    std::unique_ptr<ReportRegister> reportRegister();
    // The register list positioned on the report ID SERIAL of the arguments; null (with the
    // message shown) when the register has no such row.
    std::unique_ptr<ReportRegister> locateReport(const CliArguments& a);
    // The ISINs whose rows wait for a choice of reporting instrument, one per line.
    void printPendingIsins();

    ZtfiApp& app_;
    ConsoleInteraction& ui_;
    QTextStream& out_;
};
