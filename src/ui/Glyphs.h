#pragma once

#include <QPixmap>
#include <QString>

// The glyphs of the tool and side buttons, drawn for this program and named by their resource
// names ("MSB_ZOOM", "MSB_CALENDAR", ...). An unknown name gives a null pixmap.
namespace Glyphs {

QPixmap pixmap(const QString& name);

}  // namespace Glyphs
