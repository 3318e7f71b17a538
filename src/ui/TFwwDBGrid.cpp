#include "ui/TFwwDBGrid.h"

#include "core/Formats.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/DatasetModel.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/filter/TFilter.h"
#include "listing/ListColumns.h"
#include "ui/ChartWindow.h"
#include "ui/ColumnChooser.h"
#include "ui/GridSearchDialog.h"
#include "ui/GridSortDialog.h"
#include "ui/GridToolButtons.h"
#include "ui/GroupPrintWindow.h"
#include "ui/ListPrinting.h"
#include "ui/UiDefaults.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QBoxLayout>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QStyle>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>

namespace {
// Gap in pixels between the caption label and the grid.
constexpr int kLabelSpacing = 5;
// Height of the title row while titles wrap.
constexpr int kWrappedTitleHeight = 45;

// The text of a filter parameter's value: the field's display text when the field holds it.
QString parameterText(const Dataset& dataset, const QString& name, const QVariant& value, FieldType type)
{
    if (const Field* field = dataset.findField(name); field && dataset.isActive() && dataset.recNo() >= 0) {
        if (field->value() == value)
            return field->displayText();
    }
    switch (type) {
    case FieldType::Date: return Formats::dateText(Field::convert(FieldType::Date, value).toDate());
    case FieldType::DateTime: return Formats::dateTimeText(Field::convert(FieldType::DateTime, value).toDateTime());
    default: return value.toString();
    }
}

}  // namespace

TFwwDBGrid::TFwwDBGrid(QWidget* panel)
    : QTableView(panel),
      layout_(new QBoxLayout(QBoxLayout::TopToBottom, panel)),
      label_(new QLabel(panel)),
      toolRow_(new QWidget(panel))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    const UiDefaults& ui = UiDefaults::get();
    setFont(ui.dataFont());
    horizontalHeader()->setFont(ui.titleFont());
    // The titles keep their font whatever row is selected.
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(ui.lineHeight);

    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);

    auto* row = new QHBoxLayout(toolRow_);
    row->setContentsMargins(8, 0, 0, 0);
    row->setSpacing(0);
    toolRow_->hide();

    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(kLabelSpacing);
    layout_->addWidget(toolRow_);
    layout_->addWidget(label_);
    layout_->addWidget(this, 1);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        if (titleClickShowsButtons_)
            buttonsShown_ ? hideButtons() : showButtons();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!applyingWidths_)
            rebuildSelected();
    });
    updateLabel();
}

