#include "ui/RowColourModel.h"

RowColourModel::RowColourModel(QAbstractItemModel* source, Rule rule, QObject* parent)
    : QIdentityProxyModel(parent), rule_(std::move(rule))
{
    setSourceModel(source);
}

QVariant RowColourModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::ForegroundRole && index.isValid() && rule_) {
        const QColor colour = rule_(index.row());
        if (colour.isValid())
            return colour;
    }
    return QIdentityProxyModel::data(index, role);
}
