#pragma once

#include <functional>

class Dataset;
class Field;

// The change handlers of a data source that a table also raises for its own changes (the
// table's DefSource): a field change with the field, a row, dataset, scroll or layout change
// without one, and the update of a row about to be posted.
struct DataSource {
    bool enabled = true;
    std::function<void(Dataset& dataset, Field* field)> onDataChange;
    std::function<void(Dataset& dataset)> onUpdateData;
};
