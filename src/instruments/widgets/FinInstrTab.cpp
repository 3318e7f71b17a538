#include "instruments/widgets/FinInstrTab.h"

#include "core/ActionGuard.h"
#include "data/dataset/DatasetModel.h"
#include "instruments/InstrumentChoice.h"
#include "instruments/OverrideList.h"
#include "instruments/widgets/TfFinInstrDlg.h"
#include "state/ZtfiApp.h"
#include "ui/FormControls.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormControls;

namespace {

// The text colour of an override row; an invalid colour for a row drawn as usual.
QColor rowColour(OverrideList::RowColour colour)
{
    switch (colour) {
    case OverrideList::RowColour::Pending:
        return QColor(255, 0, 0);
    case OverrideList::RowColour::Replaced:
        return QColor(192, 192, 192);  // silver grey
    case OverrideList::RowColour::Normal:
        break;
    }
    return QColor();
}

}  // namespace

FinInstrTab::FinInstrTab(ZtfiApp& app, std::function<QDate()> instrumentDay, QWidget* parent)
    : QWidget(parent), app_(app), instrumentDay_(std::move(instrumentDay))
{
    setObjectName(QStringLiteral("tsFinInstr"));

    eISIN = new QLineEdit(this);
    eISIN->setObjectName(QStringLiteral("eISIN"));
    eISIN->setMaximumWidth(eISIN->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));
    // An upper-case input: whatever is typed is shown and kept in capitals.
    connect(eISIN, &QLineEdit::textEdited, eISIN, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = eISIN->cursorPosition();
        eISIN->setText(upper);
        eISIN->setCursorPosition(cursor);
    });
    bNabor = button(this, "bNabor", QStringLiteral("Nazaj na nabor"));
    bNabor->hide();
    dbgDPATVP_SFVP = grid(this, "dbgDPATVP_SFVP", QStringLiteral("Fin. instr."));

    auto* top = new QHBoxLayout;
    top->addWidget(label(this, "lblISIN", QStringLiteral("ISIN:")));
    top->addWidget(eISIN);
    top->addSpacing(16);
    top->addWidget(bNabor);
    top->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(dbgDPATVP_SFVP->parentWidget(), 1);

    eISIN->installEventFilter(this);
    connect(dbgDPATVP_SFVP, &TFwwDBGrid::zoom, this, &FinInstrTab::dbgDPATVP_SFVPZoom);
    connect(bNabor, &QPushButton::clicked, this, &FinInstrTab::returnToSelection);
}

bool FinInstrTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == eISIN && event->type() == QEvent::KeyRelease)
        runGuarded(app_.ui(), [this] { reopenOverrideList(); });
    return QWidget::eventFilter(watched, event);
}

void FinInstrTab::reopenOverrideList()
{
    OverrideList& list = sharedOverrideList(app_);
    if (!gridBound_) {
        auto* model = new DatasetModel(&list.query(), dbgDPATVP_SFVP);
        dbgDPATVP_SFVP->setModel(new RowColourModel(
            model, [&list](int row) { return rowColour(list.rowColour(row)); }, dbgDPATVP_SFVP));
        gridBound_ = true;
    }
    list.open(eISIN->text());
}

void FinInstrTab::setReturnVisible(bool visible)
{
    bNabor->setVisible(visible);
}

void FinInstrTab::dbgDPATVP_SFVPZoom()
{
    runGuarded(app_.ui(), [this] {
        OverrideList& list = sharedOverrideList(app_);
        TQueryDM& rows = list.query();
        const QModelIndex current = dbgDPATVP_SFVP->currentIndex();
        const int row = current.isValid() ? current.row() : rows.recNo();
        if (!rows.isActive() || row < 0 || row >= rows.recordCount())
            return;
        const OverrideRow chosenFor = OverrideRow::of(rows, row);
        InstrumentChoice choice(app_.connection(), app_.dialect(), app_.auditTrail(),
                                app_.params().auditUser);
        TfFinInstrDlg dialog(this);
        dialog.setOffer(choice.offer(chosenFor));
        if (dialog.exec() == QDialog::Accepted) {
            // A refused text or a failed write ends the action here with its message.
            choice.chooseText(chosenFor, dialog.chosenText(), instrumentDay_());
            reopenOverrideList();
        }
        bNabor->setVisible(list.returnButtonVisible());
        if (rows.isActive() && !rows.isEmpty())
            rows.first();
    });
}
