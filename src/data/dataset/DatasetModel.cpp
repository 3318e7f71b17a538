#include "data/dataset/DatasetModel.h"

#include "data/dataset/Dataset.h"

DatasetModel::DatasetModel(Dataset* dataset, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset)
{
    if (dataset_) {
        connect(dataset_, &Dataset::datasetChanged, this, &DatasetModel::reload);
        connect(dataset_, &Dataset::fieldsChanged, this, &DatasetModel::reload);
        connect(dataset_, &QObject::destroyed, this, &DatasetModel::reload);
    }
    collectColumns();
}

void DatasetModel::collectColumns()
{
    columns_.clear();
    rows_ = 0;
    if (!dataset_)
        return;
    for (Field* f : dataset_->fields()) {
        if (f->visible())
            columns_.append(f);
    }
    rows_ = dataset_->isActive() ? dataset_->recordCount() : 0;
}

void DatasetModel::reload()
{
    beginResetModel();
    collectColumns();
    endResetModel();
}

Field* DatasetModel::fieldAt(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_[column] : nullptr;
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    const Field* field = fieldAt(index.column());
    if (!dataset_ || !field || index.row() < 0 || index.row() >= rows_)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return field->displayTextOf(dataset_->valueAt(index.row(), *field));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(field->alignment() | Qt::AlignVCenter);
    case ValueRole:
        return dataset_->valueAt(index.row(), *field);
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const Field* field = fieldAt(section);
    return field ? QVariant(field->displayLabel()) : QVariant();
}
