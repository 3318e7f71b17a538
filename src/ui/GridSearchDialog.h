#pragma once

#include <QList>
#include <QString>

class Dataset;
class Field;
class TFwwDBGrid;

// The search dialog "Iskanje" of a grid: the field ("Iskanje po", every field by its display
// label, the field of the current column chosen), the value ("Iskana vrednost", with the field's edit mask), "Išči točno vrednost",
// and the buttons "1" (from the first record) and "..." (from the record after the current
// one), enabled once a value is typed. A found record becomes the grid's current one; without
// a match the message Ne najdem "value" (three dots after the value when not exact) is shown
// and the dataset is left on its last record.
namespace GridSearchDialog {

void run(TFwwDBGrid* grid);

// The first row from `from` on whose display text of field equals the value (exact) or starts
// with it ignoring case; -1 when none.
int findRow(const Dataset& dataset, const Field& field, const QString& value, bool exact, int from);
// The entry of a field in the list "Iskanje po": its display label, followed by its name in
// brackets when another field of the list has the same label.
QString entryText(const QList<Field*>& fields, const Field& field);
// The message of a search without a match.
QString notFoundMessage(const QString& value, bool exact);

}  // namespace GridSearchDialog
