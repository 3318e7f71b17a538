#pragma once

#include <QTableView>

class QBoxLayout;
class QLabel;

// The data grid of every list: read-only, selecting whole rows, with a bold caption label beside
// it. The grid lays out its panel (the widget it is created on): the caption label on the side
// that labelAlign names, the grid filling the rest.
//
// The zoom action (double click, Enter) raises zoom() only when a handler is connected; a grid
// without one does nothing. Ctrl+Delete never deletes a record.
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

signals:
    // The zoom action: open the current record.
    void zoom();

protected:
    // No cell is ever edited in place.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool hasZoomHandler() const;
    void updateLabel();

    QBoxLayout* layout_;
    QLabel* label_;
    LabelAlign labelAlign_ = laTop;
    QString labelText_;
};
