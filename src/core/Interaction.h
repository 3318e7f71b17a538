#pragma once

#include <QString>
#include <optional>

// The only way widget-free code talks to the user. The window implements it with Qt dialogs,
// the headless tool with standard error, tests with a scripted double.
class Interaction {
public:
    // Credentials asked for before a file is signed.
    struct SigningCredentials {
        QString user;
        QString passPhrase;
        bool rememberUser = false;
        bool rememberPassPhrase = false;
    };

    enum class AbortIgnore { Abort, Ignore };

    virtual ~Interaction() = default;

    // A plain message box with a fixed text.
    virtual void inform(const QString& text) = 0;
    // A warning box.
    virtual void warn(const QString& text) = 0;
    // The text of an error that an action let escape.
    virtual void error(const QString& text) = 0;
    // OK/Cancel question; true for OK.
    virtual bool confirmOkCancel(const QString& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool confirmYesNo(const QString& text) = 0;
    virtual AbortIgnore askAbortIgnore(const QString& text) = 0;
    // File choice; an empty result means the user cancelled.
    virtual QString chooseFileToOpen(const QString& folder, const QString& filter) = 0;
    // The save dialog has the title when one is given; a name chosen without an extension gets
    // defaultSuffix.
    virtual QString chooseFileToSave(const QString& folder, const QString& fileName, const QString& filter,
                                     const QString& title = QString(),
                                     const QString& defaultSuffix = QString()) = 0;
    // Signing credentials, pre-filled; nullopt when the user cancelled.
    virtual std::optional<SigningCredentials> askSigningCredentials(const SigningCredentials& initial) = 0;
    virtual void openWithDefaultApplication(const QString& path) = 0;
    // Waits the given time while the user interface keeps processing its events.
    virtual void pause(int milliseconds) = 0;

    // The progress of a long action: the step it is in and the rows done of the rows known
    // (known 0: not known). Called at will, as often as a row is done: the window shows a bar
    // and the step in its status bar, the headless tool prints a line when asked to. Shown
    // nowhere unless a user interface shows it.
    virtual void progress(const QString& step, qint64 done, qint64 known)
    {
        Q_UNUSED(step);
        Q_UNUSED(done);
        Q_UNUSED(known);
    }
    // The long action ended: its progress is no longer shown.
    virtual void progressEnd() {}
    // An action that can stop cleanly begins (true) or ends (false): only meanwhile does the user
    // interface offer to cancel (CancellableAction).
    virtual void setCancellable(bool cancellable) { Q_UNUSED(cancellable); }
    // Whether the user asked the cancellable action that runs to stop.
    virtual bool cancelRequested() { return false; }
};
