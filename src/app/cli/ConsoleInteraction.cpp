#include "app/cli/ConsoleInteraction.h"

#include "app/cli/CliInterrupt.h"

#include <QThread>

ConsoleInteraction::ConsoleInteraction(QTextStream& err) : err_(err) {}

void ConsoleInteraction::setSigningCredentials(const QString& user, const QString& passPhrase)
{
    credentials_.user = user;
    credentials_.passPhrase = passPhrase;
}

void ConsoleInteraction::print(const QString& text)
{
    shown_ = true;
    err_ << text << Qt::endl;
}

void ConsoleInteraction::inform(const QString& text) { print(text); }

void ConsoleInteraction::warn(const QString& text)
{
    print(text);
}

void ConsoleInteraction::error(const QString& text)
{
    print(text);
}

bool ConsoleInteraction::confirmOkCancel(const QString& text)
{
    print(text);
    return true;
}

bool ConsoleInteraction::confirmYesNo(const QString& text)
{
    print(text);
    return true;
}

Interaction::AbortIgnore ConsoleInteraction::askAbortIgnore(const QString& text)
{
    print(text);
    return abortIgnore_;
}

QString ConsoleInteraction::chooseFileToOpen(const QString&, const QString&) { return {}; }

QString ConsoleInteraction::chooseFileToSave(const QString&, const QString&, const QString&, const QString&,
                                             const QString&)
{
    return {};
}

std::optional<Interaction::SigningCredentials>
ConsoleInteraction::askSigningCredentials(const SigningCredentials& initial)
{
    SigningCredentials answer = initial;
    if (!credentials_.user.isEmpty())
        answer.user = credentials_.user;
    if (!credentials_.passPhrase.isEmpty())
        answer.passPhrase = credentials_.passPhrase;
    answer.rememberUser = false;
    answer.rememberPassPhrase = false;
    return answer;
}

void ConsoleInteraction::openWithDefaultApplication(const QString&) {}

void ConsoleInteraction::pause(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void ConsoleInteraction::progress(const QString& step, qint64 done, qint64 known)
{
    if (!progressShown_)
        return;
    const bool last = known > 0 && done + 1 >= known;
    if (step == lastStep_ && !last && sinceLine_.isValid() && sinceLine_.elapsed() < 1000)
        return;
    lastStep_ = step;
    sinceLine_.start();
    err_ << step;
    if (known > 0)
        err_ << ": " << qMin(done + 1, known) << " / " << known;
    err_ << Qt::endl;
}

void ConsoleInteraction::setCancellable(bool cancellable)
{
    CliInterrupt::setCancellable(cancellable);
}

bool ConsoleInteraction::cancelRequested()
{
    return CliInterrupt::requested();
}
