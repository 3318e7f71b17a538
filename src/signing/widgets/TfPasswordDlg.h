#pragma once

#include "core/Interaction.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The signing dialog "Elektronski podpis": the signing user and the pass phrase, with the
// choice to remember either in "ZTFI.ini". Confirming writes the remembered values (the pass
// phrase hex-encoded) or empties them.
class TfPasswordDlg : public QDialog {
    Q_OBJECT
public:
    // Pre-filled from initial; iniPath: the configuration file that remembers the values.
    TfPasswordDlg(const Interaction::SigningCredentials& initial, const QString& iniPath,
                  QWidget* parent = nullptr);

    // What the dialog holds now.
    Interaction::SigningCredentials credentials() const;

    // "V redu": writes User and PassPhrase of section "GnuPG", then closes. A file that cannot
    // be written is reported; the dialog is confirmed all the same.
    void accept() override;

    QLineEdit* eKorisnik = nullptr;
    QLineEdit* ePassPhrase = nullptr;
    QCheckBox* cbZapomniK = nullptr;
    QCheckBox* cbZapomniP = nullptr;
    QPushButton* bbOK = nullptr;
    QPushButton* bbCancel = nullptr;

private:
    QString iniPath_;
};
