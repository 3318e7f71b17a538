#include "data/dataset/Dataset.h"

#include "core/Error.h"
#include "core/NullValue.h"
#include "data/engine/SqliteRows.h"


#include <algorithm>

namespace {

enum class ValueKind { Number, DateTime, Text, Other };

ValueKind kindOf(FieldType type)
{
    if (isNumericType(type))
        return ValueKind::Number;
    if (isDateTimeType(type))
        return ValueKind::DateTime;
    if (isTextType(type))
        return ValueKind::Text;
    return ValueKind::Other;
}

// Whether a stored value of the field equals a wanted value already converted to its type.
bool sameValue(const Field& field, const QVariant& stored, const QVariant& wanted,
               Qt::CaseSensitivity textCase)
{
    if (isNullValue(wanted) || isNullValue(stored))
        return isNullValue(wanted) && isNullValue(stored);
    switch (kindOf(field.type())) {
    case ValueKind::Number:
        return stored.toDouble() == wanted.toDouble();
    case ValueKind::DateTime:
        return Field::convert(field.type(), stored) == wanted;
    case ValueKind::Text:
        return stored.toString().compare(wanted.toString(), textCase) == 0;
    case ValueKind::Other:
        break;
    }
    return stored == wanted;
}

// Restores the dataset's state when a calculation ends, also by an exception.
class StateGuard {
public:
    StateGuard(Dataset::State& state, Dataset::State temporary) : state_(state), saved_(state)
    {
        state_ = temporary;
    }
    ~StateGuard() { state_ = saved_; }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    Dataset::State& state_;
    Dataset::State saved_;
};

}  // namespace

Dataset::Dataset(Connection& connection, const QString& name, QObject* parent)
    : QObject(parent), connection_(&connection), name_(name)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

Field& Dataset::addField(const FieldDef& def)
{
    if (isActive())
        throw DatabaseError(name_ + QStringLiteral(": Cannot add field '%1' to an open dataset").arg(def.name));
    if (findField(def.name))
        throw DatabaseError(name_ + QStringLiteral(": Duplicate field name '%1'").arg(def.name));
    fields_.push_back(std::make_unique<Field>(*this, def, true));
    return *fields_.back();
}

Field& Dataset::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw DatabaseError(name_ + QStringLiteral(": Field index out of range: %1").arg(index));
    return *fields_[size_t(index)];
}

