#include "ui/QtInteraction.h"

#include "core/ProgramFolder.h"
#include "signing/widgets/TfPasswordDlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(dialogParent(), QtInteraction::messageTitle(), text, buttons, defaultButton);
}

}  // namespace

void QtInteraction::inform(const QString& text)
{
    QMessageBox::information(dialogParent(), QtInteraction::messageTitle(), text, QMessageBox::Ok);
}

void QtInteraction::warn(const QString& text)
{
    QMessageBox::warning(dialogParent(), QtInteraction::messageTitle(), text, QMessageBox::Ok);
}

void QtInteraction::error(const QString& text)
{
    QMessageBox::critical(dialogParent(), QtInteraction::messageTitle(), text, QMessageBox::Ok);
}

bool QtInteraction::confirmOkCancel(const QString& text)
{
    return ask(text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtInteraction::confirmYesNo(const QString& text)
{
    return ask(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

Interaction::AbortIgnore QtInteraction::askAbortIgnore(const QString& text)
{
    const auto answer = QMessageBox::warning(dialogParent(), QtInteraction::messageTitle(), text,
                                             QMessageBox::Abort | QMessageBox::Ignore,
                                             QMessageBox::Abort);
    return answer == QMessageBox::Ignore ? AbortIgnore::Ignore : AbortIgnore::Abort;
}

QString QtInteraction::chooseFileToOpen(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), QString(), folder, qtFileFilter(filter));
}

QString QtInteraction::chooseFileToSave(const QString& folder, const QString& fileName,
                                        const QString& filter, const QString& title,
                                        const QString& defaultSuffix)
{
    QFileDialog dialog(dialogParent(), title, folder, qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without a suffix takes that of the filter chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        const QString suffix = suffixOfFilter(chosen);
        if (!suffix.isEmpty())
            dialog.setDefaultSuffix(suffix);
    });
    if (!fileName.isEmpty())
        dialog.selectFile(QDir(folder).filePath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::optional<Interaction::SigningCredentials>
QtInteraction::askSigningCredentials(const SigningCredentials& initial)
{
    // The dialog remembers the values in "ZTFI.ini" itself when it is confirmed.
    TfPasswordDlg dialog(initial, ProgramFolder::path() + QStringLiteral("ZTFI.ini"), dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.credentials();
}

void QtInteraction::openWithDefaultApplication(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtInteraction::pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

QString QtInteraction::messageTitle()
{
    return QStringLiteral("ZTFI poročanje");
}

QString QtInteraction::suffixOfFilter(const QString& qtFilter)
{
    static const QRegularExpression mask(QStringLiteral(R"(\*\.(\w+))"));
    return mask.match(qtFilter).captured(1);
}

QString QtInteraction::qtFileFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString masks = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.contains(QLatin1Char('(')) && description.contains(masks)
                        ? description
                        : description + QStringLiteral(" (") + masks + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void QtInteraction::progress(const QString& step, qint64 done, qint64 known)
{
    status_.show(step, done, known);
}

void QtInteraction::progressEnd()
{
    status_.end();
}

void QtInteraction::setCancellable(bool cancellable)
{
    status_.setCancellable(cancellable);
}

bool QtInteraction::cancelRequested()
{
    return status_.cancelRequested();
}
