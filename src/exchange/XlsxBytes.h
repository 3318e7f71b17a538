#pragma once

#include <QString>

#include <string_view>

// Values of an .xlsx part (cell references, style and string indexes, cell values, texts) read
// from the parser's UTF-8 bytes: the plain forms that spreadsheet programs write straight from the
// bytes, any other form as QString's toInt() and trimmed().toDouble() read it, with the same result.
int xlsxInteger(std::string_view text, bool& ok);
double xlsxNumber(std::string_view text, bool& ok);
// The UTF-8 bytes as a string; no bytes as a null string, as an element without text reads.
QString xlsxText(std::string_view text);
