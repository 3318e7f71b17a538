#include "data/dataset/DatasetModel.h"
#include "data/dataset/Queries.h"
#include "listing/ListColumns.h"
#include "support/FixtureDb.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"

#include <QHeaderView>

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyle>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// The panel of a grid; counts the keys that the grid lets through to it.
class Panel : public QWidget {
public:
    int keysReceived = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        ++keysReceived;
        event->accept();
    }
};

// A grid over an editable two-row model on its panel.
class TFwwDBGridTest : public ::testing::Test {
protected:
    TFwwDBGridTest()
        : model_(2, 2), grid_(&panel_)
    {
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                model_.setItem(row, column, new QStandardItem(QStringLiteral("v%1%2").arg(row).arg(column)));
        grid_.setModel(&model_);
        grid_.setCurrentIndex(model_.index(0, 1));
        panel_.resize(400, 300);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&grid_, &event);
    }

    void doubleClick()
    {
        const QPoint at = grid_.visualRect(model_.index(0, 1)).center();
        QMouseEvent event(QEvent::MouseButtonDblClick, at, grid_.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid_.viewport(), &event);
    }

    // An in-place editor of a cell is a line edit inside the grid.
    bool editorOpen() const { return !grid_.findChildren<QLineEdit*>().isEmpty(); }

    QStandardItemModel model_;
    Panel panel_;
    TFwwDBGrid grid_;
};

TEST_F(TFwwDBGridTest, ZoomWithoutHandlerDoesNothing)
{
    doubleClick();
    press(Qt::Key_Return);
    press(Qt::Key_Enter);

    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(model_.item(0, 1)->text(), QStringLiteral("v01"));
    EXPECT_EQ(panel_.keysReceived, 0);
}

TEST_F(TFwwDBGridTest, ZoomHandlerRunsOnDoubleClickAndEnter)
{
    int zooms = 0;
    QObject::connect(&grid_, &TFwwDBGrid::zoom, [&zooms] { ++zooms; });

    doubleClick();
    EXPECT_EQ(zooms, 1);
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    EXPECT_EQ(zooms, 3);
    EXPECT_FALSE(editorOpen());
}

TEST_F(TFwwDBGridTest, CtrlDeleteIsIgnored)
{
    press(Qt::Key_Delete, Qt::ControlModifier);

    EXPECT_EQ(model_.rowCount(), 2);
    EXPECT_EQ(model_.item(0, 1)->text(), QStringLiteral("v01"));
    EXPECT_EQ(panel_.keysReceived, 0);
}

TEST_F(TFwwDBGridTest, ReadOnlyAndSelectsWholeRows)
{
    grid_.setCurrentIndex(model_.index(1, 0));
    EXPECT_TRUE(grid_.selectionModel()->isRowSelected(1, QModelIndex()));
    EXPECT_FALSE(grid_.selectionModel()->isRowSelected(0, QModelIndex()));

    grid_.edit(model_.index(1, 0));
    EXPECT_FALSE(editorOpen());
    press(Qt::Key_X);
    EXPECT_EQ(model_.item(1, 0)->text(), QStringLiteral("v10"));
}

TEST_F(TFwwDBGridTest, CaptionLabelAboveGridUnlessNone)
{
    grid_.setLabelText(QStringLiteral("Transakcije"));
    panel_.show();
    QApplication::processEvents();

    QLabel* label = grid_.captionLabel();
    EXPECT_EQ(label->parentWidget(), &panel_);
    EXPECT_EQ(label->text(), QStringLiteral("Transakcije"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Transakcije"));
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->isVisible());
    EXPECT_LT(label->geometry().bottom(), grid_.geometry().top());
    EXPECT_EQ(grid_.geometry().bottom(), panel_.rect().bottom());

    grid_.setLabelAlign(TFwwDBGrid::laNone);
    QApplication::processEvents();
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(grid_.geometry(), panel_.rect());
}

// Over a dataset every column is as wide as its field's display width in average capitals of
// the data font (as the print measures them) beside the cell's margins, or as its title where
// that is wider; codes show whole; the fonts are the user interface defaults.
TEST(TFwwDBGridColumns, WidthsFollowDisplayWidthsAndTitles)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qList"));
    query.setSql(QStringLiteral("SELECT 'TRDAT01_59' AS OZNAKA, 46027.5 AS DANPOROCANJA, 7 AS N, "
                                "'XETR' AS MIC, 'ESVUFR' AS CFI"));
    const auto declare = [&query](const char* name, FieldType type, int width, const QString& label) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.displayWidth = width;
        d.displayLabel = label;
        query.addField(d);
    };
    declare("OZNAKA", FieldType::String, 40, QStringLiteral("Oznaka"));
    declare("DANPOROCANJA", FieldType::DateTime, 0, QStringLiteral("Dan"));
    declare("N", FieldType::Integer, 1, QStringLiteral("Datum transakcije"));
    declare("MIC", FieldType::String, 4, QStringLiteral("M"));
    declare("CFI", FieldType::String, 6, QStringLiteral("C"));
    query.open();

    QWidget panel;
    TFwwDBGrid grid(&panel);
    auto* fields = new DatasetModel(&query, &grid);
    grid.setModel(new RowColourModel(fields, [](int) { return QColor(); }, &grid));
    EXPECT_EQ(grid.datasetModel(), fields) << "found behind the proxy";

    const QFontMetrics data(grid.font());
    const double character = averageCapitalWidth(QFontMetricsF(grid.font()));
    const int textMargins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    const auto widthOf = [&](int characters) { return qCeil(characters * character) + textMargins + 4; };
    EXPECT_TRUE(grid.font().bold());
    EXPECT_FALSE(grid.horizontalHeader()->font().bold());
    EXPECT_EQ(grid.columnWidth(0), widthOf(40));
    EXPECT_EQ(grid.columnWidth(1), widthOf(18));
    for (int column : {3, 4}) {
        const QString code = fields->data(fields->index(0, column)).toString();
        EXPECT_GE(grid.columnWidth(column) - textMargins, data.horizontalAdvance(code)) << code.toStdString() << " shows whole";
    }
    EXPECT_FALSE(grid.horizontalHeader()->highlightSections()) << "titles keep their font on a selected row";
    EXPECT_GE(grid.columnWidth(1), data.horizontalAdvance(fields->data(fields->index(0, 1)).toString()))
        << "a date-time shows whole";
    EXPECT_GT(grid.columnWidth(2), QFontMetrics(grid.horizontalHeader()->font())
                                       .horizontalAdvance(QStringLiteral("Datum transakcije")));
    EXPECT_EQ(grid.verticalHeader()->defaultSectionSize(), 18);

    query.close();
    query.open();
    EXPECT_EQ(grid.columnWidth(0), widthOf(40)) << "kept after the dataset is opened again";
}

TEST_F(TFwwDBGridTest, TitlesNavyWhileTheGridHasTheFocus)
{
    const QColor normal = grid_.horizontalHeader()->palette().color(QPalette::ButtonText);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&grid_, &in);
    EXPECT_EQ(grid_.horizontalHeader()->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&grid_, &out);
    EXPECT_EQ(grid_.horizontalHeader()->palette().color(QPalette::ButtonText), normal);
}

}  // namespace
