#include "core/StandardButtonTexts.h"

#include <cstring>

namespace {

struct ButtonText {
    const char* english;
    const char* slovenian;
};

// The texts of QPlatformTheme::defaultStandardButtonText, mnemonics kept where Qt has one.
constexpr ButtonText kTexts[] = {
    {"OK", "V redu"},
    {"Save", "Shrani"},
    {"Save All", "Shrani vse"},
    {"Open", "Odpri"},
    {"&Yes", "&Da"},
    {"Yes to &All", "Da za &vse"},
    {"&No", "&Ne"},
    {"N&o to All", "N&e za vse"},
    {"Abort", "Prekini"},
    {"Retry", "Poskusi znova"},
    {"Ignore", "Prezri"},
    {"Close", "Zapri"},
    {"Cancel", "Prekliči"},
    {"Discard", "Zavrzi"},
    {"Help", "Pomoč"},
    {"Apply", "Uporabi"},
    {"Reset", "Ponastavi"},
    {"Restore Defaults", "Obnovi privzete"},
};

}  // namespace

QString StandardButtonTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!context || !sourceText || std::strcmp(context, "QPlatformTheme") != 0)
        return {};
    for (const ButtonText& text : kTexts) {
        if (std::strcmp(text.english, sourceText) == 0)
            return QString::fromUtf8(text.slovenian);
    }
    return {};
}
