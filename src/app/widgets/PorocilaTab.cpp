#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

using namespace FormControls;

// The register of reports for a period of reporting days, with the status menu of its list.
void TfZTFI::buildPorocilaTab()
{
    tsPorocila = new QWidget;
    tsPorocila->setObjectName(QStringLiteral("tsPorocila"));
    pcMain->addTab(tsPorocila, QStringLiteral("Poročila"));

    pteDanOd = dateEdit(tsPorocila, "pteDanOd");
    pteDanDo = dateEdit(tsPorocila, "pteDanDo");
    bbRefresh = button(tsPorocila, "bbRefresh", QStringLiteral("Osveži"), QStringLiteral("Osveži podatke"));
    BitBtn4 = button(tsPorocila, "BitBtn4", QStringLiteral("Brisanje poročila"));
    bbReGeneriraj = button(tsPorocila, "bbReGeneriraj", QStringLiteral("Ponovno generiraj"));

    dbPorocila = grid(tsPorocila, "dbPorocila");
    pmStatusi = new QMenu(dbPorocila);
    pmStatusi->setObjectName(QStringLiteral("pmStatusi"));
    pmPotrjeno = pmStatusi->addAction(QStringLiteral("Potrjeno"));
    pmPotrjeno->setObjectName(QStringLiteral("pmPotrjeno"));
    pmZavrnjeno = pmStatusi->addAction(QStringLiteral("Zavrnjeno"));
    pmZavrnjeno->setObjectName(QStringLiteral("pmZavrnjeno"));
    dbPorocila->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dbPorocila, &QWidget::customContextMenuRequested, pmStatusi,
            [this](const QPoint& at) { pmStatusi->popup(dbPorocila->viewport()->mapToGlobal(at)); });

    auto* top = new QHBoxLayout;
    top->addWidget(label(tsPorocila, "lblDanOd", QStringLiteral("Dan poročanja od")));
    top->addWidget(pteDanOd);
    top->addSpacing(8);
    top->addWidget(label(tsPorocila, "lblPorDanDo", QStringLiteral("Dan poročanja do")));
    top->addWidget(pteDanDo);
    top->addSpacing(16);
    top->addWidget(bbRefresh);
    top->addWidget(BitBtn4);
    top->addWidget(bbReGeneriraj);
    top->addStretch(1);

    auto* page = new QVBoxLayout(tsPorocila);
    page->addLayout(top);
    page->addWidget(dbPorocila->parentWidget(), 1);
}
