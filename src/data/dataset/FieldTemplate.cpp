#include "data/dataset/FieldTemplate.h"

#include "data/dataset/Dataset.h"
#include "data/dataset/TDMTable.h"

namespace FieldTemplate {

namespace {

// Enables the controls again also when applying fails.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset& dataset) : dataset_(dataset) { dataset_.disableControls(); }
    ~ControlsDisabled() { dataset_.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset& dataset_;
};

}  // namespace

void apply(Dataset& dataset, const Dataset& templ)
{
    ControlsDisabled disabled(dataset);
    for (Field* field : dataset.fields()) {
        if (field->origin().isEmpty() && field->fieldNo() == 1) {
            field->setDisplayLabel(QLatin1Char('*') + field->name());
            continue;
        }
        const Field* source = templ.findField(field->name());
        if (!source)
            continue;
        field->setAlignment(source->alignment());
        field->setDisplayLabel(source->displayLabel());
        field->setDisplayWidth(source->displayWidth());
        field->setEditMask(source->editMask());
        field->setLookup(source->lookupDataset(), source->keyFields(), source->lookupKeyFields(),
                         source->lookupResultField());
        field->setOrigin(source->origin());
        if (isNumericType(field->type())) {
            field->setDisplayFormat(source->displayFormat());
            field->setEditFormat(source->editFormat());
        } else if (isDateTimeType(field->type())) {
            field->setDisplayFormat(source->displayFormat());
        }
        if (auto* lookupTable = qobject_cast<TDMTable*>(source->lookupDataset()))
            lookupTable->setLookupUseCount(lookupTable->LookupUseCount() + 1);
    }
}

void release(Dataset& dataset)
{
    for (Field* field : dataset.fields()) {
        auto* lookupTable = qobject_cast<TDMTable*>(field->lookupDataset());
        if (field->fieldNo() == 1 || !lookupTable)
            continue;
        const int uses = lookupTable->LookupUseCount() - 1;
        lookupTable->setLookupUseCount(uses > 0 ? uses : 0);
        if (uses <= 0 && lookupTable->isActive())
            lookupTable->close();
        field->setLookup(nullptr, QString(), QString(), QString());
    }
}

}  // namespace FieldTemplate
