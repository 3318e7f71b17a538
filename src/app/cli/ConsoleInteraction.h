#pragma once

#include "core/Interaction.h"

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

// The Interaction of the headless tool: every message goes to standard error exactly as the
// window would show it, one message a paragraph. Nobody is there to answer, so a question is
// printed and answered as the command line decided (the command is the user's choice: OK, Yes,
// Abort, or Ignore when the command line says so); the signing credentials are the ones given
// to the tool; a file is never chosen.
class ConsoleInteraction : public Interaction {
public:
    explicit ConsoleInteraction(QTextStream& err);

    // The user and pass phrase returned when signing credentials are asked for.
    void setSigningCredentials(const QString& user, const QString& passPhrase);
    // The answer to an Abort/Ignore question (Abort unless set).
    void setAbortIgnoreAnswer(AbortIgnore answer) { abortIgnore_ = answer; }
    // Progress lines on standard error (off unless set).
    void setProgressShown(bool shown) { progressShown_ = shown; }
    // Whether anything was shown since the start.
    bool showedMessage() const { return shown_; }

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
    // A line "step: done / known" ("step" alone while nothing is known) when the step changes,
    // when its last row is done, and at most once a second in between.
    void progress(const QString& step, qint64 done, qint64 known) override;
    // Cancelled by SIGINT or SIGTERM (CliInterrupt).
    void setCancellable(bool cancellable) override;
    bool cancelRequested() override;

private:
    void print(const QString& text);

    QTextStream& err_;
    SigningCredentials credentials_;
    bool shown_ = false;
    bool progressShown_ = false;
    QString lastStep_;
    QElapsedTimer sinceLine_;
    AbortIgnore abortIgnore_ = AbortIgnore::Abort;
};
