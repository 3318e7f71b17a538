#pragma once

#include <QString>

// Checks of a text that enters the system (from a workbook, a dialog or a command line) before
// it is stored into a text column of a table.
namespace EnteredText {

// True when the text holds a control character (U+0000 to U+001F, U+007F to U+009F, line breaks
// and tabs among them): no column of the system's tables holds one, and an XML file cannot
// carry most of them.
bool hasControlCharacter(const QString& text);

// Why the text does not fit a text column of size characters, for the user, or empty when it
// fits: "<label>: vrednost vsebuje nedovoljen kontrolni znak." or "<label>: vrednost je daljša
// od dovoljene (dolžina <n>, največ <size>).".
QString fault(const QString& label, const QString& text, int size);

}  // namespace EnteredText
