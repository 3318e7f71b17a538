#include "reporting/ReportRowColour.h"

ReportRowColour reportRowColour(const ReportRowColourInput& row, const QDate& firstDay)
{
    ReportRowColour colour = ReportRowColour::Normal;
    if (row.ISSTN == QLatin1String("D"))
        colour = row.Dan == firstDay ? ReportRowColour::CancelledOnFirstDay : ReportRowColour::CancelledEarlier;
    if (row.IDPSLTRP != 0 && row.SfDjv != QLatin1String("L") && row.NS_SFDJV == QLatin1String("L"))
        colour = ReportRowColour::SkippedInternalMatch;
    return colour;
}
