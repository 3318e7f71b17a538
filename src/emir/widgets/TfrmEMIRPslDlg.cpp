#include "emir/widgets/TfrmEMIRPslDlg.h"

#include "core/ActionGuard.h"
#include "core/Interaction.h"
#include "emir/EmirDisputeEditor.h"
#include "emir/widgets/EmirDialogControls.h"
#include "ui/TPTypedEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* textEdit(QWidget* parent, const char* objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    edit->setMaxLength(250);
    return edit;
}

}  // namespace

TfrmEMIRPslDlg::TfrmEMIRPslDlg(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, qint64 reportId,
                               QWidget* parent)
    : QDialog(parent), connection_(connection), dialect_(dialect), ui_(ui), id_(id), reportId_(reportId)
{
    EmirDisputeEditor editor(connection_, dialect_, reportId_);
    setObjectName(QStringLiteral("frmEMIRPslDlg"));
    setWindowTitle(QStringLiteral("EMIR spor"));
    eStranka = textEdit(this, "eStranka");
    eNasStranka = textEdit(this, "eNasStranka");
    pteDatZacetka = EmirDialogControls::dateEdit(this, "pteDatZacetka");
    pteDatZakljucka = EmirDialogControls::dateEdit(this, "pteDatZakljucka");
    pteVrednost = EmirDialogControls::floatEdit(this, "pteVrednost");
    eOpombe = textEdit(this, "eOpombe");

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Stranka"), eStranka);
    form->addRow(QStringLiteral("Nasprotna stranka"), eNasStranka);
    form->addRow(QStringLiteral("Dat.začetka"), pteDatZacetka->parentWidget());
    form->addRow(QStringLiteral("Dat.zaključka"), pteDatZakljucka->parentWidget());
    form->addRow(QStringLiteral("Vrednost"), pteVrednost->parentWidget());
    form->addRow(QStringLiteral("Opomba"), eOpombe);
    auto* buttons = new QDialogButtonBox(this);
    btnZapisi = EmirDialogControls::button(buttons, "btnZapisi", QStringLiteral("Zapiši"));
    btnPreklic = EmirDialogControls::button(buttons, "btnPreklic", QStringLiteral("Preklic"));
    form->addRow(buttons);
    EmirDialogControls::reportConversionFailures(this, ui_);
    connect(btnZapisi, &QPushButton::clicked, this, &TfrmEMIRPslDlg::btnZapisiClick);
    connect(btnPreklic, &QPushButton::clicked, this, &QDialog::reject);

    const EmirDisputeValues values = id_ == 0 ? EmirDisputeValues{} : editor.load(id_);
    eStranka->setText(values.party);
    eNasStranka->setText(values.counterparty);
    pteDatZacetka->setAsDate(values.firstDay);
    pteDatZakljucka->setAsDate(values.lastDay);
    pteVrednost->setAsFloat(values.amount);
    eOpombe->setText(values.notes);
}

void TfrmEMIRPslDlg::btnZapisiClick()
{
    if (!EmirDialogControls::commitAll(this))
        return;
    EmirDisputeValues values;
    values.party = eStranka->text();
    values.counterparty = eNasStranka->text();
    values.firstDay = EmirDialogControls::dateOf(pteDatZacetka);
    values.lastDay = EmirDialogControls::dateOf(pteDatZakljucka);
    values.lastDayUnreadable = !pteDatZakljucka->isNull() && !values.lastDay.isValid();
    values.amount = pteVrednost->asFloat();
    values.notes = eOpombe->text();
    if (const auto failure = EmirDisputeEditor::check(values)) {
        QWidget* fields[] = {eStranka, eNasStranka, pteDatZacetka, pteDatZakljucka, eOpombe};
        fields[int(failure->field)]->setFocus();
        ui_.error(failure->message);
        return;
    }
    const bool written = runGuarded(ui_, [&] { id_ = EmirDisputeEditor(connection_, dialect_, reportId_).save(values, id_); });
    if (written)
        accept();
}

qint64 TfrmEMIRPslDlg::edit(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, qint64 reportId,
                            QWidget* parent)
{
    TfrmEMIRPslDlg dialog(connection, dialect, ui, id, reportId, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.id() : 0;
}
