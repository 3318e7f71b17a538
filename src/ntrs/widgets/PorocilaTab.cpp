#include "ntrs/widgets/PorocilaTab.h"

#include "core/ActionGuard.h"
#include "data/dataset/DatasetModel.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "state/ZtfiApp.h"
#include "ui/FormControls.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace FormControls;

PorocilaTab::PorocilaTab(ZtfiApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("tsPorocila"));

    pteDanOd = dateEdit(this, "pteDanOd");
    pteDanDo = dateEdit(this, "pteDanDo");
    bbRefresh = button(this, "bbRefresh", QStringLiteral("Osveži"), QStringLiteral("Osveži podatke"));
    BitBtn4 = button(this, "BitBtn4", QStringLiteral("Brisanje poročila"));
    bbReGeneriraj = button(this, "bbReGeneriraj", QStringLiteral("Ponovno generiraj"));

    dbPorocila = grid(this, "dbPorocila", QStringLiteral("Poročila"));
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
    top->addWidget(label(this, "lblDanOd", QStringLiteral("Dan poročanja od")));
    top->addWidget(pteDanOd->parentWidget());
    top->addSpacing(8);
    top->addWidget(label(this, "lblPorDanDo", QStringLiteral("Dan poročanja do")));
    top->addWidget(pteDanDo->parentWidget());
    top->addSpacing(16);
    top->addWidget(bbRefresh);
    top->addWidget(BitBtn4);
    top->addWidget(bbReGeneriraj);
    top->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(dbPorocila->parentWidget(), 1);

    for (QPushButton* button : {BitBtn4, bbReGeneriraj})
        button->setEnabled(false);
    for (QAction* action : {pmPotrjeno, pmZavrnjeno})
        action->setEnabled(false);
    connect(bbRefresh, &QPushButton::clicked, this, &PorocilaTab::bbRefreshClick);
    for (TPTypedEdit* edit : {pteDanOd, pteDanDo})
        connect(edit, &TPTypedEdit::exited, this, &PorocilaTab::bbRefreshClick);
    connect(pmPotrjeno, &QAction::triggered, this, &PorocilaTab::pmPotrjenoClick);
    connect(pmZavrnjeno, &QAction::triggered, this, &PorocilaTab::pmZavrnjenoClick);
    connect(BitBtn4, &QPushButton::clicked, this, &PorocilaTab::BitBtn4Click);
    connect(bbReGeneriraj, &QPushButton::clicked, this, &PorocilaTab::bbReGenerirajClick);
}

PorocilaTab::~PorocilaTab() = default;

ReportRegister& PorocilaTab::reportRegister()
{
    if (register_)
        return *register_;
    register_ = std::make_unique<ReportRegister>(app_.connection(), app_.dialect(), app_.auditTrail(),
                                                 app_.params().auditUser, app_.programFolder());
    TQueryDM& list = register_->query();
    auto* model = new DatasetModel(&list, dbPorocila);
    dbPorocila->setModel(model);

    // The grid's current row is the list's current row, both ways.
    const auto showCurrent = [this, model, &list] {
        const int row = list.recNo();
        QItemSelectionModel* selection = dbPorocila->selectionModel();
        if (row >= 0 && selection->currentIndex().row() != row)
            selection->setCurrentIndex(model->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        dsDPATVPDataChange();
    };
    connect(&list, &Dataset::currentRowChanged, this, showCurrent);
    connect(&list, &Dataset::datasetChanged, this, showCurrent);
    connect(dbPorocila->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&list](const QModelIndex& current) {
                if (current.isValid() && list.isActive() && current.row() != list.recNo())
                    list.setRecNo(current.row());
            });
    return *register_;
}

void PorocilaTab::bbRefreshClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().refresh(pteDanOd->asDate(), pteDanDo->asDate()); });
}

void PorocilaTab::dsDPATVPDataChange()
{
    RegisterActions open;
    runGuarded(app_.ui(), [this, &open] { open = reportRegister().actions(); });
    bbReGeneriraj->setEnabled(open.regenerate);
    pmPotrjeno->setEnabled(open.setStatus);
    pmZavrnjeno->setEnabled(open.setStatus);
    BitBtn4->setEnabled(open.deleteReport);
}

void PorocilaTab::pmPotrjenoClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().confirm(); });
}

void PorocilaTab::pmZavrnjenoClick()
{
    runGuarded(app_.ui(), [this] { reportRegister().reject(); });
}

void PorocilaTab::BitBtn4Click()
{
    runGuarded(app_.ui(), [this] { reportRegister().deleteReport(app_.ui()); });
}

void PorocilaTab::bbReGenerirajClick()
{
    runGuarded(app_.ui(), [this] {
        const std::optional<RegisterRow> row = reportRegister().currentRow();
        if (!row)
            return;
        emit regenerationStarting();
        if (!regeneration_)
            regeneration_ = std::make_unique<Regeneration>(app_);
        // A step that fails leaves the tabs as they are; its message is shown.
        emit regenerated(regeneration_->bbReGenerirajClick(*row));
    });
}
