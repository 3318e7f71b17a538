#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct InstrumentOffer;

// "Finančni instrument": the choice of the reporting instrument for a row of the override list.
// A fixed-size modal dialog; its controls carry the system's names as object names.
class TfFinInstrDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfFinInstrDlg(QWidget* parent = nullptr);

    // The row's ISIN, the candidates with the row's reporting instrument as the text, and the
    // label of a new identification when the row already reports an instrument.
    void setOffer(const InstrumentOffer& offer);
    // The text of the combo box as the user left it.
    QString chosenText() const;

private:
    QLineEdit* eISIN = nullptr;
    QLabel* lblSFVP = nullptr;
    QLabel* lblNovSFVP = nullptr;
    QComboBox* cbSFVP = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};
