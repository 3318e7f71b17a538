#include "support/QtPrinters.h"

#include <cstdio>
#include <ostream>

void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}

void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (i > 0)
            *os << ", ";
        PrintTo(value.at(i), os);
    }
    *os << '}';
}

void PrintTo(const QByteArray& value, std::ostream* os)
{
    *os << '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            *os << c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            *os << escaped;
        }
    }
    *os << '"';
}
