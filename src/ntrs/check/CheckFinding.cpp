#include "ntrs/check/CheckFinding.h"

QString CheckFinding::levelText() const
{
    return level == Level::Error ? QStringLiteral("Napaka") : QStringLiteral("Opozorilo");
}
