#include "ui/TPTypedEdit.h"

#include "core/Formats.h"
#include "data/dataset/DisplayFormat.h"
#include "ui/DateTextParser.h"
#include "ui/Pickers.h"
#include "ui/TypedEditButtons.h"
#include "ui/UiDefaults.h"

#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QLocale>
#include <QMetaMethod>
#include <QTimer>

namespace {

const QString kValueMime = QStringLiteral("application/x-ztfi-typed-value");

// Day zero of the system's dates; dates on or before it stand for "no date".
const QDate kDayZero(1899, 12, 30);

// Digits that may be left blank; the separators stay in the text.
QString maskFor(TPTypedEdit::DataType type)
{
    switch (type) {
    case TPTypedEdit::DataType::Date:
        return QStringLiteral("00.00.0000");
    case TPTypedEdit::DataType::Time:
        return QStringLiteral("00:00:00");
    case TPTypedEdit::DataType::DateTime:
        return QStringLiteral("00.00.0000 00:00");
    default:
        return {};
    }
}

// "d.m.yyyy" with an optional "hh:mm[:ss]"; invalid when the text is no date-time.
QDateTime parseDateTime(const QString& text)
{
    const QStringList parts = text.simplified().split(u' ');
    const QDate date = Formats::parseDate(parts.value(0));
    if (!date.isValid() || parts.size() > 2)
        return {};
    QTime time(0, 0);
    if (parts.size() == 2) {
        time = QTime::fromString(parts[1], QStringLiteral("h:m:s"));
        if (!time.isValid())
            time = QTime::fromString(parts[1], QStringLiteral("h:m"));
        if (!time.isValid())
            return {};
    }
    return QDateTime(date, time);
}

}  // namespace

TPTypedEdit::TPTypedEdit(QWidget* parent, DataType type)
    : QLineEdit(parent), dataType_(type)
{
    const UiDefaults& ui = UiDefaults::get();
    QFont font = ui.dataFont();
    setFont(font);
    setMinimumHeight(ui.lineHeight + 4);
    textColour_ = palette().color(QPalette::Text);
    setInputMask(maskFor(dataType_));
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!touched_) {
            touched_ = true;
            emit touched();
        }
    });
    connect(this, &QLineEdit::textChanged, this, &TPTypedEdit::textWasChanged);
    setAcceptDrops(true);
    if (dataType_ == DataType::Date)
        value_ = QDate::currentDate();
    showValue();
}

void TPTypedEdit::setDataType(DataType type)
{
    if (type == dataType_)
        return;
    dataType_ = type;
    value_ = QVariant();
    setInputMask(hasZoomHandler() ? QString() : maskFor(dataType_));
    showValue();
}

void TPTypedEdit::setDisplayFormat(const QString& format)
{
    displayFormat_ = format;
    showValue();
}

QDate TPTypedEdit::asDate() const
{
    if (value_.isNull())
        return {};
    if (value_.typeId() == QMetaType::QDateTime)
        return value_.toDateTime().date();
    return value_.toDate();
}

QDateTime TPTypedEdit::asDateTime() const
{
    switch (value_.typeId()) {
    case QMetaType::QDate:
        return QDateTime(value_.toDate(), QTime(0, 0));
    case QMetaType::QDateTime:
        return value_.toDateTime();
    case QMetaType::QTime:
        return QDateTime(kDayZero, value_.toTime());
    default:
        return DateTextParser::dayZero();
    }
}

double TPTypedEdit::asFloat() const
{
    return value_.isNull() ? 0.0 : value_.toDouble();
}

qint64 TPTypedEdit::asInteger() const
{
    return value_.isNull() ? 0 : qRound64(value_.toDouble());
}

QString TPTypedEdit::asString() const
{
    return value_.isNull() ? QString() : textOfValue();
}

void TPTypedEdit::setAsDate(const QDate& date)
{
    if (!date.isValid() || date <= kDayZero) {
        clearValue();
        return;
    }
    setAsDateTime(QDateTime(date, QTime(0, 0)));
}

void TPTypedEdit::setAsDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid() || dateTime <= DateTextParser::dayZero()) {
        clearValue();
        return;
    }
    if (!dataTypeFixed_)
        setDataType(dateTime.time() == QTime(0, 0) ? DataType::Date : DataType::DateTime);
    switch (dataType_) {
    case DataType::Date:
        store(dateTime.date());
        break;
    case DataType::Time:
        store(dateTime.time());
        break;
    case DataType::DateTime:
        store(dateTime);
        break;
    case DataType::Float:
        store(double(kDayZero.daysTo(dateTime.date())) + dateTime.time().msecsSinceStartOfDay() / 86400000.0);
        break;
    case DataType::Integer:
        store(qint64(kDayZero.daysTo(dateTime.date())));
        break;
    case DataType::String:
        store(Formats::dateTimeText(dateTime));
        break;
    }
}

