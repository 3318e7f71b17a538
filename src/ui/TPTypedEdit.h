#pragma once

#include <QDate>
#include <QLineEdit>
#include <QVariant>
#include <optional>

// A masked edit that holds a typed value instead of text. The user types into the mask; the
// text becomes the value when the user confirms (Enter) or leaves the field, and the field then
// shows the value in the system's format. Code reads and writes the value only through the typed
// accessors. A date edit starts with today's date. Escape empties the value.
class TPTypedEdit : public QLineEdit {
    Q_OBJECT
public:
    // Type of the value the edit holds; it fixes the mask, the parsing and the display.
    enum class DataType { Date };

    explicit TPTypedEdit(QWidget* parent = nullptr);

    DataType dataType() const { return dataType_; }

    bool isNull() const { return value_.isNull(); }
    // The value as a date; a null date when the value is empty.
    QDate asDate() const;
    // Stores the date; a date on or before day zero (30.12.1899) or an invalid date empties the
    // value. Shows the value and raises changed().
    void setAsDate(const QDate& date);
    // Empties the value, shows it and raises changed().
    void clearValue();

    // Reads the text into the value when it has been edited since the value was shown, then
    // shows the value and raises changed(). Text that is not a valid value leaves the value
    // unchanged, gives the edit the focus back, raises conversionFailed() and returns false.
    bool commit();

signals:
    // The value was committed, set or cleared.
    void changed();
    // The user left the field (after its text was committed).
    void exited();
    // The typed text could not be read as a value of the edit's type.
    void conversionFailed(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue();
    // The value the text stands for (null for an empty text); nullopt when the text is not a
    // valid value.
    std::optional<QVariant> valueFromText() const;

    DataType dataType_ = DataType::Date;
    QVariant value_;
    bool touched_ = false;
};
