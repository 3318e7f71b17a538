#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The Windows-1250 (Central European) code page, converted with iconv.
namespace Windows1250 {

// Decodes the bytes; a byte the code page leaves undefined becomes U+FFFD.
QString decode(const QByteArray& bytes);
// Encodes the text; nullopt when a character has no place in the code page.
std::optional<QByteArray> encode(const QString& text);

}  // namespace Windows1250
