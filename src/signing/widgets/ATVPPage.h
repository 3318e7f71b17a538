#pragma once

#include <QObject>

#include <memory>

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
        QListWidget* lbNeposlana = nullptr;  // the reports waiting to be signed, one selectable
        QPushButton* bbNeposlano = nullptr;  // "Osveži"
        QListWidget* clbPoslana = nullptr;   // "*.sig" of SIGPath_Server, ticked when sent
        QPushButton* bbPodpisana = nullptr;  // "Osveži"
        QPushButton* bSign = nullptr;        // "Podpis in kriptiranje poročila"
    };

    // Connects the buttons. The database is reached through the application's connection on
    // first use.
    ATVPPage(const Controls& controls, ZtfiApp& app, QObject* parent = nullptr);
    ~ATVPPage() override;

    // Entering the tab: bbPodpisanaClick, then bbNeposlanoClick.
    void tsATVPEnter();

public slots:
    // Refills lbNeposlana with the reports waiting in the program folder (WaitingReports).
    void bbNeposlanoClick();
    // Refills clbPoslana with the "*.sig" files of SIGPath_Server (the program folder when
    // empty), then PreveriPoslana.
    void bbPodpisanaClick();
    // Asks for the credentials, signs the selected report, then refreshes both lists. The
    // button is disabled while it runs; an error is shown and the lists are refreshed still.
    void bSignClick();
    // Ticks the signatures of the reports sent and locks every entry.
    void PreveriPoslana();

private:
    QString signatureFolder() const;
    // tDPATVP, audited, created on first use.
    TDMTable& registerTable();

    Controls c_;
    ZtfiApp& app_;
    std::unique_ptr<TDMTable> registerTable_;
};
