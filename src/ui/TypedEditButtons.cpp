#include "ui/TypedEditButtons.h"

#include "ui/Glyphs.h"
#include "ui/TPTypedEdit.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QToolButton>

namespace {

struct Shared {
    QPointer<QToolButton> picker;
    QPointer<QToolButton> clear;
    QPointer<TPTypedEdit> edit;
};

Shared& shared()
{
    static Shared s;
    return s;
}

QToolButton* makeButton(const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QString glyphFor(TPTypedEdit* edit)
{
    if (edit->hasZoomHandler())
        return QStringLiteral("MSB_ZOOM");
    switch (edit->dataType()) {
    case TPTypedEdit::DataType::String:
        return QStringLiteral("MSB_ALPHA");
    case TPTypedEdit::DataType::Float:
        return QStringLiteral("MSB_CALCULATOR");
    case TPTypedEdit::DataType::Date:
    case TPTypedEdit::DataType::Time:
    case TPTypedEdit::DataType::DateTime:
        return QStringLiteral("MSB_CALENDAR");
    case TPTypedEdit::DataType::Integer:
        break;
    }
    return {};
}

}  // namespace

QWidget* TypedEditButtons::reserveRoom(TPTypedEdit* edit)
{
    auto* room = new QWidget(edit->parentWidget());
    room->setObjectName(edit->objectName() + QStringLiteral("Room"));
    auto* row = new QHBoxLayout(room);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(edit);
    // The buttons are square, as high as the edit (whose height its layout does not stretch).
    const int side = qMax(edit->sizeHint().height(), edit->minimumHeight());
    edit->setFixedHeight(side);
    row->addSpacing(2 * side);
    return room;
}

void TypedEditButtons::attach(TPTypedEdit* edit)
{
    QWidget* parent = edit->parentWidget();
    if (!parent)
        return;
    Shared& s = shared();
    if (!s.picker) {
        s.picker = makeButton("btnTypedEditPicker", parent);
        s.clear = makeButton("btnTypedEditClear", parent);
        s.clear->setIcon(Glyphs::pixmap(QStringLiteral("MSB_CLEAR")));
        QObject::connect(s.picker, &QToolButton::clicked, [] {
            if (shared().edit)
                shared().edit->openPicker();
        });
        QObject::connect(s.clear, &QToolButton::clicked, [] {
            if (shared().edit && shared().edit->isEnabled())
                shared().edit->clearValue();
        });
    }
    s.edit = edit;
    s.picker->setParent(parent);
    s.clear->setParent(parent);
    const QString glyph = glyphFor(edit);
    s.picker->setIcon(glyph.isEmpty() ? QIcon() : QIcon(Glyphs::pixmap(glyph)));
    s.picker->setEnabled(!edit->isReadOnly());
    const QRect g = edit->geometry();
    const int side = g.height();
    s.picker->setGeometry(g.right() + 1, g.top(), side, side);
    s.clear->setGeometry(g.right() + 1 + side, g.top(), side, side);
    s.picker->show();
    s.clear->show();
    s.picker->raise();
    s.clear->raise();
}

void TypedEditButtons::detach(TPTypedEdit* edit)
{
    Shared& s = shared();
    if (s.edit != edit || !s.picker)
        return;
    s.picker->hide();
    s.clear->hide();
    s.edit = nullptr;
}

QToolButton* TypedEditButtons::pickerButton()
{
    return shared().picker;
}

QToolButton* TypedEditButtons::clearButton()
{
    return shared().clear;
}
