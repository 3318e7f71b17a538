#include "emir/widgets/EmirDialogControls.h"

#include "core/Interaction.h"
#include "data/engine/OleDate.h"
#include "ui/TPTypedEdit.h"
#include "ui/TypedEditButtons.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace {

TPTypedEdit* typedEdit(QWidget* parent, const char* objectName, TPTypedEdit::DataType type, const QString& format)
{
    auto* edit = new TPTypedEdit(parent, type);
    edit->setObjectName(QLatin1String(objectName));
    edit->setDisplayFormat(format);
    edit->clearValue();
    TypedEditButtons::reserveRoom(edit);
    return edit;
}

}  // namespace

namespace EmirDialogControls {

TPTypedEdit* dateEdit(QWidget* parent, const char* objectName)
{
    return typedEdit(parent, objectName, TPTypedEdit::DataType::Date, QStringLiteral("dd.mm.yyyy"));
}

TPTypedEdit* integerEdit(QWidget* parent, const char* objectName)
{
    return typedEdit(parent, objectName, TPTypedEdit::DataType::Integer, QStringLiteral("0"));
}

TPTypedEdit* floatEdit(QWidget* parent, const char* objectName)
{
    return typedEdit(parent, objectName, TPTypedEdit::DataType::Float, QStringLiteral(",0.00"));
}

QPushButton* button(QDialogButtonBox* box, const char* objectName, const QString& caption)
{
    QPushButton* created = box->addButton(caption, QDialogButtonBox::ActionRole);
    created->setObjectName(QLatin1String(objectName));
    created->setAutoDefault(false);
    return created;
}

void reportConversionFailures(QWidget* dialog, Interaction& ui)
{
    const QList<TPTypedEdit*> edits = dialog->findChildren<TPTypedEdit*>();
    for (TPTypedEdit* edit : edits)
        QObject::connect(edit, &TPTypedEdit::conversionFailed, dialog, [&ui](const QString& message) { ui.error(message); });
}

QDate dateOf(const TPTypedEdit* edit)
{
    const QDate day = edit->asDate();
    return day.isValid() && day > OleDate::epoch() ? day : QDate();
}

bool commitAll(QWidget* dialog)
{
    const QList<TPTypedEdit*> edits = dialog->findChildren<TPTypedEdit*>();
    for (TPTypedEdit* edit : edits) {
        if (!edit->isReadOnly() && !edit->commit())
            return false;
    }
    return true;
}

}  // namespace EmirDialogControls
