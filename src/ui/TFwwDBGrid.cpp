#include "ui/TFwwDBGrid.h"

#include "data/dataset/Dataset.h"
#include "data/dataset/DatasetModel.h"
#include "data/dataset/Field.h"
#include "ui/UiDefaults.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QAbstractProxyModel>
#include <QFocusEvent>
#include <QMetaMethod>
#include <QStyle>

#include <algorithm>

namespace {
// Gap in pixels between the caption label and the grid.
constexpr int kLabelSpacing = 5;
}

TFwwDBGrid::TFwwDBGrid(QWidget* panel)
    : QTableView(panel),
      layout_(new QBoxLayout(QBoxLayout::TopToBottom, panel)),
      label_(new QLabel(panel))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    const UiDefaults& ui = UiDefaults::get();
    setFont(ui.dataFont());
    horizontalHeader()->setFont(ui.titleFont());
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(ui.lineHeight);

    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);

    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(kLabelSpacing);
    layout_->addWidget(label_);
    layout_->addWidget(this, 1);
    updateLabel();
}

void TFwwDBGrid::setLabelAlign(LabelAlign align)
{
    labelAlign_ = align;
    updateLabel();
}

void TFwwDBGrid::setLabelText(const QString& text)
{
    labelText_ = text;
    updateLabel();
}

void TFwwDBGrid::updateLabel()
{
    label_->setText(labelText_);
    label_->setToolTip(labelText_);
    label_->setVisible(labelAlign_ != laNone);
    switch (labelAlign_) {
    case laLeft:
        layout_->setDirection(QBoxLayout::LeftToRight);
        break;
    case laRight:
        layout_->setDirection(QBoxLayout::RightToLeft);
        break;
    case laBottom:
        layout_->setDirection(QBoxLayout::BottomToTop);
        break;
    case laNone:
    case laTop:
        layout_->setDirection(QBoxLayout::TopToBottom);
        break;
    }
}

bool TFwwDBGrid::edit(const QModelIndex&, EditTrigger, QEvent*)
{
    return false;
}

bool TFwwDBGrid::hasZoomHandler() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&TFwwDBGrid::zoom));
}

void TFwwDBGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        if (hasZoomHandler())
            emit zoom();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TFwwDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (hasZoomHandler())
        emit zoom();
    event->accept();
}

void TFwwDBGrid::setModel(QAbstractItemModel* newModel)
{
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    connect(newModel, &QAbstractItemModel::modelReset, this, &TFwwDBGrid::applyColumnWidths);
    connect(newModel, &QAbstractItemModel::layoutChanged, this, &TFwwDBGrid::applyColumnWidths);
    applyColumnWidths();
}

DatasetModel* TFwwDBGrid::datasetModel() const
{
    QAbstractItemModel* m = model();
    while (auto* proxy = qobject_cast<QAbstractProxyModel*>(m))
        m = proxy->sourceModel();
    return qobject_cast<DatasetModel*>(m);
}

void TFwwDBGrid::applyColumnWidths()
{
    const DatasetModel* fields = datasetModel();
    if (!fields)
        return;
    const QFontMetrics data(font());
    const QFontMetrics title(horizontalHeader()->font());
    const int digit = data.horizontalAdvance(QLatin1Char('0'));
    const int headerMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    for (int column = 0; column < model()->columnCount(); ++column) {
        const Field* field = fields->fieldAt(column);
        if (!field)
            continue;
        const int byWidth = field->displayWidth() * digit + 4;
        const int byTitle = title.horizontalAdvance(field->displayLabel()) + headerMargin + 4;
        setColumnWidth(column, std::max(byWidth, byTitle));
    }
}

void TFwwDBGrid::setTitleColour(const QColor& colour)
{
    QPalette palette = horizontalHeader()->palette();
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::WindowText, colour);
    horizontalHeader()->setPalette(palette);
}

void TFwwDBGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    setTitleColour(QColor(0, 0, 128));
}

void TFwwDBGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    setTitleColour(palette().color(QPalette::ButtonText));
}
