#include "ui/GridToolButtons.h"

#include "core/Error.h"
#include "ui/Glyphs.h"
#include "ui/QtInteraction.h"
#include "ui/TFwwDBGrid.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QToolButton>

namespace {

struct ButtonDef {
    const char* glyph;
    TFwwDBGrid::GridButton member;
    const char* hint;
    void (TFwwDBGrid::*action)();
};

const ButtonDef kButtons[] = {
    {"MSB_ZOOM", TFwwDBGrid::gbZoom, "Podrobnosti", &TFwwDBGrid::zoomAction},
    {"MSB_VIEW", TFwwDBGrid::gbView, "Stolpci", &TFwwDBGrid::viewAction},
    {"MSB_PRINT", TFwwDBGrid::gbPrint, "Tiskanje", &TFwwDBGrid::printAction},
    {"MSB_PRINTGROUP", TFwwDBGrid::gbPrintGroup, "Grupiranje", &TFwwDBGrid::printGroupAction},
    {"MSB_LOCATE", TFwwDBGrid::gbLocate, "Iskanje", &TFwwDBGrid::locateAction},
    {"MSB_REFRESH", TFwwDBGrid::gbRefresh, "Osveži", &TFwwDBGrid::refreshAction},
    {"MSB_SORT", TFwwDBGrid::gbSort, "Razvrščanje", &TFwwDBGrid::sortAction},
    {"MSB_TITLEWORDWRAP", TFwwDBGrid::gbTitleWordWrap, "Prelom naslovov", &TFwwDBGrid::titleWordWrapAction},
    {"MSB_BAR", TFwwDBGrid::gbGraph, "Graf", &TFwwDBGrid::graphAction},
    {"MSB_COPYTOCLIP", TFwwDBGrid::gbCopyToClip, "Kopiraj v odložišče", &TFwwDBGrid::copyToClipAction},
    {"MSB_EXPORT", TFwwDBGrid::gbExport, "Izvoz", &TFwwDBGrid::exportAction},
};

struct Shared {
    QWidget* holder = nullptr;  // keeps the buttons while no grid shows them
    QList<QToolButton*> buttons;
    QPointer<TFwwDBGrid> owner;
};

Shared& shared()
{
    static Shared s;
    if (!s.holder) {
        s.holder = new QWidget;
        s.holder->setAttribute(Qt::WA_DontShowOnScreen);
        for (const ButtonDef& def : kButtons) {
            auto* b = new QToolButton(s.holder);
            b->setObjectName(QStringLiteral("btnGrid") + QLatin1String(def.glyph));
            b->setAutoRaise(true);
            b->setFixedSize(18, 18);
            b->setIconSize(QSize(16, 16));
            b->setIcon(Glyphs::pixmap(QLatin1String(def.glyph)));
            b->setToolTip(QString::fromUtf8(def.hint));
            b->setFocusPolicy(Qt::NoFocus);
            QObject::connect(b, &QToolButton::clicked, [action = def.action] {
                if (shared().owner && action)
                    GridToolButtons::run(shared().owner, action);
            });
            s.buttons.append(b);
        }
    }
    return s;
}

}  // namespace

void GridToolButtons::placeOn(TFwwDBGrid* grid, QHBoxLayout* row)
{
    Shared& s = shared();
    if (s.owner && s.owner != grid)
        s.owner->hideButtons();
    s.owner = grid;
    for (qsizetype i = 0; i < s.buttons.size(); ++i) {
        QToolButton* b = s.buttons[i];
        b->setParent(row->parentWidget());
        b->setEnabled(kButtons[i].action && grid->gridButtons().testFlag(kButtons[i].member));
        row->addWidget(b);
        b->show();
    }
}

void GridToolButtons::release(TFwwDBGrid* grid)
{
    Shared& s = shared();
    if (s.owner != grid)
        return;
    for (QToolButton* b : s.buttons) {
        b->hide();
        b->setParent(s.holder);
    }
    s.owner = nullptr;
}

void GridToolButtons::run(TFwwDBGrid* grid, void (TFwwDBGrid::*action)())
{
    // An error of the dataset or of a file is shown; it must not end the program.
    try {
        (grid->*action)();
    } catch (const ZtfiError& e) {
        QMessageBox::critical(grid, QtInteraction::messageTitle(), e.message());
    } catch (const std::exception& e) {
        QMessageBox::critical(grid, QtInteraction::messageTitle(), QString::fromLocal8Bit(e.what()));
    }
}

TFwwDBGrid* GridToolButtons::owner()
{
    return shared().owner;
}

QToolButton* GridToolButtons::button(const char* glyph)
{
    for (QToolButton* b : shared().buttons) {
        if (b->objectName() == QStringLiteral("btnGrid") + QLatin1String(glyph))
            return b;
    }
    return nullptr;
}
