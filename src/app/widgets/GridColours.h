#pragma once

#include "instruments/OverrideList.h"
#include "reporting/ReportRowColour.h"

#include <QColor>

// The text colours of the rows of the grids "Transakcije" and of the instrument overrides; an
// invalid colour for a row drawn as usual.
QColor gridColour(ReportRowColour colour);
QColor gridColour(OverrideList::RowColour colour);
