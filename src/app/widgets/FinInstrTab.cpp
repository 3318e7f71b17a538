#include "app/widgets/FormControls.h"
#include "app/widgets/TfZTFI.h"

#include "ui/TFwwDBGrid.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace FormControls;

// The instrument overrides, searched by the start of the ISIN.
void TfZTFI::buildFinInstrTab()
{
    tsFinInstr = new QWidget;
    tsFinInstr->setObjectName(QStringLiteral("tsFinInstr"));
    pcMain->addTab(tsFinInstr, QStringLiteral("Fin. instr."));

    eISIN = new QLineEdit(tsFinInstr);
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
    bNabor = button(tsFinInstr, "bNabor", QStringLiteral("Nazaj na nabor"));
    bNabor->hide();
    dbgDPATVP_SFVP = grid(tsFinInstr, "dbgDPATVP_SFVP");

    auto* top = new QHBoxLayout;
    top->addWidget(label(tsFinInstr, "lblISIN", QStringLiteral("ISIN:")));
    top->addWidget(eISIN);
    top->addSpacing(16);
    top->addWidget(bNabor);
    top->addStretch(1);

    auto* page = new QVBoxLayout(tsFinInstr);
    page->addLayout(top);
    page->addWidget(dbgDPATVP_SFVP->parentWidget(), 1);
}
