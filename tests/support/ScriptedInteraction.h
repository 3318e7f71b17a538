#pragma once

#include "core/Interaction.h"
#include "support/QtPrinters.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <iosfwd>
#include <vector>

// The Interaction of the tests: records every call in order and answers questions from queues
// filled beforehand. A question without a queued answer fails the running test and gets the
// negative answer (false, Abort, an empty file name, cancelled credentials).
class ScriptedInteraction : public Interaction {
public:
    struct Call {
        QString kind;  // the method's name: "inform", "warn", "confirmOkCancel", ...
        QString text;  // the message, or the folder, path or user the call was given
        QStringList arguments;  // every argument as text, in order (flags as 0 or 1)
        // Calls compare by kind and text.
        bool operator==(const Call& other) const { return kind == other.kind && text == other.text; }
    };

    // Queue the answers of the questions, one queue per kind of question.
    void answerOkCancel(bool ok) { okCancel_.push_back(ok); }
    void answerYesNo(bool yes) { yesNo_.push_back(yes); }
    void answerAbortIgnore(AbortIgnore answer) { abortIgnore_.push_back(answer); }
    void answerFileToOpen(const QString& path) { filesToOpen_.push_back(path); }
    void answerFileToSave(const QString& path) { filesToSave_.push_back(path); }
    void answerSigningCredentials(const std::optional<SigningCredentials>& answer)
    {
        credentials_.push_back(answer);
    }

    // Every call so far, in order.
    const std::vector<Call>& calls() const { return calls_; }
    // The texts of the calls of one kind, in order.
    QStringList texts(const QString& kind) const;
    // The texts of every message shown (inform, warn, error), in order.
    QStringList messages() const;
    void clearCalls() { calls_.clear(); }

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
    // Waits for real, processing events, as the window does (a process may be finishing).
    void pause(int milliseconds) override;
    // Progress is kept apart from the calls (an action reports it as often as it likes): the
    // steps in the order they were first reported.
    void progress(const QString& step, qint64 done, qint64 known) override;
    const QStringList& progressSteps() const { return progressSteps_; }
    // The user asks to cancel once the progress reaches the step (from then on cancelRequested()).
    // An empty step: the user does not cancel (the default).
    void cancelAtStep(const QString& step)
    {
        cancelStep_ = step;
        cancelled_ = false;
    }
    void setCancellable(bool cancellable) override { cancellable_ = cancellable; }
    bool cancelRequested() override { return cancelled_; }
    // Whether a cancellable action runs (the window would offer its cancel button).
    bool cancellable() const { return cancellable_; }

private:
    void record(const QString& kind, const QStringList& arguments);

    std::vector<Call> calls_;
    QStringList progressSteps_;
    QString cancelStep_;
    bool cancelled_ = false;
    bool cancellable_ = false;
    std::deque<bool> okCancel_;
    std::deque<bool> yesNo_;
    std::deque<AbortIgnore> abortIgnore_;
    std::deque<QString> filesToOpen_;
    std::deque<QString> filesToSave_;
    std::deque<std::optional<SigningCredentials>> credentials_;
};

// Prints a call in test failures: kind("text").
void PrintTo(const ScriptedInteraction::Call& call, std::ostream* os);
