#include "data/dataset/DatasetModel.h"
#include "data/dataset/Queries.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/ChartWindow.h"
#include "ui/GridSearchDialog.h"
#include "ui/GridToolButtons.h"
#include "ui/TFwwDBGrid.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCheckBox>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QSqlQuery>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Works the next modal dialog from a timer, so that a test never waits on it.
void answerDialog(std::function<void(QWidget&)> handler)
{
    QTimer::singleShot(0, [handler] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            handler(*dialog);
    });
}

// A grid on its panel over a query of five instruments with a price.
class GridToolsTest : public ::testing::Test {
protected:
    GridToolsTest()
    {
        query.setSql(QStringLiteral(
            "SELECT 'KRKG' AS KRATICA, 'Krka' AS NAZIV, 98.5 AS CENA UNION ALL SELECT 'PETG', 'Petrol', 31 "
            "UNION ALL SELECT 'KRKG2', 'Krka nova', 12 UNION ALL SELECT 'TLSG', 'Telekom', 140 "
            "UNION ALL SELECT 'ZVTG', 'Zavarovalnica', 22.25"));
        declare("KRATICA", FieldType::String, 6, QStringLiteral("Kratica"));
        declare("NAZIV", FieldType::String, 20, QStringLiteral("Naziv"));
        declare("CENA", FieldType::Float, 0, QStringLiteral("Tečaj"));
        query.setCaption(QStringLiteral("Vrednostni papirji"));
        query.open();
        grid.setModel(new DatasetModel(&query, &grid));
        grid.setCurrentIndex(grid.model()->index(0, 0));
        panel.resize(600, 300);
        panel.show();
        QApplication::processEvents();
    }
    void declare(const char* name, FieldType type, int size, const QString& label)
    {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = size;
        d.displayLabel = label;
        query.addField(d);
    }
    void clickTitle(int section) { emit grid.horizontalHeader()->sectionClicked(section); }

    FixtureDb db;
    TFQuery query{db.connection(), QStringLiteral("qPapirji")};
    QWidget panel;
    TFwwDBGrid grid{&panel};
};

TEST_F(GridToolsTest, TitleClickShowsTheButtonsAndTheNextRemovesThem)
{
    EXPECT_EQ(grid.captionLabel()->text(), QStringLiteral("Vrednostni papirji"));
    const QRect full = grid.geometry();
    clickTitle(1);
    QApplication::processEvents();
    ASSERT_TRUE(grid.buttonsShown());
    const char* glyphs[] = {"MSB_ZOOM", "MSB_VIEW", "MSB_PRINT", "MSB_PRINTGROUP", "MSB_LOCATE", "MSB_REFRESH",
                            "MSB_SORT", "MSB_TITLEWORDWRAP", "MSB_BAR", "MSB_COPYTOCLIP", "MSB_EXPORT"};
    int x = -1;
    for (const char* glyph : glyphs) {
        SCOPED_TRACE(glyph);
        QToolButton* b = GridToolButtons::button(glyph);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->size(), QSize(18, 18));
        const int bx = b->mapTo(&panel, QPoint(0, 0)).x();
        EXPECT_GT(bx, x) << "in their order";
        x = bx;
    }
    EXPECT_EQ(GridToolButtons::button("MSB_ZOOM")->mapTo(&panel, QPoint(0, 0)).x(), 8);
    EXPECT_GT(grid.captionLabel()->mapTo(&panel, QPoint(0, 0)).x(), x) << "the caption follows the buttons";
    EXPECT_GT(grid.geometry().top(), full.top()) << "the grid moves below the row";

    clickTitle(0);
    QApplication::processEvents();
    EXPECT_FALSE(grid.buttonsShown());
    EXPECT_FALSE(GridToolButtons::button("MSB_ZOOM")->isVisible());
    EXPECT_EQ(grid.geometry().bottom(), full.bottom());
}

TEST_F(GridToolsTest, ButtonsOfTheGroupedViewGridsAreDisabled)
{
    using G = TFwwDBGrid;
    grid.setGridButtons(G::gbLocate | G::gbPrint | G::gbGraph | G::gbTitleWordWrap | G::gbCopyToClip);
    clickTitle(0);
    const struct {
        const char* glyph;
        bool enabled;
    } cases[] = {{"MSB_ZOOM", false}, {"MSB_VIEW", false}, {"MSB_PRINT", true}, {"MSB_PRINTGROUP", false},
                 {"MSB_LOCATE", true}, {"MSB_REFRESH", false}, {"MSB_SORT", false}, {"MSB_TITLEWORDWRAP", true},
                 {"MSB_BAR", true}, {"MSB_COPYTOCLIP", true}, {"MSB_EXPORT", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.glyph);
        EXPECT_EQ(GridToolButtons::button(c.glyph)->isEnabled(), c.enabled);
    }
}

