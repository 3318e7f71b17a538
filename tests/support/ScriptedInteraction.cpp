#include "support/ScriptedInteraction.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

namespace {

// The next queued answer, or a test failure and the fallback when none is left.
template <typename T>
T takeAnswer(std::deque<T>& queue, const ScriptedInteraction::Call& call, T fallback)
{
    if (queue.empty()) {
        ADD_FAILURE() << "ScriptedInteraction: no answer queued for " << call.kind.toStdString()
                      << "(\"" << call.text.toStdString() << "\")";
        return fallback;
    }
    T answer = queue.front();
    queue.pop_front();
    return answer;
}

}  // namespace

void PrintTo(const ScriptedInteraction::Call& call, std::ostream* os)
{
    *os << call.kind.toStdString() << "(\"" << call.text.toStdString() << "\")";
}

QStringList ScriptedInteraction::texts(const QString& kind) const
{
    QStringList result;
    for (const Call& call : calls_) {
        if (call.kind == kind)
            result << call.text;
    }
    return result;
}

QStringList ScriptedInteraction::messages() const
{
    QStringList result;
    for (const Call& call : calls_) {
        if (call.kind == QLatin1String("inform") || call.kind == QLatin1String("warn")
            || call.kind == QLatin1String("error"))
            result << call.text;
    }
    return result;
}

void ScriptedInteraction::record(const QString& kind, const QStringList& arguments)
{
    calls_.push_back({kind, arguments.value(0), arguments});
}

void ScriptedInteraction::inform(const QString& text)
{
    record(QStringLiteral("inform"), {text});
}

void ScriptedInteraction::warn(const QString& text)
{
    record(QStringLiteral("warn"), {text});
}

void ScriptedInteraction::error(const QString& text)
{
    record(QStringLiteral("error"), {text});
}

bool ScriptedInteraction::confirmOkCancel(const QString& text)
{
    record(QStringLiteral("confirmOkCancel"), {text});
    return takeAnswer(okCancel_, calls_.back(), false);
}

bool ScriptedInteraction::confirmYesNo(const QString& text)
{
    record(QStringLiteral("confirmYesNo"), {text});
    return takeAnswer(yesNo_, calls_.back(), false);
}

Interaction::AbortIgnore ScriptedInteraction::askAbortIgnore(const QString& text)
{
    record(QStringLiteral("askAbortIgnore"), {text});
    return takeAnswer(abortIgnore_, calls_.back(), AbortIgnore::Abort);
}

QString ScriptedInteraction::chooseFileToOpen(const QString& folder, const QString& filter)
{
    record(QStringLiteral("chooseFileToOpen"), {folder, filter});
    return takeAnswer(filesToOpen_, calls_.back(), QString());
}

QString ScriptedInteraction::chooseFileToSave(const QString& folder, const QString& fileName,
                                              const QString& filter, const QString& title,
                                              const QString& defaultSuffix)
{
    record(QStringLiteral("chooseFileToSave"), {folder, fileName, filter, title, defaultSuffix});
    return takeAnswer(filesToSave_, calls_.back(), QString());
}

std::optional<Interaction::SigningCredentials> ScriptedInteraction::askSigningCredentials(
    const SigningCredentials& initial)
{
    record(QStringLiteral("askSigningCredentials"),
           {initial.user, initial.passPhrase, QString::number(initial.rememberUser),
            QString::number(initial.rememberPassPhrase)});
    return takeAnswer(credentials_, calls_.back(), std::optional<SigningCredentials>());
}

void ScriptedInteraction::openWithDefaultApplication(const QString& path)
{
    record(QStringLiteral("openWithDefaultApplication"), {path});
}

void ScriptedInteraction::pause(int milliseconds)
{
    record(QStringLiteral("pause"), {QString::number(milliseconds)});
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ScriptedInteraction::progress(const QString& step, qint64, qint64)
{
    if (progressSteps_.isEmpty() || progressSteps_.last() != step)
        progressSteps_ << step;
    if (!cancelStep_.isEmpty() && step == cancelStep_)
        cancelled_ = true;
}
