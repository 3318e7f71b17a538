#include "ui/TPTypedEdit.h"

#include "core/Formats.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// Day zero of the system's dates; dates on or before it stand for "no date".
const QDate kDayZero(1899, 12, 30);

// Digits that may be left blank; the separators stay in the text.
QString maskFor(TPTypedEdit::DataType type)
{
    switch (type) {
    case TPTypedEdit::DataType::Date:
        return QStringLiteral("00.00.0000");
    }
    return {};
}

}  // namespace

TPTypedEdit::TPTypedEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setInputMask(maskFor(dataType_));
    connect(this, &QLineEdit::textEdited, this, [this] { touched_ = true; });
    switch (dataType_) {
    case DataType::Date:
        value_ = QDate::currentDate();
        break;
    }
    showValue();
}

QDate TPTypedEdit::asDate() const
{
    return value_.toDate();
}

void TPTypedEdit::setAsDate(const QDate& date)
{
    if (date.isValid() && date > kDayZero)
        value_ = date;
    else
        value_ = QVariant();
    showValue();
    emit changed();
}

void TPTypedEdit::clearValue()
{
    value_ = QVariant();
    showValue();
    emit changed();
}

bool TPTypedEdit::commit()
{
    if (!touched_)
        return true;
    const std::optional<QVariant> value = valueFromText();
    if (!value) {
        setFocus(Qt::OtherFocusReason);
        emit conversionFailed(QStringLiteral("'%1' is not a valid date").arg(text()));
        return false;
    }
    value_ = *value;
    showValue();
    emit changed();
    return true;
}

std::optional<QVariant> TPTypedEdit::valueFromText() const
{
    QString bare = text();
    bare.remove(QLatin1Char(' '));
    switch (dataType_) {
    case DataType::Date: {
        if (QString(bare).remove(QLatin1Char('.')).isEmpty())
            return QVariant();
        const QDate date = Formats::parseDate(bare);
        if (!date.isValid())
            return std::nullopt;
        return date > kDayZero ? QVariant(date) : QVariant();
    }
    }
    return std::nullopt;
}

void TPTypedEdit::showValue()
{
    switch (dataType_) {
    case DataType::Date:
        setText(value_.isNull() ? QString() : Formats::dateText(value_.toDate()));
        break;
    }
    touched_ = false;
}

void TPTypedEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commit();
        return;
    case Qt::Key_Escape:
        clearValue();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void TPTypedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another window taking the focus (a message box, a menu) does not leave the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (commit())
        emit exited();
}
