#include "ui/Pickers.h"

#include "core/Formats.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// A modal dialog with the chooser above OK and Cancel.
class PickerDialog : public QDialog {
public:
    PickerDialog(QWidget* parent, const char* objectName, const QString& title)
        : QDialog(parent), layout(new QVBoxLayout(this))
    {
        setObjectName(QLatin1String(objectName));
        setWindowTitle(title);
        setModal(true);
    }
    void addButtons()
    {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }
    QVBoxLayout* layout;
};

const QLocale& slovenian()
{
    static const QLocale locale(QLocale::Slovenian, QLocale::Slovenia);
    return locale;
}

}  // namespace

std::optional<QDate> Pickers::date(QWidget* parent, const QDate& initial)
{
    PickerDialog dialog(parent, "pickCalendar", QStringLiteral("Koledar"));
    auto* calendar = new QCalendarWidget(&dialog);
    calendar->setObjectName(QStringLiteral("calendar"));
    calendar->setLocale(slovenian());
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setSelectedDate(initial.isValid() ? initial : QDate::currentDate());
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    dialog.layout->addWidget(calendar);
    dialog.addButtons();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return calendar->selectedDate();
}

std::optional<QTime> Pickers::time(QWidget* parent, const QTime& initial)
{
    PickerDialog dialog(parent, "pickClock", QStringLiteral("Ura"));
    auto* clock = new QTimeEdit(&dialog);
    clock->setObjectName(QStringLiteral("clock"));
    clock->setDisplayFormat(QLatin1String(Formats::kTimeFormat));
    clock->setTime(initial.isValid() ? initial : QTime::currentTime());
    dialog.layout->addWidget(clock);
    dialog.addButtons();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return clock->time();
}

std::optional<double> Pickers::number(QWidget* parent, double initial)
{
    PickerDialog dialog(parent, "pickCalculator", QStringLiteral("Kalkulator"));
    auto* display = new QLineEdit(slovenian().toString(initial, 'g', 15), &dialog);
    display->setObjectName(QStringLiteral("display"));
    display->setAlignment(Qt::AlignRight);
    auto* validator = new QDoubleValidator(display);
    validator->setLocale(slovenian());
    display->setValidator(validator);
    auto* keys = new QGridLayout;
    const QString labels[] = {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                              QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                              QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("-"), QStringLiteral("0"), QStringLiteral(",")};
    for (int i = 0; i < 12; ++i) {
        auto* key = new QPushButton(labels[i], &dialog);
        key->setAutoDefault(false);
        QObject::connect(key, &QPushButton::clicked, display, [display, label = labels[i]] {
            if (label == QLatin1String("-")) {
                const QString t = display->text();
                display->setText(t.startsWith(u'-') ? t.mid(1) : u'-' + t);
            } else {
                display->insert(label);
            }
        });
        keys->addWidget(key, i / 3, i % 3);
    }
    auto* clear = new QPushButton(QStringLiteral("C"), &dialog);
    clear->setAutoDefault(false);
    QObject::connect(clear, &QPushButton::clicked, display, &QLineEdit::clear);
    keys->addWidget(clear, 4, 0, 1, 3);
    dialog.layout->addWidget(display);
    dialog.layout->addLayout(keys);
    dialog.addButtons();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    bool ok = false;
    const double value = slovenian().toDouble(display->text(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<QString> Pickers::text(QWidget* parent, const QString& initial)
{
    PickerDialog dialog(parent, "pickKeyboard", QStringLiteral("Tipkovnica"));
    auto* line = new QLineEdit(initial, &dialog);
    line->setObjectName(QStringLiteral("text"));
    auto* keys = new QGridLayout;
    const QString rows[] = {QStringLiteral("1234567890"), QStringLiteral("QWERTZUIOPŠ"),
                            QStringLiteral("ASDFGHJKLČŽ"), QStringLiteral("YXCVBNM,.-")};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString key = rows[r].mid(c, 1);
            auto* button = new QPushButton(key, &dialog);
            button->setAutoDefault(false);
            button->setFixedWidth(28);
            QObject::connect(button, &QPushButton::clicked, line, [line, key] { line->insert(key); });
            keys->addWidget(button, r, c);
        }
    }
    auto* space = new QPushButton(QStringLiteral(" "), &dialog);
    space->setAutoDefault(false);
    QObject::connect(space, &QPushButton::clicked, line, [line] { line->insert(QStringLiteral(" ")); });
    keys->addWidget(space, 4, 2, 1, 6);
    auto* back = new QPushButton(QStringLiteral("←"), &dialog);
    back->setAutoDefault(false);
    QObject::connect(back, &QPushButton::clicked, line, &QLineEdit::backspace);
    keys->addWidget(back, 4, 8, 1, 3);
    dialog.layout->addWidget(line);
    dialog.layout->addLayout(keys);
    dialog.addButtons();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return line->text();
}
