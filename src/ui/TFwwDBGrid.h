#pragma once

#include <QStringList>
#include <QTableView>

class Dataset;
class DatasetModel;
class QBoxLayout;
class QLabel;
class QWidget;

// The data grid of every list: read-only, selecting whole rows, with a bold caption label beside
// it. The grid lays out its panel (the widget it is created on): the caption label on the side
// that labelAlign names, the grid filling the rest.
//
// The zoom action (double click, Enter) raises zoom() only when a handler is connected; a grid
// without one does nothing. Ctrl+Delete never deletes a record. The mouse wheel moves one record.
//
// Fonts and row height come from the user interface defaults (UiDefaults): the data font bold,
// the title font regular, navy while the grid has the focus. Over a dataset (a DatasetModel,
// also behind proxy models) every column is as wide as its field's display width in characters
// of the data font, and at least as wide as its title.
//
// A click on a column title shows the shared tool buttons (GridToolButtons) in a row above the
// grid, the caption label after them; the next title click or the grid losing the focus removes
// them. The buttons run the actions below, each enabled by its member of gridButtons.
class TFwwDBGrid : public QTableView {
    Q_OBJECT
public:
    enum LabelAlign { laNone, laLeft, laRight, laTop, laBottom };
    Q_ENUM(LabelAlign)
    enum GridButton {
        gbLocate = 0x1, gbZoom = 0x2, gbView = 0x4, gbPrint = 0x8, gbPrintGroup = 0x10,
        gbRefresh = 0x20, gbSort = 0x40, gbGraph = 0x80, gbTitleWordWrap = 0x100,
        gbCopyToClip = 0x200, gbExport = 0x400,
    };
    Q_DECLARE_FLAGS(GridButtons, GridButton)

    // A column of a named sort order.
    struct SortColumn {
        QString tableName;
        QString columnName;
        bool descending = false;
    };
    // A named sort order of SortInfo.
    struct SortItem {
        QString displayText;
        QList<SortColumn> columns;
    };

    // Creates the grid and its caption label on panel and fills the panel with them.
    explicit TFwwDBGrid(QWidget* panel);
    ~TFwwDBGrid() override;

    LabelAlign labelAlign() const { return labelAlign_; }
    void setLabelAlign(LabelAlign align);
    QString labelText() const { return labelText_; }
    void setLabelText(const QString& text);
    QLabel* captionLabel() const { return label_; }
    // The caption: labelText, else a filter table's caption and its parameters that are set,
    // else a query's caption.
    QString captionText() const;
    // Sets the caption label from captionText (also done on every layout change).
    void updateLabel();

    GridButtons gridButtons() const { return gridButtons_; }
    void setGridButtons(GridButtons buttons) { gridButtons_ = buttons; }

    // Column layout: one line per shown field: field name, TAB, display width, TAB, label.
    QStringList selected() const { return selected_; }
    // Applies the layout to the dataset's fields (an empty list changes nothing); set before
    // the grid has a dataset, it is applied when the dataset's model is set.
    void setSelected(const QStringList& layout);

    QList<SortItem> sortInfo() const { return sortInfo_; }
    // Items without a display text get the labels of their columns joined by ",".
    void setSortInfo(const QList<SortItem>& items);
    int currentSortItem() const { return sortItem_; }
    // Makes item index the current one (beyond the items: none) and raises customSort with it.
    void selectSortItem(int index);

    bool titleWordWrap() const { return titleWordWrap_; }
    void setTitleWordWrap(bool wrap);
    bool buttonsShown() const { return buttonsShown_; }
    // Off: a title click leaves the tool buttons alone (the title has another use).
    void setTitleClickShowsButtons(bool shows) { titleClickShowsButtons_ = shows; }
    void showButtons();
    void hideButtons();

    using QTableView::edit;

    void setModel(QAbstractItemModel* model) override;
    // The dataset model behind the grid's model and its proxies; nullptr when there is none.
    DatasetModel* datasetModel() const;
    Dataset* dataset() const;
    // Sets every column to the width of its field (see above).
    void applyColumnWidths();
    // Moves the current row (and the dataset's) to row.
    void moveToRow(int row);

    // The actions of the tool buttons.
    void zoomAction();
    void viewAction();
    void printAction();
    void printGroupAction();
    void locateAction();
    void refreshAction();
    void sortAction();
    void titleWordWrapAction();
    void graphAction();
    void copyToClipAction();
    void exportAction();

signals:
    // The zoom action: open the current record.
    void zoom();
    // Replaces the built-in print when connected.
    void print();
    // A sort item was chosen on a dataset that is not a table.
    void customSort(const TFwwDBGrid::SortItem& item);

protected:
    // No cell is ever edited in place.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool hasZoomHandler() const;
    void placeLabel();
    void setTitleColour(const QColor& colour);
    void rebuildSelected();
    // One character of a display width: the average capital of the data font.
    double characterWidth() const;

    QBoxLayout* layout_;
    QLabel* label_;
    QWidget* toolRow_;
    LabelAlign labelAlign_ = laTop;
    QString labelText_;
    GridButtons gridButtons_ = GridButtons(0x7ff);
    QStringList selected_;
    QList<SortItem> sortInfo_;
    int sortItem_ = -1;
    bool titleWordWrap_ = false;
    bool buttonsShown_ = false;
    bool titleClickShowsButtons_ = true;
    bool selectedPending_ = false;
    bool applyingWidths_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFwwDBGrid::GridButtons)
