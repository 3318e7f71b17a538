#pragma once

#include "data/engine/Dialect.h"

#include <QDialog>

class Connection;
class Interaction;
class QCheckBox;
class QPushButton;
class TPTypedEdit;

// The report dialog "EMIR poročilo": a new report (identifier 0) or the stored one. "Zapiši"
// runs the checks in their order (a failure focuses its field and keeps the dialog open), writes
// the report and closes with OK; "Preklic" closes without writing.
class TfrmEmirRptDlg : public QDialog {
    Q_OBJECT
public:
    // Reading a stored report that is gone throws its message.
    TfrmEmirRptDlg(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, QWidget* parent = nullptr);

    // The identifier of the report written (0 until "Zapiši" wrote it).
    qint64 id() const { return id_; }

    // The dialog shown modally; the identifier of the written report, or 0 when cancelled.
    static qint64 edit(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, QWidget* parent);

public slots:
    void btnZapisiClick();

private:
    Connection& connection_;
    SqlDialect dialect_;
    Interaction& ui_;
    qint64 id_;

    TPTypedEdit* pteZapSt = nullptr;
    TPTypedEdit* pteDanOd = nullptr;
    TPTypedEdit* pteDanDo = nullptr;
    TPTypedEdit* pteStNepotrjenih = nullptr;
    TPTypedEdit* pteDanPorocila = nullptr;
    QCheckBox* cbPreklicano = nullptr;
    QPushButton* btnZapisi = nullptr;
    QPushButton* btnPreklic = nullptr;
};
