#pragma once

#include "ntrs/NtrsBinding.h"

#include <QByteArray>
#include <QString>

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
    // The serialised text.
    QByteArray xml() const;

private:
    xmlDocPtr doc_;
};
