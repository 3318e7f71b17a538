#pragma once

#include <QTableView>

class DatasetModel;
class QBoxLayout;
class QLabel;

// The data grid of every list: read-only, selecting whole rows, with a bold caption label beside
// it. The grid lays out its panel (the widget it is created on): the caption label on the side
// that labelAlign names, the grid filling the rest.
//
// The zoom action (double click, Enter) raises zoom() only when a handler is connected; a grid
// without one does nothing. Ctrl+Delete never deletes a record.
//
// Fonts and row height come from the user interface defaults (UiDefaults): the data font bold,
// the title font regular, navy while the grid has the focus. Over a dataset (a DatasetModel,
// also behind proxy models) every column is as wide as its field's display width in characters
// of the data font, and at least as wide as its title.
class TFwwDBGrid : public QTableView {
    Q_OBJECT
public:
    enum LabelAlign { laNone, laLeft, laRight, laTop, laBottom };
    Q_ENUM(LabelAlign)

    // Creates the grid and its caption label on panel and fills the panel with them.
    explicit TFwwDBGrid(QWidget* panel);

    LabelAlign labelAlign() const { return labelAlign_; }
    void setLabelAlign(LabelAlign align);
    QString labelText() const { return labelText_; }
    void setLabelText(const QString& text);
    QLabel* captionLabel() const { return label_; }

    using QTableView::edit;

    void setModel(QAbstractItemModel* model) override;
    // The dataset model behind the grid's model and its proxies; nullptr when there is none.
    DatasetModel* datasetModel() const;
    // Sets every column to the width of its field (see above).
    void applyColumnWidths();

signals:
    // The zoom action: open the current record.
    void zoom();

protected:
    // No cell is ever edited in place.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool hasZoomHandler() const;
    void updateLabel();
    void setTitleColour(const QColor& colour);

    QBoxLayout* layout_;
    QLabel* label_;
    LabelAlign labelAlign_ = laTop;
    QString labelText_;
};
