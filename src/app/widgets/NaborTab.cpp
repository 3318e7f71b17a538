#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>

using namespace FormControls;

// Daily selection of transactions: the period, the actions on the selection, the report rows
// and the instrument code list of the selection.
void TfZTFI::buildNaborTab()
{
    tsNabor = new QWidget;
    tsNabor->setObjectName(QStringLiteral("tsNabor"));
    pcMain->addTab(tsNabor, QStringLiteral("Nabor"));

    dtpDan = dateEdit(tsNabor, "dtpDan");
    dtpDanDo = dateEdit(tsNabor, "dtpDanDo");
    bbNabor = button(tsNabor, "bbNabor", QStringLiteral("Nabor"), QStringLiteral("Nabor"));
    BitBtn3 = button(tsNabor, "BitBtn3", QStringLiteral("Brisanje nabora"),
                     QStringLiteral("Brisanje nabranih neposlanih transakcij"));
    bbExportXLS = button(tsNabor, "bbExportXLS", QStringLiteral("Izvoz nabora"),
                         QStringLiteral("Export v Excel"));
    bbGenXML = button(tsNabor, "bbGenXML", QStringLiteral("Generiranje XML poročila"),
                      QStringLiteral("Generiranje in pošiljanje poročila"));
    bTZInfo = button(tsNabor, "bTZInfo", QStringLiteral("Preveri časovni pas"));

    auto* top = new QHBoxLayout;
    top->addWidget(label(tsNabor, "lblDan", QStringLiteral("Datum od")));
    top->addWidget(dtpDan);
    top->addSpacing(8);
    top->addWidget(label(tsNabor, "lblDanDo", QStringLiteral("Datum do")));
    top->addWidget(dtpDanDo);
    top->addSpacing(16);
    top->addWidget(bbNabor);
    top->addWidget(BitBtn3);
    top->addWidget(bbExportXLS);
    top->addWidget(bbGenXML);
    top->addStretch(1);
    top->addWidget(bTZInfo);

    auto* lists = new QSplitter(Qt::Vertical, tsNabor);
    lists->setObjectName(QStringLiteral("splNabor"));
    dbgDPATVPPSL = grid(lists, "dbgDPATVPPSL", QStringLiteral("Transakcije"));
    dbSifrantFinInstr = grid(lists, "dbSifrantFinInstr",
                             QStringLiteral("Šifrant finančnih instrumentov"));
    lists->addWidget(dbgDPATVPPSL->parentWidget());
    lists->addWidget(dbSifrantFinInstr->parentWidget());
    lists->setStretchFactor(0, 3);
    lists->setStretchFactor(1, 1);

    auto* page = new QVBoxLayout(tsNabor);
    page->addLayout(top);
    page->addWidget(lists, 1);
}
