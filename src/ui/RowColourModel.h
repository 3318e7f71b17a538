#pragma once

#include <QColor>
#include <QIdentityProxyModel>

#include <functional>

// The rows of a grid's model with the text of whole rows coloured by a rule over the row
// number; an invalid colour leaves the row as the grid draws it.
class RowColourModel : public QIdentityProxyModel {
    Q_OBJECT

public:
    using Rule = std::function<QColor(int row)>;

    RowColourModel(QAbstractItemModel* source, Rule rule, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Rule rule_;
};
