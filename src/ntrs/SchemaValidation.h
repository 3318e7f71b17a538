#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The first fault that the validating parser found in a document.
struct ValidationFault {
    QString location;  // the faulty resource as the parser names it; empty for the document itself
    QString reason;    // the parser's text

    // The line the window lists: location, a comma, reason.
    QString line() const { return location + QLatin1Char(',') + reason; }
};

// Parses a serialised document again and validates it against the schema that its root names
// by xsi:noNamespaceSchemaLocation, a relative name taken in folder. Nothing is fetched from
// the network. Returns the first fault (of the document's syntax, of loading the schema, or of
// the validation), or nothing when the document is valid.
std::optional<ValidationFault> validateAgainstNamedSchema(const QByteArray& document, const QString& folder);
// The same for the document in the file at path, read from the disk.
std::optional<ValidationFault> validateFileAgainstNamedSchema(const QString& path, const QString& folder);
