#include "signing/widgets/TfPasswordDlg.h"

#include "core/Error.h"
#include "signing/RememberedCredentials.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TfPasswordDlg::TfPasswordDlg(const Interaction::SigningCredentials& initial, const QString& iniPath,
                             QWidget* parent)
    : QDialog(parent), iniPath_(iniPath)
{
    setObjectName(QStringLiteral("fPasswordDlg"));
    setWindowTitle(QStringLiteral("Elektronski podpis"));

    eKorisnik = new QLineEdit(initial.user, this);
    eKorisnik->setObjectName(QStringLiteral("eKorisnik"));
    ePassPhrase = new QLineEdit(initial.passPhrase, this);
    ePassPhrase->setObjectName(QStringLiteral("ePassPhrase"));
    ePassPhrase->setEchoMode(QLineEdit::Password);
    ePassPhrase->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    cbZapomniK = new QCheckBox(QStringLiteral("Zapomni uporabnika"), this);
    cbZapomniK->setObjectName(QStringLiteral("cbZapomniK"));
    cbZapomniK->setChecked(initial.rememberUser);
    cbZapomniP = new QCheckBox(QStringLiteral("Zapomni geslo"), this);
    cbZapomniP->setObjectName(QStringLiteral("cbZapomniP"));
    cbZapomniP->setChecked(initial.rememberPassPhrase);
    bbOK = new QPushButton(QStringLiteral("V redu"), this);
    bbOK->setObjectName(QStringLiteral("bbOK"));
    bbOK->setDefault(true);
    bbCancel = new QPushButton(QStringLiteral("Prekliči"), this);
    bbCancel->setObjectName(QStringLiteral("bbCancel"));
    connect(bbOK, &QPushButton::clicked, this, &TfPasswordDlg::accept);
    connect(bbCancel, &QPushButton::clicked, this, &TfPasswordDlg::reject);

    auto* inputs = new QFormLayout;
    inputs->addRow(QStringLiteral("Uporabnik:"), eKorisnik);
    inputs->addRow(QStringLiteral("Geslo:"), ePassPhrase);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bbOK);
    buttons->addWidget(bbCancel);
    auto* page = new QVBoxLayout(this);
    page->addLayout(inputs);
    page->addWidget(cbZapomniK);
    page->addWidget(cbZapomniP);
    page->addLayout(buttons);
    // A fixed border: the dialog keeps the size of its contents.
    page->setSizeConstraint(QLayout::SetFixedSize);
    eKorisnik->setMinimumWidth(220);
}

Interaction::SigningCredentials TfPasswordDlg::credentials() const
{
    Interaction::SigningCredentials result;
    result.user = eKorisnik->text();
    result.passPhrase = ePassPhrase->text();
    result.rememberUser = cbZapomniK->isChecked();
    result.rememberPassPhrase = cbZapomniP->isChecked();
    return result;
}

void TfPasswordDlg::accept()
{
    try {
        RememberedCredentials::write(iniPath_, credentials());
    } catch (const ZtfiError& e) {
        QMessageBox::warning(this, windowTitle(), e.message());
    }
    QDialog::accept();
}
