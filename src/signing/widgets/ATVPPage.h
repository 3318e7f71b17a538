#pragma once

#include <QObject>

class Connection;
class QListWidget;
class QPushButton;
class TDMTable;
class ZtfiApp;

// The work of the tab "ATVP": the report files waiting in the program folder, the signature
// files delivered, and the signing of the selected report.
class ATVPPage : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QListWidget* lbNeposlana = nullptr;  // "*.xml" of the program folder, one selectable
        QPushButton* bbNeposlano = nullptr;  // "Osveži"
        QListWidget* clbPoslana = nullptr;   // "*.sig" of SIGPath_Server, ticked when sent
        QPushButton* bbPodpisana = nullptr;  // "Osveži"
        QPushButton* bSign = nullptr;        // "Podpis in kriptiranje poročila"
    };

    // registerTable: the window's table component of DPATVP (audited). Connects the buttons.
    ATVPPage(const Controls& controls, ZtfiApp& app, Connection& connection, TDMTable& registerTable,
             QObject* parent = nullptr);

    // Entering the tab: bbPodpisanaClick, then bbNeposlanoClick.
    void tsATVPEnter();

public slots:
    // Refills lbNeposlana with the "*.xml" files of the program folder.
    void bbNeposlanoClick();
    // Refills clbPoslana with the "*.sig" files of SIGPath_Server (the program folder when
    // empty), then PreveriPoslana.
    void bbPodpisanaClick();
    // Asks for the credentials, signs the selected report, then refreshes both lists. The
    // button is disabled while it runs.
    void bSignClick();
    // Ticks the signatures of the reports sent and locks every entry.
    void PreveriPoslana();

private:
    QString signatureFolder() const;

    Controls c_;
    ZtfiApp& app_;
    Connection& connection_;
    TDMTable& registerTable_;
};
