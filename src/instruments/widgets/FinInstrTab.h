#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class TFwwDBGrid;
class ZtfiApp;

// The tab "Fin. instr.": the instrument overrides, searched by the start of the ISIN and
// reopened after every key release in eISIN and whenever the tab is entered. The grid's zoom
// chooses the reporting instrument of the current row; "Nazaj na nabor" (bNabor) asks for the
// stopped selection to be resumed.
class FinInstrTab : public QWidget {
    Q_OBJECT
public:
    // instrumentDay: the day whose host data a chosen instrument takes ("Datum do" of "Nabor").
    FinInstrTab(ZtfiApp& app, std::function<QDate()> instrumentDay, QWidget* parent = nullptr);

    // The override list reopened for the typed ISIN (its grid bound on first use).
    void reopenOverrideList();
    void setReturnVisible(bool visible);

public slots:
    void dbgDPATVP_SFVPZoom();

signals:
    // "Nazaj na nabor" was clicked.
    void returnToSelection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ZtfiApp& app_;
    std::function<QDate()> instrumentDay_;
    bool gridBound_ = false;

    QLineEdit* eISIN = nullptr;
    TFwwDBGrid* dbgDPATVP_SFVP = nullptr;
    QPushButton* bNabor = nullptr;
};
