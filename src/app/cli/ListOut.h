#pragma once

#include <QString>

class Dataset;
struct CliRun;

// "--out FILE" of the listing commands: instead of tab-separated text the list goes to FILE by
// its extension (.pdf the list report, .dbf, .db or .txt the export; ListFile.h). A listing
// command marks itself with CliCommand::listing and, when run.args.out is set, ends with
// writeListOut.

// Checked before any command runs: false (with the message shown) for an unknown extension.
bool listOutAccepted(CliRun& run);

// Writes the dataset to run.args.out; Done, or Failed with the reason shown (no file is left).
int writeListOut(CliRun& run, const Dataset& dataset, const QString& title);
