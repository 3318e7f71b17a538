#include "instruments/widgets/TfFinInstrDlg.h"

#include "instruments/InstrumentChoice.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* label(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(objectName));
    return l;
}

QPushButton* button(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

}  // namespace

TfFinInstrDlg::TfFinInstrDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfFinInstrDlg"));
    setWindowTitle(QStringLiteral("Finančni instrument"));
    setModal(true);

    eISIN = new QLineEdit(this);
    eISIN->setObjectName(QStringLiteral("eISIN"));
    eISIN->setEnabled(false);

    lblSFVP = label(this, "lblSFVP", QStringLiteral("Interna ident. instrumetna"));
    // Drawn over the first label, in the same place, when it is shown.
    lblNovSFVP = label(this, "lblNovSFVP", QStringLiteral("Nova interna ident. instrumenta"));
    lblNovSFVP->setAutoFillBackground(true);
    lblNovSFVP->hide();

    cbSFVP = new QComboBox(this);
    cbSFVP->setObjectName(QStringLiteral("cbSFVP"));
    cbSFVP->setEditable(true);
    cbSFVP->setInsertPolicy(QComboBox::NoInsert);
    QFont bold = cbSFVP->font();
    bold.setBold(true);
    cbSFVP->setFont(bold);
    cbSFVP->setMinimumContentsLength(24);

    OKBtn = button(this, "OKBtn", QStringLiteral("V redu"));
    OKBtn->setDefault(true);
    CancelBtn = button(this, "CancelBtn", QStringLiteral("Prekliči"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(label(this, "lblISIN", QStringLiteral("ISIN")), 0, 0);
    fields->addWidget(eISIN, 1, 0);
    fields->addWidget(lblSFVP, 2, 0, Qt::AlignLeft);
    fields->addWidget(lblNovSFVP, 2, 0, Qt::AlignLeft);
    fields->addWidget(cbSFVP, 3, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addSpacing(8);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

void TfFinInstrDlg::setOffer(const InstrumentOffer& offer)
{
    eISIN->setText(offer.isin);
    cbSFVP->clear();
    cbSFVP->addItems(offer.items);
    cbSFVP->setCurrentIndex(offer.current);
    if (offer.current < 0)
        cbSFVP->setEditText(QString());
    lblNovSFVP->setVisible(offer.newIdentification);
}

QString TfFinInstrDlg::chosenText() const
{
    return cbSFVP->currentText();
}
