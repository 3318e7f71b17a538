// Every tab and dialog at its minimum size and at 1400x900, with each typed edit focused in turn
// (its side buttons show only then): no visible control covers another or leaves its parent.
#include "app/widgets/TfZTFI.h"

#include "data/dataset/DatasetModel.h"
#include "data/dataset/Queries.h"
#include "emir/EmirFixture.h"
#include "emir/widgets/TfrmEMIRPslDlg.h"
#include "emir/widgets/TfrmEmirRptDlg.h"
#include "instruments/widgets/TfFinInstrDlg.h"
#include "signing/widgets/TfPasswordDlg.h"
#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "ui/GridSearchDialog.h"
#include "ui/GridSortDialog.h"
#include "ui/GroupPrintWindow.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace emirfixture;

namespace {

// What a user sees and clicks as one piece; the parts of such a piece (a list's scroll bars,
// a spin box's edit) are its own business.
bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const QTabBar*>(w);
}

bool partOfAControl(const QWidget* w, const QWidget* top)
{
    for (const QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget()) {
        if (isControl(p))
            return true;
    }
    return false;
}

QString nameOf(const QWidget* w)
{
    QString name = w->objectName();
    if (name.isEmpty()) {
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            name = QLatin1Char('"') + b->text() + QLatin1Char('"');
        else if (const auto* l = qobject_cast<const QLabel*>(w))
            name = QLatin1Char('"') + l->text() + QLatin1Char('"');
    }
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + name;
}

// The faults of the window as it is shown now: controls that intersect, controls cut by their
// parent's edge.
QStringList layoutFaults(QWidget* top)
{
    QApplication::processEvents();
    QList<QWidget*> controls;
    const QList<QWidget*> all = top->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (w->isVisible() && !w->isWindow() && isControl(w) && !partOfAControl(w, top) && !w->size().isEmpty())
            controls << w;
    }
    QStringList faults;
    for (QWidget* w : controls) {
        if (!w->parentWidget()->rect().contains(w->geometry()))
            faults << nameOf(w) + QStringLiteral(" is cut by its parent's edge");
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect a(controls[i]->mapTo(top, QPoint(0, 0)), controls[i]->size());
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(top, QPoint(0, 0)), controls[j]->size());
            if (a.intersects(b))
                faults << nameOf(controls[i]) + QStringLiteral(" and ") + nameOf(controls[j]) +
                              QStringLiteral(" overlap");
        }
    }
    return faults;
}

void focus(QWidget* w, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(w, &event);
}

// The window's faults at both sizes, first unfocused, then with each visible typed edit focused.
// `show` brings a part of the window forward (a tab) before each look.
void walk(QWidget* top, const QString& what, const std::function<void()>& show = [] {})
{
    const QList<QSize> sizes{top->minimumSizeHint(), QSize(1400, 900)};
    for (const QSize& size : sizes) {
        top->resize(size);
        show();
        const QString where = what + QStringLiteral(" at %1x%2").arg(top->width()).arg(top->height());
        EXPECT_EQ(layoutFaults(top), QStringList()) << where.toStdString();
        const QList<TPTypedEdit*> edits = top->findChildren<TPTypedEdit*>();
        for (TPTypedEdit* edit : edits) {
            if (!edit->isVisible())
                continue;
            focus(edit, QEvent::FocusIn);
            EXPECT_EQ(layoutFaults(top), QStringList())
                << (where + QStringLiteral(", ") + edit->objectName() + QStringLiteral(" focused")).toStdString();
            focus(edit, QEvent::FocusOut);
        }
    }
}

// Works the next modal dialog from a timer, so that the test never waits on it.
void walkNextDialog(const QString& what)
{
    QTimer::singleShot(0, [what] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            walk(dialog, what);
            dialog->reject();
        } else {
            ADD_FAILURE() << "no dialog: " << what.toStdString();
        }
    });
}

class LayoutWalkTest : public ::testing::Test {
protected:
    LayoutWalkTest() : fixture(db)
    {
        add(db, Report{.id = 1, .serial = 1});
        add(db, Dispute{.id = 1, .report = 1});
        fixture.writeIni();
        window = std::make_unique<TfZTFI>(fixture.app());
        window->show();
    }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window;
};

TEST_F(LayoutWalkTest, EveryTabOfTheMainWindow)
{
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("pcMain"));
    ASSERT_NE(tabs, nullptr);
    for (int index = 0; index < tabs->count(); ++index)
        walk(window.get(), QStringLiteral("tab ") + tabs->tabText(index), [tabs, index] { tabs->setCurrentIndex(index); });
}

TEST_F(LayoutWalkTest, EveryDialog)
{
    ZtfiApp& app = fixture.app();
    {
        TfrmEmirRptDlg report(app.connection(), app.dialect(), fixture.ui(), 1, window.get());
        report.show();
        walk(&report, QStringLiteral("EMIR report"));
    }
    {
        TfrmEMIRPslDlg dispute(app.connection(), app.dialect(), fixture.ui(), 1, 1, window.get());
        dispute.show();
        walk(&dispute, QStringLiteral("EMIR dispute"));
    }
    {
        TfFinInstrDlg instrument(window.get());
        instrument.show();
        walk(&instrument, QStringLiteral("instrument"));
    }
    {
        TfPasswordDlg password({}, db.folder() + QStringLiteral("/ZTFI.ini"), window.get());
        password.show();
        walk(&password, QStringLiteral("signing"));
    }
}

TEST_F(LayoutWalkTest, TheGridsWindowsAndDialogs)
{
    TFQuery query(db.connection(), QStringLiteral("qPapirji"));
    query.setSql(QStringLiteral("SELECT 'XETR' AS MIC, 'Krka' AS NAZIV, 98.5 AS CENA UNION ALL SELECT 'XLJU', 'Petrol', 31"));
    for (const auto& [name, type, label] : {std::tuple{"MIC", FieldType::String, "MIC"},
                                            std::tuple{"NAZIV", FieldType::String, "Naziv"},
                                            std::tuple{"CENA", FieldType::Float, "Tečaj"}}) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = 20;
        d.displayLabel = QString::fromUtf8(label);
        query.addField(d);
    }
    query.setCaption(QStringLiteral("Vrednostni papirji"));
    query.open();
    QWidget panel;
    TFwwDBGrid grid(&panel);
    grid.setModel(new DatasetModel(&query, &grid));
    panel.show();
    // The tool buttons of the grid, shown by a click on a title.
    emit grid.horizontalHeader()->sectionClicked(0);
    walk(&panel, QStringLiteral("grid with its buttons"));

    walkNextDialog(QStringLiteral("search"));
    GridSearchDialog::run(&grid);
    walkNextDialog(QStringLiteral("sort"));
    GridSortDialog::run(&grid);

    GroupPrintWindow* grouped = GroupPrintWindow::open(query, QStringLiteral("Vrednostni papirji"));
    walk(grouped, QStringLiteral("grouped print"));
    grouped->hide();
}

}  // namespace
