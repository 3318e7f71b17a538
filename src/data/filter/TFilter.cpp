#include "data/filter/TFilter.h"

#include "data/engine/Connection.h"

namespace {

FilterField filterField(const Field& field)
{
    return FilterField{field.name(), field.type(), field.size()};
}

// The fields of the table, as the filter lines look them up.
class TableFields : public FilterFieldSource {
public:
    explicit TableFields(const Dataset& dataset) : dataset_(dataset) {}

    std::optional<FilterField> findFilterField(const QString& name) const override
    {
        if (const Field* field = dataset_.findField(name))
            return filterField(*field);
        return std::nullopt;
    }

private:
    const Dataset& dataset_;
};

// Keeps attached views from being notified until the scope ends, also by an exception.
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

TFilter::TFilter(Connection& connection, const QString& name, QObject* parent)
    : TDMTable(connection, name, parent)
{
}

void TFilter::loaded()
{
    QString table = tableName().toUpper();
    const qsizetype extension = table.indexOf(QLatin1String(".DB"));
    if (extension >= 0)
        table.truncate(extension);
    setTableName(table);
}

void TFilter::setVarFilter(const QStringList& lines)
{
    lines_.setLines(lines);
    UpdateFilter();
}

void TFilter::setParams(const FilterParams& values)
{
    lines_.params().assignValues(values);
    UpdateFilter();
}

void TFilter::setIndexFieldNames(const QString& names)
{
    TDMTable::setIndexFieldNames(isActive() ? CompleteIndexFieldNames(names) : names);
}

void TFilter::setDelayUpdate(bool on)
{
    if (on) {
        if (++delayDepth_ == 1)
            disableControls();
        return;
    }
    // Ending a delay that is not in force still applies the filter.
    const bool delayed = delayDepth_ > 0;
    if (delayed && --delayDepth_ > 0)
        return;
    try {
        UpdateFilter();
    } catch (...) {
        if (delayed)
            enableControls();
        throw;
    }
    if (delayed)
        enableControls();
}

void TFilter::UpdateFilter()
{
    if (!lines_.isParsed())
        lines_.parse(TableFields(*this));
    if (delayDepth_ > 0 || !isActive())
        return;
    if (closeOnFilterChange_) {
        if (closeState_ == 0) {
            closeState_ = 1;
        } else {
            if (closeState_ == 1) {
                closeState_ = 2;
                close();
            }
            return;
        }
    }

    ControlsDisabled disabled(*this);
    if (params().weight() < selectabilityTreshold_) {
        SetEmptyResult();
        return;
    }
    const BuiltFilter built = buildFilterText(lines_.conditions(), params(),
                                              {connection().isSqlServer(), caseInsensitiveFilter_});
    const QString text = built.text();
    if (text.isEmpty())
        SetEmptyResult();
    else
        installFilter(text, built.caseInsensitive || filterCaseInsensitive());
}

void TFilter::SetEmptyResult()
{
    QList<FilterField> keys;
    const QString keyNames = KeyFieldNames();
    if (!keyNames.isEmpty()) {
        for (const QString& name : keyNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (const Field* field = findField(name))
                keys.append(filterField(*field));
        }
    } else {
        for (const Field* field : fields()) {
            if (field->fieldNo() == 1) {
                keys.append(filterField(*field));
                break;
            }
        }
    }
    installFilter(emptyResultCondition(keys), false);
}

void TFilter::prepareCursor()
{
    TDMTable::prepareCursor();
    SetEmptyResult();
}

// With declared fields, the columns not declared become invisible fields, so lines, keys and
// the empty result can name every column of the table.
void TFilter::defineFields(const QList<EngineColumn>& columns)
{
    bool declared = false;
    for (const Field* field : fields())
        declared = declared || field->isDeclared();
    TDMTable::defineFields(columns);
    if (!declared)
        return;
    for (const EngineColumn& column : columns) {
        if (findField(column.name))
            continue;
        FieldDef def;
        def.name = column.name;
        def.type = column.type;
        def.size = column.size;
        def.visible = false;
        createField(def);
    }
}

void TFilter::installFilter(const QString& text, bool caseInsensitive)
{
    setFilterCaseInsensitive(caseInsensitive);
    setFilter(text);
    setFiltered(true);
}
