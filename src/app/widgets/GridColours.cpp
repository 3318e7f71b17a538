#include "app/widgets/GridColours.h"

QColor gridColour(ReportRowColour colour)
{
    switch (colour) {
    case ReportRowColour::CancelledOnFirstDay:
        return QColor(255, 0, 0);
    case ReportRowColour::CancelledEarlier:
        return QColor(128, 128, 128);
    case ReportRowColour::SkippedInternalMatch:
        return QColor(255, 255, 0);
    case ReportRowColour::Normal:
        break;
    }
    return QColor();
}

QColor gridColour(OverrideList::RowColour colour)
{
    switch (colour) {
    case OverrideList::RowColour::Pending:
        return QColor(255, 0, 0);
    case OverrideList::RowColour::Replaced:
        return QColor(192, 192, 192);  // silver grey
    case OverrideList::RowColour::Normal:
        break;
    }
    return QColor();
}
