#pragma once

class Connection;
class Dataset;
class QTextStream;

// A dataset as tab-separated lines: the field names, then every row's displayed values (tabs and
// line breaks inside a value become blanks).
void printDataset(Dataset& dataset, QTextStream& out);

// The ISINs whose override rows wait for a choice of reporting instrument, one per line.
void printPendingIsins(Connection& connection, QTextStream& out);
