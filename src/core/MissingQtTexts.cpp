#include "core/MissingQtTexts.h"

#include <cstring>

namespace {

struct MissingText {
    const char* context;
    const char* english;
    const char* slovenian;
};

// Mnemonics kept where Qt has one.
constexpr MissingText kMissingTexts[] = {
    {"QPlatformTheme", "OK", "V redu"},
    {"QPlatformTheme", "Save", "Shrani"},
    {"QPlatformTheme", "Save All", "Shrani vse"},
    {"QPlatformTheme", "Open", "Odpri"},
    {"QPlatformTheme", "&Yes", "&Da"},
    {"QPlatformTheme", "Yes to &All", "Da za &vse"},
    {"QPlatformTheme", "&No", "&Ne"},
    {"QPlatformTheme", "N&o to All", "N&e za vse"},
    {"QPlatformTheme", "Abort", "Prekini"},
    {"QPlatformTheme", "Retry", "Poskusi znova"},
    {"QPlatformTheme", "Ignore", "Prezri"},
    {"QPlatformTheme", "Close", "Zapri"},
    {"QPlatformTheme", "Cancel", "Prekliči"},
    {"QPlatformTheme", "Discard", "Zavrzi"},
    {"QPlatformTheme", "Help", "Pomoč"},
    {"QPlatformTheme", "Apply", "Uporabi"},
    {"QPlatformTheme", "Reset", "Ponastavi"},
    {"QPlatformTheme", "Restore Defaults", "Obnovi privzete"},
    {"QPrintDialog", "Write PDF file", "Zapis v datoteko PDF"},
};

}  // namespace

QString MissingQtTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!context || !sourceText)
        return {};
    for (const MissingText& text : kMissingTexts) {
        if (std::strcmp(text.context, context) == 0 && std::strcmp(text.english, sourceText) == 0)
            return QString::fromUtf8(text.slovenian);
    }
    return {};
}
