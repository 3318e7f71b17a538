#pragma once

#include "data/engine/Dialect.h"

#include <QDialog>

class Connection;
class Interaction;
class QLineEdit;
class QPushButton;
class TPTypedEdit;

// The dispute dialog "EMIR spor" of one report: a new dispute (identifier 0) or the stored one.
// "Zapiši" runs the checks in their order (a failure focuses its field and keeps the dialog
// open), writes the dispute and closes with OK; "Preklic" closes without writing.
class TfrmEMIRPslDlg : public QDialog {
    Q_OBJECT
public:
    // A report identifier of 0 or less, or a stored dispute that is gone, throws its message.
    TfrmEMIRPslDlg(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, qint64 reportId,
                   QWidget* parent = nullptr);

    qint64 id() const { return id_; }

    // The dialog shown modally; the identifier of the written dispute, or 0 when cancelled.
    static qint64 edit(Connection& connection, SqlDialect dialect, Interaction& ui, qint64 id, qint64 reportId,
                       QWidget* parent);

public slots:
    void btnZapisiClick();

private:
    Connection& connection_;
    SqlDialect dialect_;
    Interaction& ui_;
    qint64 id_;
    qint64 reportId_;

    QLineEdit* eStranka = nullptr;
    QLineEdit* eNasStranka = nullptr;
    TPTypedEdit* pteDatZacetka = nullptr;
    TPTypedEdit* pteDatZakljucka = nullptr;
    TPTypedEdit* pteVrednost = nullptr;
    QLineEdit* eOpombe = nullptr;
    QPushButton* btnZapisi = nullptr;
    QPushButton* btnPreklic = nullptr;
};
