#include "app/StartupRefusal.h"

std::optional<QString> startupRefusal(const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return std::nullopt;
    return QStringLiteral("Napačen zagon! ZTFI poročanje morate zagnati iz OXU-ja (Meni:Obdelave\\ZTFI Poročanje)!");
}
