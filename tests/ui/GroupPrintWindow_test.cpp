#include "data/dataset/Queries.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/GroupPrintWindow.h"
#include "ui/TFwwDBGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList rows(const TFwwDBGrid* grid)
{
    QStringList out;
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->data(m->index(r, c)).toString();
        out << cells.join(u'|');
    }
    return out;
}

// Trades of two securities over two days: the default split groups by security and day and sums
// the amount, averages the price ("Tečaj") and counts the rows.
class GroupPrintWindowTest : public ::testing::Test {
protected:
    GroupPrintWindowTest()
    {
        query.setSql(QStringLiteral(
            "SELECT 'KRKG' AS VP, 46000 AS DAN, 10.0 AS ZNESEK, 100.0 AS CENA UNION ALL SELECT 'KRKG', 46000, 5, 110 "
            "UNION ALL SELECT 'KRKG', 46001, 1, 120 UNION ALL SELECT 'PETG', 46000, 2, 30"));
        declare("VP", FieldType::String, 4, QStringLiteral("Papir"), {});
        declare("DAN", FieldType::Date, 0, QStringLiteral("Dan"), {});
        declare("ZNESEK", FieldType::Float, 0, QStringLiteral("Znesek"), QStringLiteral(",0.00"));
        declare("CENA", FieldType::Float, 0, QStringLiteral("Tečaj enote"), QStringLiteral("0.0"));
        query.open();
        window = GroupPrintWindow::open(query, QStringLiteral("Posli"));
    }
    ~GroupPrintWindowTest() override { window->hide(); }
    void declare(const char* name, FieldType type, int size, const QString& label, const QString& format)
    {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = size;
        d.displayLabel = label;
        d.displayFormat = format;
        query.addField(d);
    }

    FixtureDb db;
    TFQuery query{db.connection(), QStringLiteral("qPosli")};
    GroupPrintWindow* window = nullptr;
};

TEST_F(GroupPrintWindowTest, DefaultSplitTogglesAndOperators)
{
    EXPECT_EQ(window->dbgTemp->model()->rowCount(), 4);
    EXPECT_EQ(texts(window->lbGroup), (QStringList{QStringLiteral("Papir"), QStringLiteral("Dan")}));
    EXPECT_EQ(texts(window->lbSum),
              (QStringList{QStringLiteral("SUM Znesek"), QStringLiteral("AVG Tečaj enote"), QStringLiteral("SUM N")}));
    EXPECT_EQ(window->eMarker->text(), QString(33, QChar(0xD7)));

    window->toggleGroup(1);
    window->cycleSum(0);
    EXPECT_EQ(texts(window->lbGroup), (QStringList{QStringLiteral("Papir"), QStringLiteral("××Dan")}));
    EXPECT_EQ(texts(window->lbSum).at(0), QStringLiteral("AVG Znesek"));
    for (int i = 0; i < 3; ++i)
        window->cycleSum(0);
    EXPECT_EQ(texts(window->lbSum).at(0), QStringLiteral("SUM Znesek")) << "SUM, AVG, MIN, MAX and round";
    window->cbOperator->setChecked(false);
    EXPECT_EQ(texts(window->lbSum).at(0), QStringLiteral("Znesek"));
    window->cbOperator->setChecked(true);

    window->resplitAt(1);
    EXPECT_EQ(texts(window->lbGroup), QStringList{QStringLiteral("Papir")});
    EXPECT_EQ(texts(window->lbSum), (QStringList{QStringLiteral("MAX Dan"), QStringLiteral("SUM Znesek"),
                                                 QStringLiteral("AVG Tečaj enote"), QStringLiteral("SUM N")}));
}

TEST_F(GroupPrintWindowTest, GroupedAndSortedViewsWithTotals)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Grupiranje in vsote - Posli"));
    EXPECT_FALSE(window->pcGroup->isTabEnabled(1)) << "no result before its button";
    EXPECT_FALSE(window->pcGroup->isTabEnabled(2));
    window->eMarker->setText(QStringLiteral("Skupaj"));
    window->showGrouped();
    EXPECT_EQ(window->pcGroup->currentIndex(), 2);
    EXPECT_EQ(window->dbgQG->captionLabel()->text(), QStringLiteral("Posli"));
    EXPECT_EQ(rows(window->dbgQG), (QStringList{
                                       QStringLiteral("KRKG|09.12.2025|15,00|105,0|2"),
                                       QStringLiteral("KRKG|10.12.2025|1,00|120,0|1"),
                                       QStringLiteral("KRKG|Skupaj|16,00|110,0|3"),
                                       QStringLiteral("PETG|09.12.2025|2,00|30,0|1"),
                                       QStringLiteral("PETG|Skupaj|2,00|30,0|1"),
                                       QStringLiteral("Skupaj|Skupaj|18,00|90,0|4"),
                                   }));
    EXPECT_EQ(window->dbgQG->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("SUM Znesek"));
    EXPECT_TRUE(window->pcGroup->isTabEnabled(2));
    EXPECT_FALSE(window->pcGroup->isTabEnabled(1));
    EXPECT_EQ(window->dbgQG->dataset()->field(2).displayWidth(), 15) << "room for the totals";

    window->showSorted();
    EXPECT_EQ(window->pcGroup->currentIndex(), 1);
    const QStringList sorted = rows(window->dbgQ);
    ASSERT_EQ(sorted.size(), 5);
    EXPECT_EQ(sorted.last(), QStringLiteral("Skupaj|Skupaj|18,00|90,0|4"));

    window->hide();
    EXPECT_EQ(window->dbgQ->model(), nullptr) << "hiding drops the results and the local table";
}

// An average of numbers shown without a format gets two to four decimals, not every digit.
TEST(GroupPrintAverages, ShownWithDecimals)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qTecaji"));
    query.setSql(QStringLiteral("SELECT 'KRKG' AS VP, 1.0 AS CENA UNION ALL SELECT 'KRKG', 2 UNION ALL SELECT 'KRKG', 2 "
                                "UNION ALL SELECT 'PETG', 3"));
    for (const auto& [name, type, label] : {std::tuple{"VP", FieldType::String, "Papir"},
                                            std::tuple{"CENA", FieldType::Float, "Tečaj"}}) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = type == FieldType::String ? 4 : 0;
        d.displayLabel = QString::fromUtf8(label);
        query.addField(d);
    }
    query.open();
    GroupPrintWindow* window = GroupPrintWindow::open(query, QStringLiteral("Tečaji"));
    window->eMarker->setText(QStringLiteral("Skupaj"));
    window->showGrouped();
    EXPECT_EQ(rows(window->dbgQG),
              (QStringList{QStringLiteral("KRKG|1,6667|3"), QStringLiteral("PETG|3,00|1"), QStringLiteral("Skupaj|2,00|4")}));
    window->hide();
}

}  // namespace
