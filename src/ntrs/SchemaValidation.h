#pragma once

#include <QList>
#include <QString>
#include <optional>

// The first fault that the validating parser found in a document.
struct ValidationFault {
    QString location;  // the faulty resource as the parser names it; empty for the document itself
    QString reason;    // the parser's text

    // The line the window lists: location, a comma, reason.
    QString line() const { return location + QLatin1Char(',') + reason; }
};

// Reads the document in the file at path from the disk and validates it against the schema that
// its root names by xsi:noNamespaceSchemaLocation, a relative name taken in folder. Nothing is
// fetched from the network. The document streams through the parser with the schema attached,
// so the memory it takes does not grow with the document.
//
// Returns the first fault, or nothing when the document is valid. A fault of the document's
// syntax outranks every other; then a root that names no schema, a schema that does not load;
// then the first fault of the validation.
std::optional<ValidationFault> validateFileAgainstNamedSchema(const QString& path, const QString& folder);

// The bytes of a document as the validation reads them: from the first byte, and again from the
// first byte after rewind().
class DocumentBytes {
public:
    virtual ~DocumentBytes() = default;
    virtual void rewind() = 0;
    // The next bytes into data: size of them, fewer only at the end of the document; -1 when
    // they cannot be read.
    virtual int read(char* data, int size) = 0;
};

// As validateFileAgainstNamedSchema, of the document whose bytes document gives: the same
// verdict and fault as for a file of those bytes.
std::optional<ValidationFault> validateAgainstNamedSchema(DocumentBytes& document, const QString& folder);

// A fault of the validation within a record of a report (an item of one of the root's lists).
struct RecordFault {
    QString reference;  // the record's TransactionReferenceNumber or CancelledTransactionReferenceNumber;
                        // empty for an instrument of the code list and for a fault outside any record
    QString element;    // the element the parser names
    QString value;      // the value it names, if any
    QString reason;     // the parser's text
};

// Every fault of the validation of the document in the file at path against the schema in the
// file schemaPath, in the order of the document, each with the record it lies in. A document
// that is not well-formed or a schema that does not load throws ZtfiError with the first fault.
QList<RecordFault> recordFaults(const QString& path, const QString& schemaPath);