void TPTypedEdit::setAsFloat(double value)
{
    if (!dataTypeFixed_)
        setDataType(DataType::Float);
    switch (dataType_) {
    case DataType::Integer:
        store(qRound64(value));
        break;
    case DataType::String:
        store(Formats::numberText(value));
        break;
    case DataType::Float:
        store(value);
        break;
    default:
        setAsDateTime(QDateTime(kDayZero, QTime(0, 0)).addMSecs(qRound64(value * 86400000.0)));
    }
}

void TPTypedEdit::setAsInteger(qint64 value)
{
    if (!dataTypeFixed_)
        setDataType(DataType::Integer);
    if (dataType_ == DataType::String)
        store(QString::number(value));
    else
        setAsFloat(double(value));
}

void TPTypedEdit::setAsString(const QString& value)
{
    if (!dataTypeFixed_)
        setDataType(DataType::String);
    if (dataType_ == DataType::String) {
        store(value.isEmpty() ? QVariant() : QVariant(value));
        return;
    }
    const QString before = text();
    setText(value);
    touched_ = true;
    if (!commit())
        setText(before);
}

void TPTypedEdit::clearValue()
{
    store(QVariant());
}

void TPTypedEdit::store(const QVariant& value)
{
    value_ = value;
    showValue();
    emit changed();
}

bool TPTypedEdit::commit()
{
    if (!touched_)
        return true;
    QString message;
    const std::optional<QVariant> value = valueFromText(&message);
    if (!value) {
        emit conversionFailed(message);
        if (isVisible()) {
            // The focus is handed over only after the field that takes it has got it.
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        }
        return false;
    }
    store(*value);
    return true;
}

std::optional<QVariant> TPTypedEdit::valueFromText(QString* message) const
{
    const QString typed = text();
    if (typed.trimmed().isEmpty() || typed.trimmed() == QLatin1String("?"))
        return QVariant();
    const QLocale c = QLocale::c();
    bool ok = false;
    switch (dataType_) {
    case DataType::String:
        return QVariant(typed);
    case DataType::Float: {
        QString bare = typed;
        bare.remove(u' ').remove(u'.').replace(u',', u'.');
        const double value = c.toDouble(bare, &ok);
        if (ok)
            return QVariant(value);
        *message = QStringLiteral("'%1' ni veljavno število").arg(typed);
        return std::nullopt;
    }
    case DataType::Integer: {
        QString bare = typed;
        bare.remove(u' ');
        const qint64 value = c.toLongLong(bare, &ok);
        if (ok)
            return QVariant(value);
        *message = QStringLiteral("'%1' ni veljavno celo število").arg(typed);
        return std::nullopt;
    }
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime:
        break;
    }
    QString bare = typed;
    bare.remove(u' ');
    if (QString(bare).remove(u'.').remove(u':').remove(u'/').isEmpty())
        return QVariant();
    if (!displayFormat_.isEmpty() && dataType_ != DataType::Time) {
        const QDateTime value = DateTextParser::parse(displayFormat_, typed);
        if (dataType_ == DataType::Date)
            return QVariant(value.date());
        return QVariant(value);
    }
    switch (dataType_) {
    case DataType::Date: {
        const QDate date = Formats::parseDate(bare);
        if (date.isValid())
            return QVariant(date);
        *message = QStringLiteral("'%1' ni veljaven datum").arg(typed);
        return std::nullopt;
    }
    case DataType::Time: {
        QTime time = QTime::fromString(bare, QStringLiteral("h:m:s"));
        if (!time.isValid())
            time = QTime::fromString(bare, QStringLiteral("h:m"));
        if (time.isValid())
            return QVariant(time);
        *message = QStringLiteral("'%1' ni veljaven čas").arg(typed);
        return std::nullopt;
    }
    default: {
        const QDateTime value = parseDateTime(typed);
        if (value.isValid())
            return QVariant(value);
        *message = QStringLiteral("'%1' ni veljaven datum in čas").arg(typed);
        return std::nullopt;
    }
    }
}

QString TPTypedEdit::textOfValue() const
{
    if (value_.isNull())
        return {};
    switch (dataType_) {
    case DataType::String:
        return value_.toString();
    case DataType::Float:
    case DataType::Integer:
        if (!displayFormat_.isEmpty())
            return DisplayFormat::formatNumber(displayFormat_, value_.toDouble());
        return dataType_ == DataType::Integer ? QString::number(value_.toLongLong())
                                              : Formats::numberText(value_.toDouble());
    case DataType::Date:
        if (!displayFormat_.isEmpty())
            return DisplayFormat::formatDateTime(displayFormat_, asDateTime());
        return Formats::dateText(value_.toDate());
    case DataType::Time:
        return Formats::timeText(value_.toTime());
    case DataType::DateTime:
        if (!displayFormat_.isEmpty())
            return DisplayFormat::formatDateTime(displayFormat_, asDateTime());
        return Formats::dateText(value_.toDateTime().date()) + u' ' +
               value_.toDateTime().time().toString(QStringLiteral("hh:mm"));
    }
    return {};
}

