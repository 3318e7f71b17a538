#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

class Dataset;
class Field;

// The rows of a dataset as a table for views: one column per visible field in field order,
// headed by its display label, cells showing the field's display text. Follows the dataset:
// re-read on every dataset change (open, close, post, delete, new filter or order, field
// layout); empty while the dataset is closed.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Roles beyond Qt's: the stored value of a cell.
    enum Role { ValueRole = Qt::UserRole + 1 };

    explicit DatasetModel(Dataset* dataset, QObject* parent = nullptr);

    Dataset* dataset() const { return dataset_; }
    // The field shown in a column; nullptr outside the columns.
    Field* fieldAt(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void reload();
    void collectColumns();

    QPointer<Dataset> dataset_;
    QList<Field*> columns_;
    int rows_ = 0;
};
