#pragma once

#include <QWidget>

#include <memory>

class QAction;
class QMenu;
class QPushButton;
class Regeneration;
class ReportRegister;
class TFwwDBGrid;
class TPTypedEdit;
class ZtfiApp;
struct RegenerationOutcome;

// The register tab "Poročila": the list of a range of reporting days, the regulator's answer as
// the status of the current row, the deletion of an unsent report and the regeneration of a
// rejected one. The actions open for the current row are recomputed whenever it changes.
class PorocilaTab : public QWidget {
    Q_OBJECT
public:
    explicit PorocilaTab(ZtfiApp& app, QWidget* parent = nullptr);
    ~PorocilaTab() override;

public slots:
    void bbRefreshClick();
    void dsDPATVPDataChange();
    void pmPotrjenoClick();
    void pmZavrnjenoClick();
    void BitBtn4Click();
    void bbReGenerirajClick();

signals:
    // The regeneration of the current report is about to gather its set: the grids of the
    // selection must follow the report rows from now on.
    void regenerationStarting();
    void regenerated(const RegenerationOutcome& outcome);

private:
    // The register and its grid, from their first use.
    ReportRegister& reportRegister();

    ZtfiApp& app_;
    std::unique_ptr<ReportRegister> register_;
    std::unique_ptr<Regeneration> regeneration_;

    TPTypedEdit* pteDanOd = nullptr;
    TPTypedEdit* pteDanDo = nullptr;
    QPushButton* bbRefresh = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* bbReGeneriraj = nullptr;
    TFwwDBGrid* dbPorocila = nullptr;
    QMenu* pmStatusi = nullptr;
    QAction* pmPotrjeno = nullptr;
    QAction* pmZavrnjeno = nullptr;
};
