#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <iosfwd>

// Readable Qt values in test failures (found by argument-dependent lookup).
void PrintTo(const QString& value, std::ostream* os);
void PrintTo(const QStringList& value, std::ostream* os);
// Printable ASCII as is, every other byte as \xNN.
void PrintTo(const QByteArray& value, std::ostream* os);
