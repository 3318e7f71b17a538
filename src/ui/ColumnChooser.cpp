#include "ui/ColumnChooser.h"

#include "data/dataset/Dataset.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

bool ColumnChooser::choose(QWidget* parent, Dataset& dataset)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ColumnChooser"));
    dialog.setWindowTitle(QStringLiteral("Stolpci"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lbColumns"));
    list->setDragDropMode(QAbstractItemView::InternalMove);
    QList<Field*> ordered;
    for (Field* f : dataset.fields())
        if (f->visible())
            ordered << f;
    for (Field* f : dataset.fields())
        if (!f->visible())
            ordered << f;
    for (Field* f : ordered) {
        auto* item = new QListWidgetItem(f->displayLabel(), list);
        item->setData(Qt::UserRole, f->name());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setCheckState(f->visible() ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QList<Field*> shown, hidden;
    for (int i = 0; i < list->count(); ++i) {
        Field* f = dataset.findField(list->item(i)->data(Qt::UserRole).toString());
        if (f)
            (list->item(i)->checkState() == Qt::Checked ? shown : hidden) << f;
    }
    int position = 0;
    for (Field* f : shown) {
        f->setVisible(true);
        dataset.setFieldIndex(*f, position++);
    }
    for (Field* f : hidden) {
        f->setVisible(false);
        dataset.setFieldIndex(*f, position++);
    }
    return true;
}