TFwwDBGrid::~TFwwDBGrid()
{
    GridToolButtons::release(this);
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

QString TFwwDBGrid::captionText() const
{
    if (!labelText_.isEmpty())
        return labelText_;
    const Dataset* data = dataset();
    if (const auto* filter = qobject_cast<const TFilter*>(data)) {
        QStringList entries;
        for (const FilterParam& p : filter->params().items()) {
            if (!p.value.isValid() || p.value.isNull())
                continue;
            const Field* field = filter->findField(p.name);
            const QString label = field ? field->displayLabel() : p.name;
            entries << QStringLiteral("%1 = \"%2\"").arg(label, parameterText(*filter, p.name, p.value, p.dataType));
        }
        return (filter->caption() + u' ' + entries.join(QStringLiteral(", "))).trimmed();
    }
    if (const auto* query = qobject_cast<const TFQuery*>(data))
        return query->caption();
    return {};
}

void TFwwDBGrid::updateLabel()
{
    const QString text = captionText();
    label_->setText(text);
    label_->setToolTip(text);
    label_->setVisible(labelAlign_ != laNone);
    if (buttonsShown_)
        return;
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

void TFwwDBGrid::showButtons()
{
    if (buttonsShown_)
        return;
    buttonsShown_ = true;
    auto* row = static_cast<QHBoxLayout*>(toolRow_->layout());
    GridToolButtons::placeOn(this, row);
    layout_->removeWidget(label_);
    row->addSpacing(kLabelSpacing);
    row->addWidget(label_, 1);
    label_->setVisible(labelAlign_ != laNone);
    layout_->setDirection(QBoxLayout::TopToBottom);
    toolRow_->show();
}

void TFwwDBGrid::hideButtons()
{
    if (!buttonsShown_)
        return;
    buttonsShown_ = false;
    GridToolButtons::release(this);
    auto* row = static_cast<QHBoxLayout*>(toolRow_->layout());
    row->removeWidget(label_);
    while (QLayoutItem* item = row->takeAt(0))
        delete item;
    toolRow_->hide();
    layout_->insertWidget(1, label_);
    setTitleColour(palette().color(QPalette::ButtonText));
    updateLabel();
}

void TFwwDBGrid::setSortInfo(const QList<SortItem>& items)
{
    sortInfo_ = items;
    const Dataset* data = dataset();
    for (SortItem& item : sortInfo_) {
        if (!item.displayText.isEmpty())
            continue;
        QStringList labels;
        for (const SortColumn& c : item.columns) {
            const Field* field = data ? data->findField(c.columnName) : nullptr;
            labels << (field ? field->displayLabel() : c.columnName);
        }
        item.displayText = labels.join(u',');
    }
}

void TFwwDBGrid::selectSortItem(int index)
{
    sortItem_ = index >= 0 && index < sortInfo_.size() ? index : -1;
    if (sortItem_ >= 0 && isSignalConnected(QMetaMethod::fromSignal(&TFwwDBGrid::customSort)))
        emit customSort(sortInfo_.at(sortItem_));
}

void TFwwDBGrid::setTitleWordWrap(bool wrap)
{
    titleWordWrap_ = wrap;
    QHeaderView* header = horizontalHeader();
    // The header's style draws its titles wrapped when the alignment carries the word-wrap flag.
    header->setDefaultAlignment(wrap ? Qt::Alignment(int(Qt::AlignCenter) | int(Qt::TextWordWrap)) : Qt::AlignCenter);
    if (wrap) {
        header->setFixedHeight(kWrappedTitleHeight);
    } else {
        header->setMinimumHeight(0);
        header->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    header->updateGeometry();
    updateGeometries();
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
        zoomAction();
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
    zoomAction();
    event->accept();
}

void TFwwDBGrid::wheelEvent(QWheelEvent* event)
{
    if (!model() || model()->rowCount() == 0 || focusPolicy() == Qt::NoFocus) {
        QTableView::wheelEvent(event);
        return;
    }
    const int step = event->angleDelta().y() < 0 ? 1 : event->angleDelta().y() > 0 ? -1 : 0;
    const int row = std::clamp(currentIndex().row() + step, 0, model()->rowCount() - 1);
    if (step != 0)
        moveToRow(row);
    event->accept();
}

void TFwwDBGrid::setModel(QAbstractItemModel* newModel)
{
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    connect(newModel, &QAbstractItemModel::modelReset, this, &TFwwDBGrid::applyColumnWidths);
    connect(newModel, &QAbstractItemModel::layoutChanged, this, &TFwwDBGrid::applyColumnWidths);
    if (Dataset* data = dataset())
        connect(data, &Dataset::datasetChanged, this, &TFwwDBGrid::updateLabel, Qt::UniqueConnection);
    if (selectedPending_)
        setSelected(selected_);
    applyColumnWidths();
    updateLabel();
}

DatasetModel* TFwwDBGrid::datasetModel() const
{
    QAbstractItemModel* m = model();
    while (auto* proxy = qobject_cast<QAbstractProxyModel*>(m))
        m = proxy->sourceModel();
    return qobject_cast<DatasetModel*>(m);
}

Dataset* TFwwDBGrid::dataset() const
{
    const DatasetModel* fields = datasetModel();
    return fields ? fields->dataset() : nullptr;
}

void TFwwDBGrid::applyColumnWidths()
{
    const DatasetModel* fields = datasetModel();
    if (!fields)
        return;
    applyingWidths_ = true;
    const QFontMetrics title(horizontalHeader()->font());
    const double character = characterWidth();
    // The room a cell keeps beside its text, left and right.
    const int textMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int headerMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    for (int column = 0; column < model()->columnCount(); ++column) {
        const Field* field = fields->fieldAt(column);
        if (!field)
            continue;
        const int byWidth = qCeil(field->displayWidth() * character) + textMargins + 4;
        const int byTitle = title.horizontalAdvance(field->displayLabel()) + headerMargin + 4;
        setColumnWidth(column, std::max(byWidth, byTitle));
    }
    applyingWidths_ = false;
    rebuildSelected();
}

double TFwwDBGrid::characterWidth() const
{
    return std::max(1.0, averageCapitalWidth(QFontMetricsF(font())));
}

void TFwwDBGrid::rebuildSelected()
{
    const DatasetModel* fields = datasetModel();
    if (!fields)
        return;
    const double character = characterWidth();
    QStringList lines;
    for (int column = 0; column < fields->columnCount(); ++column) {
        const Field* field = fields->fieldAt(column);
        lines << field->name() + u'\t' + QString::number(std::max(1, qFloor((columnWidth(column) - 4) / character))) + u'\t' +
                     field->displayLabel();
    }
    selected_ = lines;
}

void TFwwDBGrid::setSelected(const QStringList& layout)
{
    // Moving the fields rebuilds selected_ from the new columns: work on a copy.
    const QStringList lines = layout;
    selected_ = lines;
    Dataset* data = dataset();
    selectedPending_ = !data;
    if (!data || lines.isEmpty())
        return;
    for (Field* field : data->fields())
        field->setVisible(false);
    int position = 0;
    for (const QString& line : lines) {
        if (Field* field = data->findField(line.section(u'\t', 0, 0))) {
            field->setVisible(true);
            data->setFieldIndex(*field, position++);
        }
    }
    if (position == 0)
        emit data->fieldsChanged();
}

void TFwwDBGrid::moveToRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const int column = std::max(0, currentIndex().column());
    setCurrentIndex(model()->index(row, column));
    scrollTo(currentIndex());
    if (Dataset* data = dataset(); data && data->isActive())
        data->setRecNo(row);
}

void TFwwDBGrid::zoomAction()
{
    if (gridButtons_.testFlag(gbZoom) && hasZoomHandler())
        emit zoom();
}

void TFwwDBGrid::viewAction()
{
    Dataset* data = dataset();
    if (!gridButtons_.testFlag(gbView) || !data)
        return;
    if (ColumnChooser::choose(this, *data))
        applyColumnWidths();
}

void TFwwDBGrid::printAction()
{
    Dataset* data = dataset();
    if (!gridButtons_.testFlag(gbPrint) || !data || !data->isActive())
        return;
    if (isSignalConnected(QMetaMethod::fromSignal(&TFwwDBGrid::print))) {
        emit print();
        return;
    }
    ListPrinting::print(this, *data, captionText(), font());
}

void TFwwDBGrid::printGroupAction()
{
    Dataset* data = dataset();
    if (gridButtons_.testFlag(gbPrintGroup) && data && data->isActive())
        GroupPrintWindow::open(*data, captionText());
}

void TFwwDBGrid::locateAction()
{
    Dataset* data = dataset();
    if (!gridButtons_.testFlag(gbLocate) || !data || !data->isActive())
        return;
    GridSearchDialog::run(this);
}

void TFwwDBGrid::refreshAction()
{
    Dataset* data = dataset();
    if (!gridButtons_.testFlag(gbRefresh) || !data || !data->isActive())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        data->close();
        data->open();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

void TFwwDBGrid::sortAction()
{
    if (gridButtons_.testFlag(gbSort))
        GridSortDialog::run(this);
}

void TFwwDBGrid::titleWordWrapAction()
{
    if (gridButtons_.testFlag(gbTitleWordWrap))
        setTitleWordWrap(!titleWordWrap_);
}

void TFwwDBGrid::graphAction()
{
    Dataset* data = dataset();
    if (gridButtons_.testFlag(gbGraph) && data && data->isActive())
        ChartWindow::open(this, *data, captionText());
}

void TFwwDBGrid::copyToClipAction()
{
    Dataset* data = dataset();
    if (gridButtons_.testFlag(gbCopyToClip) && data && data->isActive())
        ListPrinting::copyToClipboard(this, *data, captionText());
}

void TFwwDBGrid::exportAction()
{
    Dataset* data = dataset();
    if (gridButtons_.testFlag(gbExport) && data && data->isActive())
        ListPrinting::exportList(this, *data);
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
    // A dialog of the grid's own (search, sort, print) does not take the buttons away.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    hideButtons();
    setTitleColour(palette().color(QPalette::ButtonText));
}
