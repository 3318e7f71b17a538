#pragma once

#include <QDateTime>
#include <QLineEdit>
#include <QVariant>
#include <optional>

// A masked edit that holds a typed value (date, time, date-time, float, integer or string)
// instead of text. The user types into the mask; the text becomes the value when the user
// confirms (Enter) or leaves the field, and the field then shows the value in its display format.
// Code reads and writes the value only through the typed accessors; each writer shows the value
// and raises changed(). A date edit starts with today's date.
//
// Keys: typing, Backspace, Delete or a paste touch the edit (touched(), once per shown value);
// while the text differs from the shown value it is red. Enter commits a touched edit and opens
// the picker of an untouched one (not for string edits); a double click opens the picker;
// Escape clears the value. Two side buttons beside the focused edit clear it or open its picker.
// Dragging an edit with the left mouse button carries its value; dropped on another typed edit
// of the same type it becomes that edit's value (shown, changed()).
class QMimeData;

class TPTypedEdit : public QLineEdit {
    Q_OBJECT
public:
    // Type of the value the edit holds; it fixes the mask, the parsing and the display.
    enum class DataType { String, Integer, Float, Date, Time, DateTime };

    explicit TPTypedEdit(QWidget* parent = nullptr, DataType type = DataType::Date);

    DataType dataType() const { return dataType_; }
    // Sets the type and its mask; the value is cleared when it is not of the new type.
    void setDataType(DataType type);
    // "dd.mm.yyyy", ",0.00", "0", ...; empty: the system's formats. Shows the value anew.
    QString displayFormat() const { return displayFormat_; }
    void setDisplayFormat(const QString& format);
    // While true (the default) values written through the accessors take the edit's type.
    bool dataTypeFixed() const { return dataTypeFixed_; }
    void setDataTypeFixed(bool fixed) { dataTypeFixed_ = fixed; }

    bool isNull() const { return value_.isNull(); }
    // The value as a date; a null date when the value is empty.
    QDate asDate() const;
    // The value as a date-time; day zero (30.12.1899 00:00) when the value is empty.
    QDateTime asDateTime() const;
    double asFloat() const;          // 0 when empty
    qint64 asInteger() const;        // 0 when empty
    QString asString() const;        // empty when empty
    // A date on or before day zero (30.12.1899) or an invalid date empties the value.
    void setAsDate(const QDate& date);
    void setAsDateTime(const QDateTime& dateTime);
    void setAsFloat(double value);
    void setAsInteger(qint64 value);
    void setAsString(const QString& value);
    // Empties the value, shows it and raises changed().
    void clearValue();

    // Reads the text into the value when it has been edited since the value was shown, then
    // shows the value and raises changed(). Text that is not a valid value leaves the value
    // unchanged, gives the edit the focus back, raises conversionFailed() with the message in
    // Slovenian and returns false.
    bool commit();
    // The picker of the edit's type (or zoom() when connected); cancelling changes nothing.
    void openPicker();
    // zoom() has a handler: it replaces the picker and the edit has no mask.
    bool hasZoomHandler() const;
    // The value as a drag carries it.
    QMimeData* valueMimeData() const;

signals:
    // The value was committed, set or cleared.
    void changed();
    // The first edit of the text after the value was shown.
    void touched();
    // The user left the field (after its text was committed).
    void exited();
    // The typed text could not be read as a value of the edit's type.
    void conversionFailed(const QString& message);
    // Replaces the picker when connected.
    void zoom();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Accepts or refuses a typed value dragged over the edit; false for other data.
    bool answerDraggedValue(QDragMoveEvent* event);
    void store(const QVariant& value);
    void showValue();
    QString textOfValue() const;
    // The value the text stands for (null for an empty text); nullopt with the message when the
    // text is not a valid value.
    std::optional<QVariant> valueFromText(QString* message) const;
    void textWasChanged();

    DataType dataType_;
    QString displayFormat_;
    bool dataTypeFixed_ = true;
    QVariant value_;
    bool touched_ = false;
    bool showing_ = false;
    QString shownText_;
    QColor textColour_;  // restored when the text is the shown value again
    QPoint dragStart_;
    bool dragArmed_ = false;
};
