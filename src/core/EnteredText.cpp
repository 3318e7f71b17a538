#include "core/EnteredText.h"

namespace EnteredText {

bool hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return true;
    }
    return false;
}

QString fault(const QString& label, const QString& text, int size)
{
    if (hasControlCharacter(text))
        return label + QStringLiteral(": vrednost vsebuje nedovoljen kontrolni znak.");
    if (text.size() > size)
        return label + QStringLiteral(": vrednost je daljša od dovoljene (dolžina %1, največ %2).").arg(text.size()).arg(size);
    return QString();
}

}  // namespace EnteredText