void TPTypedEdit::showValue()
{
    showing_ = true;
    setText(textOfValue());
    shownText_ = text();
    showing_ = false;
    touched_ = false;
    textWasChanged();
}

void TPTypedEdit::textWasChanged()
{
    if (showing_)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, text() == shownText_ ? textColour_ : QColor(Qt::red));
    setPalette(palette);
}

bool TPTypedEdit::hasZoomHandler() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&TPTypedEdit::zoom));
}

void TPTypedEdit::openPicker()
{
    if (!isEnabled())
        return;
    if (hasZoomHandler()) {
        emit zoom();
        return;
    }
    switch (dataType_) {
    case DataType::String:
        if (const auto text = Pickers::text(this, asString()))
            setAsString(*text);
        break;
    case DataType::Float:
        if (const auto number = Pickers::number(this, asFloat()))
            setAsFloat(*number);
        break;
    case DataType::Date:
        if (const auto date = Pickers::date(this, asDate()))
            setAsDateTime(QDateTime(*date, QTime(0, 0)));
        break;
    case DataType::Time:
        if (const auto time = Pickers::time(this, isNull() ? QTime::currentTime() : value_.toTime()))
            setAsDateTime(QDateTime(kDayZero, *time));
        break;
    case DataType::DateTime: {
        const auto date = Pickers::date(this, asDate());
        if (!date)
            break;
        const auto time = Pickers::time(this, isNull() ? QTime::currentTime() : asDateTime().time());
        if (time)
            setAsDateTime(QDateTime(*date, *time));
        break;
    }
    case DataType::Integer:
        break;
    }
}

void TPTypedEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (touched_)
            commit();
        else if (dataType_ != DataType::String)
            openPicker();
        return;
    case Qt::Key_Escape:
        clearValue();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void TPTypedEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    openPicker();
}

void TPTypedEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    TypedEditButtons::attach(this);
}

void TPTypedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another window taking the focus (a message box, a picker, a menu) does not leave the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    TypedEditButtons::detach(this);
    if (commit())
        emit exited();
}

QMimeData* TPTypedEdit::valueMimeData() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << int(dataType_) << value_;
    auto* mime = new QMimeData;
    mime->setData(kValueMime, bytes);
    mime->setText(text());
    return mime;
}

void TPTypedEdit::mousePressEvent(QMouseEvent* event)
{
    dragArmed_ = event->button() == Qt::LeftButton;
    dragStart_ = event->position().toPoint();
    QLineEdit::mousePressEvent(event);
}

void TPTypedEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (dragArmed_ && event->buttons().testFlag(Qt::LeftButton) &&
        (event->position().toPoint() - dragStart_).manhattanLength() >= QApplication::startDragDistance()) {
        dragArmed_ = false;
        auto* drag = new QDrag(this);
        drag->setMimeData(valueMimeData());
        drag->exec(Qt::CopyAction);
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

namespace {

// The type and value a drag of a typed edit carries; nullopt for any other drag.
std::optional<std::pair<int, QVariant>> draggedValue(const QMimeData* mime)
{
    if (!mime || !mime->hasFormat(kValueMime))
        return std::nullopt;
    QDataStream in(mime->data(kValueMime));
    int type = -1;
    QVariant value;
    in >> type >> value;
    return std::make_pair(type, value);
}

}  // namespace

bool TPTypedEdit::answerDraggedValue(QDragMoveEvent* event)
{
    const auto dragged = draggedValue(event->mimeData());
    if (!dragged)
        return false;
    if (dragged->first == int(dataType_) && event->source() != this && !isReadOnly())
        event->acceptProposedAction();
    else
        event->ignore();
    return true;
}

void TPTypedEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (!answerDraggedValue(event))
        QLineEdit::dragEnterEvent(event);
}

void TPTypedEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (!answerDraggedValue(event))
        QLineEdit::dragMoveEvent(event);
}

void TPTypedEdit::dropEvent(QDropEvent* event)
{
    if (const auto dragged = draggedValue(event->mimeData())) {
        if (dragged->first != int(dataType_) || event->source() == this || isReadOnly()) {
            event->ignore();
            return;
        }
        setInputMask(hasZoomHandler() ? QString() : maskFor(dataType_));
        store(dragged->second);
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dropEvent(event);
}
