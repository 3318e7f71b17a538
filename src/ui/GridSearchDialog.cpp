#include "ui/GridSearchDialog.h"

#include "data/dataset/Dataset.h"
#include "data/dataset/DatasetModel.h"
#include "ui/QtInteraction.h"
#include "ui/TFwwDBGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

int GridSearchDialog::findRow(const Dataset& dataset, const Field& field, const QString& value, bool exact, int from)
{
    const QString wanted = value.toUpper();
    for (int row = std::max(0, from); row < dataset.recordCount(); ++row) {
        const QString text = field.displayTextOf(dataset.valueAt(row, field));
        if (exact ? text == value : text.toUpper().startsWith(wanted))
            return row;
    }
    return -1;
}

QString GridSearchDialog::entryText(const QList<Field*>& fields, const Field& field)
{
    const QString label = field.displayLabel();
    const auto sameLabel = [&label](const Field* other) { return other->displayLabel() == label; };
    if (std::count_if(fields.begin(), fields.end(), sameLabel) < 2)
        return label;
    return label + QStringLiteral(" (") + field.name() + u')';
}

QString GridSearchDialog::notFoundMessage(const QString& value, bool exact)
{
    return QStringLiteral("Ne najdem \"") + value + (exact ? QString() : QStringLiteral("...")) + u'"';
}

void GridSearchDialog::run(TFwwDBGrid* grid)
{
    Dataset* dataset = grid->dataset();
    if (!dataset)
        return;
    QDialog dialog(grid);
    dialog.setObjectName(QStringLiteral("Iskanje"));
    dialog.setWindowTitle(QStringLiteral("Iskanje"));
    auto* form = new QFormLayout(&dialog);
    auto* fields = new QComboBox(&dialog);
    fields->setObjectName(QStringLiteral("cbIskanjePo"));
    const QList<Field*> all = dataset->fields();
    for (Field* f : all)
        fields->addItem(entryText(all, *f));
    // The field of the current column, not the first field of its label.
    const DatasetModel* model = grid->datasetModel();
    if (const int column = grid->currentIndex().column(); model && column >= 0)
        fields->setCurrentIndex(std::max(qsizetype(0), all.indexOf(model->fieldAt(column))));
    auto* value = new QLineEdit(&dialog);
    value->setObjectName(QStringLiteral("eIskanaVrednost"));
    auto* exact = new QCheckBox(QStringLiteral("Išči točno vrednost"), &dialog);
    exact->setObjectName(QStringLiteral("cbTocno"));
    auto* fromFirst = new QPushButton(QStringLiteral("1"), &dialog);
    fromFirst->setObjectName(QStringLiteral("bFromFirst"));
    auto* fromNext = new QPushButton(QStringLiteral("..."), &dialog);
    fromNext->setObjectName(QStringLiteral("bFromNext"));
    form->addRow(QStringLiteral("Iskanje po"), fields);
    form->addRow(QStringLiteral("Iskana vrednost"), value);
    form->addRow(exact);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fromFirst);
    buttons->addWidget(fromNext);
    form->addRow(buttons);

    const auto updateMask = [&] {
        value->setInputMask(dataset->field(fields->currentIndex()).editMask());
    };
    const auto updateButtons = [&] {
        const bool typed = !value->text().trimmed().isEmpty();
        fromFirst->setEnabled(typed);
        fromNext->setEnabled(typed);
    };
    QObject::connect(fields, &QComboBox::currentIndexChanged, &dialog, updateMask);
    QObject::connect(value, &QLineEdit::textChanged, &dialog, updateButtons);
    const auto search = [&](bool first) {
        const Field& field = dataset->field(fields->currentIndex());
        const int from = first ? 0 : grid->currentIndex().row() + 1;
        const int row = findRow(*dataset, field, value->text(), exact->isChecked(), from);
        if (row >= 0) {
            grid->moveToRow(row);
            return;
        }
        if (dataset->recordCount() > 0)
            grid->moveToRow(dataset->recordCount() - 1);
        QMessageBox::information(&dialog, QtInteraction::messageTitle(), notFoundMessage(value->text(), exact->isChecked()));
    };
    QObject::connect(fromFirst, &QPushButton::clicked, &dialog, [&] { search(true); });
    QObject::connect(fromNext, &QPushButton::clicked, &dialog, [&] { search(false); });
    updateMask();
    updateButtons();
    dialog.exec();
}