Field* Dataset::findField(const QString& name) const
{
    for (const auto& f : fields_) {
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

Field& Dataset::fieldByName(const QString& name) const
{
    Field* f = findField(name);
    if (!f)
        throw DatabaseError(name_ + QStringLiteral(": Field '%1' not found").arg(name));
    return *f;
}

QList<Field*> Dataset::fields() const
{
    QList<Field*> list;
    list.reserve(qsizetype(fields_.size()));
    for (const auto& f : fields_)
        list.append(f.get());
    return list;
}

void Dataset::setFieldIndex(Field& field, int index)
{
    const auto from = std::find_if(fields_.begin(), fields_.end(),
                                   [&](const auto& f) { return f.get() == &field; });
    if (from == fields_.end())
        return;
    std::unique_ptr<Field> moved = std::move(*from);
    fields_.erase(from);
    const size_t to = size_t(std::clamp(index, 0, int(fields_.size())));
    fields_.insert(fields_.begin() + qsizetype(to), std::move(moved));
    emit fieldsChanged();
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::open()
{
    if (isActive())
        return;
    try {
        openCursor();
    } catch (...) {
        rows_.clear();
        rowCount_ = 0;
        current_ = -1;
        bof_ = eof_ = true;
        state_ = State::Inactive;
        releaseCreatedFields();
        throw;
    }
    state_ = State::Browse;
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::close()
{
    if (!isActive())
        return;
    state_ = State::Inactive;
    editRow_.clear();
    rows_.clear();
    rowCount_ = 0;
    current_ = -1;
    bof_ = eof_ = true;
    try {
        closeCursor();
    } catch (...) {
        releaseCreatedFields();
        dataEvent(DataEvent::DatasetChange, nullptr);
        throw;
    }
    releaseCreatedFields();
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::releaseCreatedFields()
{
    const auto created = std::remove_if(fields_.begin(), fields_.end(),
                                        [](const auto& f) { return !f->isDeclared(); });
    const bool removing = created != fields_.end();
    fields_.erase(created, fields_.end());
    for (auto& f : fields_) {
        f->slot_ = -1;
        f->column_ = -1;
    }
    slotCount_ = 0;
    if (removing)
        emit fieldsChanged();
}

void Dataset::requireActive() const
{
    if (!isActive())
        throw DatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (state_ == State::Edit || state_ == State::Insert)
        throw DatabaseError(name_ + QStringLiteral(": A row is being edited; post or cancel it first"));
}

void Dataset::moveTo(int row)
{
    if (row == current_)
        return;
    current_ = row;
    dataEvent(DataEvent::Scroll, nullptr);
}

void Dataset::first()
{
    requireActive();
    moveTo(rowCount_ > 0 ? 0 : -1);
    bof_ = true;
    eof_ = rowCount_ == 0;
}

void Dataset::last()
{
    requireActive();
    moveTo(rowCount_ - 1);
    eof_ = true;
    bof_ = rowCount_ == 0;
}

void Dataset::next()
{
    requireActive();
    if (current_ + 1 < rowCount_) {
        moveTo(current_ + 1);
        bof_ = false;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

void Dataset::prior()
{
    requireActive();
    if (current_ > 0) {
        moveTo(current_ - 1);
        bof_ = false;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

void Dataset::setRecNo(int row)
{
    requireActive();
    if (row < 0 || row >= rowCount_)
        throw DatabaseError(name_ + QStringLiteral(": Row %1 out of range").arg(row));
    moveTo(row);
    bof_ = false;
    eof_ = false;
}

bool Dataset::locate(const QString& keyFields, const QVariantList& values,
                     Qt::CaseSensitivity textCase)
{
    requireActive();
    QList<const Field*> keys;
    for (const QString& name : keyFields.split(u';', Qt::SkipEmptyParts))
        keys.append(&fieldByName(name.trimmed()));
    if (keys.size() != values.size())
        throw DatabaseError(name_ + QStringLiteral(": Locate needs one value per key field"));

    QVariantList wanted;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        try {
            wanted.append(Field::convert(keys[i]->type(), values[i]));
        } catch (const ZtfiError&) {
            return false;  // a value the field cannot hold matches no row
        }
    }
    for (int row = 0; row < rowCount_; ++row) {
        bool match = true;
        for (qsizetype i = 0; i < keys.size() && match; ++i)
            match = sameValue(*keys[i], valueAt(row, *keys[i]), wanted[i], textCase);
        if (match) {
            moveTo(row);
            bof_ = false;
            eof_ = false;
            return true;
        }
    }
    return false;
}

QVariant Dataset::valueAt(int row, const Field& field) const
{
    if (field.slot_ < 0 || row < 0 || row >= rowCount_)
        return QVariant();
    return rows_[size_t(row) * size_t(slotCount_) + size_t(field.slot_)];
}

QVariant Dataset::currentValue(const Field& field) const
{
    if (field.slot_ < 0)
        return QVariant();
    switch (state_) {
    case State::Edit:
    case State::Insert:
        return editRow_[size_t(field.slot_)];
    case State::Browse:
    case State::CalcFields:
        return valueAt(current_, field);
    case State::Inactive:
        break;
    }
    return QVariant();
}

void Dataset::setFieldValue(Field& field, const QVariant& value)
{
    switch (state_) {
    case State::CalcFields:
        if (!field.isCalculated())
            throw DatabaseError(name_ + QStringLiteral(": Field '%1' cannot be modified").arg(field.name()));
        rows_[size_t(current_) * size_t(slotCount_) + size_t(field.slot_)] = value;
        return;
    case State::Edit:
    case State::Insert:
        if (field.readOnly())
            throw DatabaseError(name_ + QStringLiteral(": Field '%1' cannot be modified").arg(field.name()));
        editRow_[size_t(field.slot_)] = value;
        dataEvent(DataEvent::FieldChange, &field);
        return;
    case State::Browse:
    case State::Inactive:
        break;
    }
    throw DatabaseError(name_ + QStringLiteral(": Dataset not in edit or insert mode"));
}

void Dataset::disableControls()
{
    ++disableCount_;
}

void Dataset::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::dataEvent(DataEvent event, Field*)
{
    if (disableCount_ > 0)
        return;
    switch (event) {
    case DataEvent::DatasetChange:
    case DataEvent::RecordChange:
        emit datasetChanged();
        break;
    case DataEvent::Scroll:
        emit currentRowChanged(current_);
        break;
    case DataEvent::FieldChange:
    case DataEvent::UpdateRecord:
        break;
    }
}

void Dataset::defineFields(const QList<EngineColumn>& columns)
{
    const bool declared = std::any_of(fields_.begin(), fields_.end(),
                                      [](const auto& f) { return f->isDeclared(); });
    if (!declared) {
        for (const EngineColumn& column : columns) {
            FieldDef def;
            def.name = column.name;
            def.type = column.type;
            def.size = column.size;
            createField(def);
        }
        return;
    }
    adaptDeclaredFields(columns);
}

void Dataset::adaptDeclaredFields(const QList<EngineColumn>& columns)
{
    for (const EngineColumn& column : columns) {
        Field* f = findField(column.name);
        if (!f || f->isCalculated() || !column.declaredType || f->type() == column.type)
            continue;
        if (column.type == FieldType::Unknown || kindOf(f->type()) != kindOf(column.type)
            || kindOf(column.type) == ValueKind::Other)
            continue;
        f->def_.type = column.type;
        if (isTextType(column.type))
            f->def_.size = column.size;
    }
}

Field& Dataset::createField(const FieldDef& def)
{
    fields_.push_back(std::make_unique<Field>(*this, def, false));
    return *fields_.back();
}

void Dataset::bindFields(const QList<EngineColumn>& columns)
{
    releaseCreatedFields();
    defineFields(columns);
    int slot = 0;
    for (auto& f : fields_) {
        f->slot_ = slot++;
        f->column_ = -1;
        if (f->isCalculated())
            continue;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (columns[c].name.compare(f->name(), Qt::CaseInsensitive) == 0) {
                f->column_ = int(c);
                break;
            }
        }
        if (f->column_ < 0)
            throw DatabaseError(name_ + QStringLiteral(": Field '%1' not found").arg(f->name()));
    }
    slotCount_ = slot;
    emit fieldsChanged();
}

void Dataset::loadRows(QSqlQuery& query)
{
    struct SlotPlan {
        int column = -1;
        FieldType dateType = FieldType::Unknown;  // set for date and time fields
    };
    std::vector<SlotPlan> plan(static_cast<size_t>(slotCount_));
    for (const auto& f : fields_) {
        if (f->slot_ < 0)
            continue;
        plan[size_t(f->slot_)] = {f->column_, isDateTimeType(f->type()) ? f->type() : FieldType::Unknown};
    }

    rows_.clear();
    rowCount_ = 0;
    current_ = -1;
    SqliteRows rows(query);
    while (rows.next()) {
        for (const SlotPlan& p : plan) {
            if (p.column < 0) {
                rows_.emplace_back();
                continue;
            }
            QVariant v = rows.value(p.column);
            if (v.isNull())
                rows_.emplace_back();  // NULL is an invalid QVariant, whatever the driver's type
            else if (p.dateType != FieldType::Unknown)
                rows_.push_back(Field::convert(p.dateType, v));
            else
                rows_.push_back(std::move(v));
        }
        ++rowCount_;
    }

    if (onCalcFields) {
        for (int row = 0; row < rowCount_; ++row)
            calculateRow(row);
    }
    current_ = rowCount_ > 0 ? 0 : -1;
    bof_ = true;
    eof_ = rowCount_ == 0;
}

void Dataset::calculateRow(int row)
{
    if (!onCalcFields)
        return;
    const int saved = current_;
    current_ = row;
    for (const auto& f : fields_) {
        if (f->isCalculated())
            rows_[size_t(row) * size_t(slotCount_) + size_t(f->slot_)] = QVariant();
    }
    {
        StateGuard guard(state_, State::CalcFields);
        try {
            onCalcFields(*this);
        } catch (...) {
            current_ = saved;
            throw;
        }
    }
    current_ = saved;
}

void Dataset::beginRowEdit(bool inserting)
{
    editRow_.assign(size_t(slotCount_), QVariant());
    if (!inserting && current_ >= 0) {
        const size_t base = size_t(current_) * size_t(slotCount_);
        std::copy(rows_.begin() + qsizetype(base), rows_.begin() + qsizetype(base + size_t(slotCount_)),
                  editRow_.begin());
    }
    state_ = inserting ? State::Insert : State::Edit;
    dataEvent(DataEvent::RecordChange, nullptr);
}

QVariant Dataset::editedValue(const Field& field) const
{
    if (field.slot_ < 0 || editRow_.empty())
        return QVariant();
    return editRow_[size_t(field.slot_)];
}

void Dataset::storeEditedRow()
{
    if (state_ == State::Insert) {
        const int at = current_ < 0 ? 0 : current_;
        rows_.insert(rows_.begin() + qsizetype(size_t(at) * size_t(slotCount_)), editRow_.begin(),
                     editRow_.end());
        ++rowCount_;
        current_ = at;
    } else if (state_ == State::Edit && current_ >= 0) {
        std::copy(editRow_.begin(), editRow_.end(),
                  rows_.begin() + qsizetype(size_t(current_) * size_t(slotCount_)));
    }
    state_ = State::Browse;
    editRow_.clear();
    bof_ = false;
    eof_ = false;
    calculateRow(current_);
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::discardEditedRow()
{
    state_ = State::Browse;
    editRow_.clear();
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void Dataset::removeCurrentRow()
{
    if (current_ < 0)
        return;
    const auto begin = rows_.begin() + qsizetype(size_t(current_) * size_t(slotCount_));
    rows_.erase(begin, begin + slotCount_);
    --rowCount_;
    if (current_ >= rowCount_)
        current_ = rowCount_ - 1;
    bof_ = eof_ = rowCount_ == 0;
    dataEvent(DataEvent::DatasetChange, nullptr);
}
