#include "ui/TFwwDBGrid.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>

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
    verticalHeader()->setDefaultSectionSize(18);

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
