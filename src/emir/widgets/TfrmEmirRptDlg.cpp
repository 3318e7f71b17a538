#include "emir/widgets/TfrmEmirRptDlg.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "emir/EmirReportEditor.h"
#include "emir/widgets/EmirDialogControls.h"
#include "ui/TPTypedEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

TfrmEmirRptDlg::TfrmEmirRptDlg(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, QWidget* parent)
    : QDialog(parent), connection_(connection), dialect_(dialect), ui_(ui), id_(id)
{
    setObjectName(QStringLiteral("frmEmirRptDlg"));
    setWindowTitle(QStringLiteral("EMIR poročilo"));
    pteZapSt = EmirDialogControls::integerEdit(this, "pteZapSt");
    pteZapSt->setReadOnly(true);
    pteDanOd = EmirDialogControls::dateEdit(this, "pteDanOd");
    pteDanDo = EmirDialogControls::dateEdit(this, "pteDanDo");
    pteStNepotrjenih = EmirDialogControls::integerEdit(this, "pteStNepotrjenih");
    pteDanPorocila = EmirDialogControls::dateEdit(this, "pteDanPorocila");
    cbPreklicano = new QCheckBox(QStringLiteral("Poročilo je preklicano"), this);
    cbPreklicano->setObjectName(QStringLiteral("cbPreklicano"));
    cbPreklicano->setEnabled(false);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Zap.št."), pteZapSt->parentWidget());
    form->addRow(QStringLiteral("Obdobje od"), pteDanOd->parentWidget());
    form->addRow(QStringLiteral("Obdobje do"), pteDanDo->parentWidget());
    form->addRow(QStringLiteral("Št.nepotrjenih transakcij"), pteStNepotrjenih->parentWidget());
    form->addRow(QStringLiteral("Datum poročila"), pteDanPorocila->parentWidget());
    form->addRow(cbPreklicano);
    auto* buttons = new QDialogButtonBox(this);
    btnZapisi = EmirDialogControls::button(buttons, "btnZapisi", QStringLiteral("Zapiši"));
    btnPreklic = EmirDialogControls::button(buttons, "btnPreklic", QStringLiteral("Preklic"));
    form->addRow(buttons);
    EmirDialogControls::reportConversionFailures(this, ui_);
    connect(btnZapisi, &QPushButton::clicked, this, &TfrmEmirRptDlg::btnZapisiClick);
    connect(btnPreklic, &QPushButton::clicked, this, &QDialog::reject);

    EmirReportEditor editor(connection_, dialect_);
    const EmirReportValues values = id_ == 0 ? EmirReportEditor::newReport(QDate::currentDate()) : editor.load(id_);
    if (values.serial == 0)
        pteZapSt->clearValue();
    else
        pteZapSt->setAsInteger(values.serial);
    pteDanOd->setAsDate(values.firstDay);
    pteDanDo->setAsDate(values.lastDay);
    pteStNepotrjenih->setAsInteger(values.unconfirmed.value_or(0));
    pteDanPorocila->setAsDate(values.reportDay);
    cbPreklicano->setChecked(values.cancelled);
}

void TfrmEmirRptDlg::btnZapisiClick()
{
    if (!EmirDialogControls::commitAll(this))
        return;
    EmirReportValues values;
    values.firstDay = EmirDialogControls::dateOf(pteDanOd);
    values.lastDay = EmirDialogControls::dateOf(pteDanDo);
    // An empty count is none: 0.
    values.unconfirmed = pteStNepotrjenih->isNull() ? 0 : int(pteStNepotrjenih->asInteger());
    values.reportDay = EmirDialogControls::dateOf(pteDanPorocila);
    if (const auto failure = EmirReportEditor::check(values)) {
        TPTypedEdit* fields[] = {pteDanPorocila, pteDanOd, pteDanDo, pteStNepotrjenih};
        fields[int(failure->field)]->setFocus();
        ui_.error(failure->message);
        return;
    }
    const bool written = runGuarded(ui_, [&] { id_ = EmirReportEditor(connection_, dialect_).save(values, id_); });
    if (written)
        accept();
}

qint64 TfrmEmirRptDlg::edit(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, QWidget* parent)
{
    TfrmEmirRptDlg dialog(connection, dialect, ui, id, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.id() : 0;
}
