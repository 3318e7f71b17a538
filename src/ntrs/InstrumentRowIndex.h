#pragma once

#include <QHash>

class Dataset;
class Field;

// The rows of the instrument code list (qSifrantFinInstr) by internal code (IntIdent), read
// once when first asked: a report looks up the instrument of every transaction, and a walk
// over the whole list for each of them grows with the product of both counts. It finds the
// row that Dataset::locate would find, the first whose value equals the code.
class InstrumentRowIndex {
public:
    explicit InstrumentRowIndex(Dataset& codeList) : codeList_(codeList) {}

    Dataset& codeList() const { return codeList_; }

    // Moves the code list to the first row of the instrument; false (the current row stays)
    // when no row holds it.
    bool locate(qint64 internalCode);

private:
    void build();

    Dataset& codeList_;
    const Field* key_ = nullptr;
    QHash<double, int> rows_;
};
