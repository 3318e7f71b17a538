#pragma once

#include "ntrs/NtrsBinding.h"

#include <QString>

class AtomicFile;

// An NTRS report document: version "1.0", encoding "utf-8", serialised with two-space
// indentation. Owns the libxml2 tree.
class NtrsDocument {
public:
    NtrsDocument();
    ~NtrsDocument();
    NtrsDocument(const NtrsDocument&) = delete;
    NtrsDocument& operator=(const NtrsDocument&) = delete;

    // The root binding; creates the root element NTRSRoot when the document has none.
    TXMLNTRSRoot root();
    // Writes the serialised text into file piece by piece, without holding it in memory. A
    // failure is left in file (its close() reports it).
    void writeTo(AtomicFile& file) const;

private:
    xmlDocPtr doc_;
};