TEST_F(GridToolsTest, SearchFindsByPrefixOrExactValueAndTellsWhenNothingMatches)
{
    const Field& naziv = query.fieldByName(QStringLiteral("NAZIV"));
    const struct {
        const char* value;
        bool exact;
        int from;
        int row;
    } cases[] = {{"krka", false, 0, 0}, {"krka", false, 1, 2}, {"krka", true, 0, -1}, {"Krka", true, 1, -1},
                 {"Krka nova", true, 0, 2}, {"tel", false, 0, 3}, {"x", false, 0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(GridSearchDialog::findRow(query, naziv, QString::fromUtf8(c.value), c.exact, c.from), c.row);
    }
    EXPECT_EQ(GridSearchDialog::notFoundMessage(QStringLiteral("Abc"), false), QStringLiteral("Ne najdem \"Abc...\""));
    EXPECT_EQ(GridSearchDialog::notFoundMessage(QStringLiteral("Abc"), true), QStringLiteral("Ne najdem \"Abc\""));

    // Through the dialog: "..." from the next record, then a value that nothing starts with.
    QString message;
    answerDialog([&message](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Iskanje"));
        auto* fields = dialog.findChild<QComboBox*>(QStringLiteral("cbIskanjePo"));
        auto* value = dialog.findChild<QLineEdit*>(QStringLiteral("eIskanaVrednost"));
        auto* next = dialog.findChild<QPushButton*>(QStringLiteral("bFromNext"));
        EXPECT_FALSE(next->isEnabled()) << "until a value is typed";
        fields->setCurrentIndex(fields->findText(QStringLiteral("Naziv")));
        value->setText(QStringLiteral("krk"));
        next->click();
        value->setText(QStringLiteral("Zz"));
        answerDialog([&message](QWidget& box) {
            message = box.windowTitle() + u'|' + static_cast<QMessageBox&>(box).text();
            static_cast<QMessageBox&>(box).accept();
        });
        dialog.findChild<QPushButton*>(QStringLiteral("bFromFirst"))->click();
        static_cast<QDialog&>(dialog).reject();
    });
    int rowFound = -1;
    QObject::connect(&query, &Dataset::currentRowChanged, [&rowFound](int row) { if (rowFound < 0) rowFound = row; });
    grid.locateAction();
    EXPECT_EQ(rowFound, 2) << "Krka nova, the next after the current row";
    EXPECT_EQ(message, QStringLiteral("ZTFI poročanje|Ne najdem \"Zz...\""));
    EXPECT_EQ(grid.currentIndex().row(), 4) << "left on the last record";
}

TEST_F(GridToolsTest, SortItemsOfAQueryRaiseTheCustomSort)
{
    grid.setSortInfo({{QString(), {{QString(), QStringLiteral("NAZIV"), false}, {QString(), QStringLiteral("CENA"), true}}},
                      {QStringLiteral("Po kratici"), {{QString(), QStringLiteral("KRATICA"), false}}}});
    EXPECT_EQ(grid.sortInfo().at(0).displayText, QStringLiteral("Naziv,Tečaj"));
    QStringList chosen;
    QObject::connect(&grid, &TFwwDBGrid::customSort, [&chosen](const TFwwDBGrid::SortItem& item) { chosen << item.displayText; });
    answerDialog([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sort"));
        auto* list = dialog.findChild<QListWidget*>();
        EXPECT_EQ(list->count(), 2);
        list->setCurrentRow(1);
        static_cast<QDialog&>(dialog).accept();
    });
    grid.sortAction();
    EXPECT_EQ(chosen, QStringList{QStringLiteral("Po kratici")});
    EXPECT_EQ(grid.currentSortItem(), 1);
    grid.selectSortItem(5);
    EXPECT_EQ(grid.currentSortItem(), -1) << "beyond the items: none";
    EXPECT_EQ(chosen.size(), 1);
}

TEST_F(GridToolsTest, ColumnChooserOrdersAndHidesColumnsAndSelectedFollows)
{
    answerDialog([](QWidget& dialog) {
        auto* list = dialog.findChild<QListWidget*>();
        ASSERT_EQ(list->count(), 3);
        list->item(0)->setCheckState(Qt::Unchecked);          // Kratica hidden
        list->insertItem(0, list->takeItem(2));               // Tečaj first
        static_cast<QDialog&>(dialog).accept();
    });
    grid.viewAction();
    QStringList titles;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        titles << grid.model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Tečaj"), QStringLiteral("Naziv")}));
    ASSERT_EQ(grid.selected().size(), 2);
    EXPECT_TRUE(grid.selected().at(0).startsWith(QStringLiteral("CENA\t")));
    EXPECT_TRUE(grid.selected().at(1).endsWith(QStringLiteral("\tNaziv")));

    // A layout applied again: Kratica alone.
    grid.setSelected({QStringLiteral("KRATICA\t6\tKratica"), QStringLiteral("NIMA\t3\tNič")});
    EXPECT_EQ(grid.model()->columnCount(), 1);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kratica"));
}

TEST_F(GridToolsTest, CopyChartWheelAndWordWrap)
{
    grid.copyToClipAction();
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("Vrednostni papirji"));
    EXPECT_EQ(lines[1], QStringLiteral("Kratica\tNaziv\tTečaj\t"));
    EXPECT_EQ(lines[2], QStringLiteral("\"KRKG\"\t\"Krka\"\t98,5\t"));

    grid.graphAction();
    auto* chart = panel.findChild<QChartView*>(QStringLiteral("ChartWindow"));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("Vrednostni papirji"));
    EXPECT_EQ(chart->chart()->series().size(), 1);
    chart->close();

    const QPoint at = grid.viewport()->rect().center();
    QWheelEvent down(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &down);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(query.recNo(), 1);

    grid.titleWordWrapAction();
    EXPECT_EQ(grid.horizontalHeader()->height(), 45);
    grid.titleWordWrapAction();
    EXPECT_FALSE(grid.titleWordWrap());
}

