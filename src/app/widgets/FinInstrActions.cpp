#include "app/widgets/GridColours.h"
#include "app/widgets/TfZTFI.h"

#include "app/ActionGuard.h"
#include "app/ZtfiApp.h"
#include "data/DatasetModel.h"
#include "instruments/OverrideList.h"
#include "instruments/OverrideSync.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// The override list of the tab "Fin. instr.": reopened for the typed start of an ISIN after
// every key release in eISIN and whenever the tab is entered.
void TfZTFI::connectFinInstrTab()
{
    eISIN->installEventFilter(this);
}

bool TfZTFI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == eISIN && event->type() == QEvent::KeyRelease)
        runGuarded(app_.ui(), [this] { reopenOverrideList(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfZTFI::reopenOverrideList()
{
    OverrideList& list = app_.overrideList();
    if (!overrideGridBound_) {
        auto* model = new DatasetModel(&list.query(), dbgDPATVP_SFVP);
        dbgDPATVP_SFVP->setModel(new RowColourModel(
            model, [&list](int row) { return gridColour(list.rowColour(row)); }, dbgDPATVP_SFVP));
        overrideGridBound_ = true;
    }
    list.open(eISIN->text());
}

void TfZTFI::applySelectionStop(const SelectionStop& stop)
{
    if (auto* active = pcMain->findChild<QWidget*>(stop.activeTab))
        pcMain->setCurrentWidget(active);
    for (const QString& name : stop.hiddenTabs) {
        if (auto* tab = pcMain->findChild<QWidget*>(name))
            pcMain->setTabVisible(pcMain->indexOf(tab), false);
    }
    if (stop.reopenOverrideList)
        reopenOverrideList();
    bNabor->setVisible(stop.returnButtonVisible);
}
