#pragma once

#include "core/Interaction.h"
#include "ui/StatusProgress.h"

// The window's way of talking to the user: Qt message boxes and file dialogs over the active
// window.
class QtInteraction : public Interaction {
public:
    void inform(const QString& text) override;
    void warn(const QString& text) override;
    void error(const QString& text) override;
    bool confirmOkCancel(const QString& text) override;
    bool confirmYesNo(const QString& text) override;
    AbortIgnore askAbortIgnore(const QString& text) override;
    QString chooseFileToOpen(const QString& folder, const QString& filter) override;
    QString chooseFileToSave(const QString& folder, const QString& fileName, const QString& filter,
                             const QString& title = QString(),
                             const QString& defaultSuffix = QString()) override;
    std::optional<SigningCredentials> askSigningCredentials(const SigningCredentials& initial) override;
    void openWithDefaultApplication(const QString& path) override;
    void pause(int milliseconds) override;
    // In the main window's status bar (StatusProgress), with its cancel button "bbPrekini"
    // enabled while the action can be cancelled.
    void progress(const QString& step, qint64 done, qint64 known) override;
    void progressEnd() override;
    void setCancellable(bool cancellable) override;
    bool cancelRequested() override;

    // A file filter of the system's form, pairs of description and mask separated by "|"
    // ("Excel files (*.xls)|*.xls"), in the form of the Qt file dialogs
    // ("Excel files (*.xls)"). A filter without "|" is taken as it is.
    static QString qtFileFilter(const QString& filter);
    // The suffix of the first mask of a Qt filter ("Excel 2007 file (*.xlsx)" gives "xlsx"); empty
    // when its mask names none ("*.*").
    static QString suffixOfFilter(const QString& qtFilter);
    // The caption of the program's message boxes.
    static QString messageTitle();

private:
    StatusProgress status_;
};
