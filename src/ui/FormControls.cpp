#include "ui/FormControls.h"

#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"
#include "ui/TypedEditButtons.h"

#include <QLabel>
#include <QPushButton>

namespace FormControls {

QPushButton* button(QWidget* parent, const char* objectName, const QString& caption,
                    const QString& hint)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    b->setToolTip(hint);
    return b;
}

QLabel* label(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(objectName));
    return l;
}

QLabel* boldLabel(QWidget* parent, const char* objectName, const QString& caption)
{
    QLabel* l = label(parent, objectName, caption);
    QFont font = l->font();
    font.setBold(true);
    l->setFont(font);
    return l;
}

TPTypedEdit* dateEdit(QWidget* parent, const char* objectName)
{
    auto* e = new TPTypedEdit(parent);
    e->setObjectName(QLatin1String(objectName));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    TypedEditButtons::reserveRoom(e);
    return e;
}

TFwwDBGrid* grid(QWidget* parent, const char* objectName, const QString& caption, bool captionShown)
{
    const QString name = QLatin1String(objectName);
    // The list's role: the name without its grid prefix ("dbg", "db").
    const QString role = name.startsWith(QLatin1String("dbg")) ? name.mid(3) : name.mid(2);
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pnl") + role);
    auto* g = new TFwwDBGrid(panel);
    g->setObjectName(name);
    g->captionLabel()->setObjectName(QStringLiteral("lbl") + role);
    g->setLabelText(caption);
    if (!captionShown)
        g->setLabelAlign(TFwwDBGrid::laNone);
    return g;
}

}  // namespace FormControls
