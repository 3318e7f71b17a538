#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class WorkbookSheet;

// A column of the import list of manual transactions (table DPATVPIMP and the columns computed
// for display), in the order of the list.
struct ImportColumn {
    int index;
    const char* name;
    const char* label;  // the list's caption; empty for columns shown by name
    enum class Kind { Integer, Date, DateTime, Text, Number } kind;
    bool stored;        // a column of the table (else computed for display)
    int size = 0;       // the characters a text column holds

    // Positions in the list.
    static constexpr int kId = 0;
    static constexpr int kDay = 1;
    static constexpr int kTime = 2;
    static constexpr int kCurrency = 10;
    static constexpr int kCancellation = 18;
    static constexpr int kReference = 19;
    static constexpr int kInstrument = 20;
    static constexpr int kReport = 26;
    static constexpr int kCount = 27;
};

const std::vector<ImportColumn>& importColumns();

// The values of row n of the sheet in list order: the day of column 1, that day with the time of
// column 2, the columns 3 to 19 from the sheet columns of the same number (the currency upper-cased, an
// apostrophe that marks a text dropped); the identifier, the instrument, the computed columns
// and the report identifier empty. A value of the wrong kind throws ZtfiError ("EConvertError")
// whose message starts with the column's label ("Cena enote: ...").
std::vector<QVariant> importRowValues(const WorkbookSheet& sheet, int n);

// The audit content of a row in list order: for every column its value as text, "#|", its
// name, "#|".
QString importRowContent(const std::vector<QVariant>& row);
