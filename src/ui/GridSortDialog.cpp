#include "ui/GridSortDialog.h"

#include "data/dataset/TDMTable.h"
#include "ui/TFwwDBGrid.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

QString indexText(const TDMTable& table, const QStringList& fields)
{
    QStringList labels;
    for (const QString& name : fields) {
        const Field* field = table.findField(name);
        const QString label = field ? field->displayLabel() : name;
        labels << (label == QLatin1String("*") ? QStringLiteral("*") + name : label);
    }
    return labels.join(QStringLiteral(", "));
}

}  // namespace

void GridSortDialog::run(TFwwDBGrid* grid)
{
    Dataset* dataset = grid->dataset();
    auto* table = qobject_cast<TDMTable*>(dataset);
    QList<QStringList> choices;  // the sort fields of each line over a table
    QDialog dialog(grid);
    dialog.setObjectName(QStringLiteral("Sort"));
    dialog.setWindowTitle(QStringLiteral("Sort"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lbSort"));
    if (table) {
        for (const TableIndex& index : table->indexDefs()) {
            list->addItem(indexText(*table, index.fields));
            if (index.fields.join(u';').compare(table->IndexFieldNames(), Qt::CaseInsensitive) == 0)
                list->setCurrentRow(list->count() - 1);
            choices << index.fields;
        }
    }
    for (const TFwwDBGrid::SortItem& item : grid->sortInfo()) {
        list->addItem(item.displayText);
        QStringList columns;
        for (const TFwwDBGrid::SortColumn& c : item.columns)
            columns << c.columnName;
        choices << columns;
    }
    if (!table && grid->currentSortItem() >= 0)
        list->setCurrentRow(grid->currentSortItem());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
        return;
    const int chosen = list->currentRow();
    if (table)
        table->setIndexFieldNames(choices.at(chosen).join(u';'));
    else
        grid->selectSortItem(chosen);
}