// A failing action (here the refresh of a query whose table is gone) shows its error and the
// program goes on.
TEST(GridToolsErrors, AnErrorOfAnActionIsShown)
{
    FixtureDb db;
    QSqlQuery(db.connection().database()).exec(QStringLiteral("CREATE TABLE GONE (A INTEGER)"));
    TFQuery query(db.connection(), QStringLiteral("qGone"));
    query.setSql(QStringLiteral("SELECT A FROM GONE"));
    query.open();
    QSqlQuery(db.connection().database()).exec(QStringLiteral("DROP TABLE GONE"));
    QWidget panel;
    TFwwDBGrid grid(&panel);
    grid.setModel(new DatasetModel(&query, &grid));
    panel.show();
    grid.showButtons();
    QString shown;
    answerDialog([&shown](QWidget& box) {
        shown = static_cast<QMessageBox&>(box).text();
        static_cast<QMessageBox&>(box).accept();
    });
    GridToolButtons::button("MSB_REFRESH")->click();
    EXPECT_TRUE(shown.contains(QStringLiteral("GONE"))) << shown.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the cursor is restored";
}

}  // namespace

namespace {

// Two fields of one label, the first hidden: the list tells them apart, and the search starts on
// the field of the current column and finds the value shown there.
TEST(GridSearchFields, TheFieldOfTheCurrentColumnAmongFieldsOfOneLabel)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qPapirji"));
    query.setSql(QStringLiteral("SELECT 'X1' AS SIFRA_INT, 'KRKG' AS SIFRA UNION ALL SELECT 'X2', 'PETG'"));
    for (const auto& [name, visible] : {std::pair{"SIFRA_INT", false}, std::pair{"SIFRA", true}}) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = FieldType::String;
        d.size = 4;
        d.displayLabel = QStringLiteral("Šifra");
        d.visible = visible;
        query.addField(d);
    }
    query.open();
    QWidget panel;
    TFwwDBGrid grid(&panel);
    grid.setModel(new DatasetModel(&query, &grid));
    grid.setCurrentIndex(grid.model()->index(0, 0));
    panel.show();

    QStringList entries;
    int chosen = -1;
    answerDialog([&](QWidget& dialog) {
        auto* fields = dialog.findChild<QComboBox*>(QStringLiteral("cbIskanjePo"));
        for (int i = 0; i < fields->count(); ++i)
            entries << fields->itemText(i);
        chosen = fields->currentIndex();
        dialog.findChild<QLineEdit*>(QStringLiteral("eIskanaVrednost"))->setText(QStringLiteral("PETG"));
        dialog.findChild<QPushButton*>(QStringLiteral("bFromFirst"))->click();
        static_cast<QDialog&>(dialog).reject();
    });
    GridSearchDialog::run(&grid);
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Šifra (SIFRA_INT)"), QStringLiteral("Šifra (SIFRA)")}));
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(grid.currentIndex().row(), 1) << "found on screen";
}

}  // namespace

namespace {

// A first column that repeats: every row keeps its bar, under its own name.
TEST(GridChart, EveryValueUnderItsOwnName)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qPosli"));
    query.setSql(QStringLiteral("SELECT 'KRKG' AS VP, 10 AS ZNESEK UNION ALL SELECT 'KRKG', 5 UNION ALL SELECT 'PETG', 2 "
                                "UNION ALL SELECT 'KRKG', 7"));
    for (const auto& [name, type] : {std::pair{"VP", FieldType::String}, std::pair{"ZNESEK", FieldType::Float}}) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = 4;
        query.addField(d);
    }
    query.open();
    QWidget parent;
    auto* view = qobject_cast<QChartView*>(ChartWindow::open(&parent, query, QStringLiteral("Posli")));
    ASSERT_NE(view, nullptr);
    const QList<QAbstractAxis*> axes = view->chart()->axes(Qt::Horizontal);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_EQ(static_cast<QBarCategoryAxis*>(axes[0])->categories(),
              (QStringList{QStringLiteral("KRKG"), QStringLiteral("KRKG (2)"), QStringLiteral("PETG"), QStringLiteral("KRKG (3)")}));
    const auto* series = static_cast<QBarSeries*>(view->chart()->series().at(0));
    const QBarSet* set = series->barSets().at(0);
    QList<double> values;
    for (int i = 0; i < set->count(); ++i)
        values << set->at(i);
    EXPECT_EQ(values, (QList<double>{10, 5, 2, 7}));
    view->close();
}

}  // namespace
