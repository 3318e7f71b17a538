#pragma once

#include <QWidget>

class ATVPPage;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class ZtfiApp;
struct ReportOutcome;

// The tab "ATVP": report files waiting to be signed, the signed ones, the signing action (the
// work of ATVPPage) and the error list of a report that failed its validation (hidden until
// then).
class ATVPTab : public QWidget {
    Q_OBJECT
public:
    explicit ATVPTab(ZtfiApp& app, QWidget* parent = nullptr);

    // Entering the tab: both lists re-read.
    void enter();
    // The outcome of "Generiranje XML poročila": Label1, eXMLFile and mXMLNapake show the
    // schema fault of a report that failed its validation, and are hidden otherwise.
    void showReportOutcome(const ReportOutcome& outcome);

private:
    ATVPPage* page_ = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* eXMLFile = nullptr;
    QPlainTextEdit* mXMLNapake = nullptr;
};
