#include "ui/QtInteraction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QString title()
{
    return QStringLiteral("ZTFI poročanje");
}

QString signingTitle()
{
    return QStringLiteral("Elektronski podpis");
}

QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(dialogParent(), title(), text, buttons, defaultButton);
}

}  // namespace

void QtInteraction::inform(const QString& text)
{
    QMessageBox::information(dialogParent(), title(), text, QMessageBox::Ok);
}

void QtInteraction::warn(const QString& text)
{
    QMessageBox::warning(dialogParent(), title(), text, QMessageBox::Ok);
}

void QtInteraction::error(const QString& text)
{
    QMessageBox::critical(dialogParent(), title(), text, QMessageBox::Ok);
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
    const auto answer = QMessageBox::warning(dialogParent(), title(), text,
                                             QMessageBox::Abort | QMessageBox::Ignore,
                                             QMessageBox::Abort);
    return answer == QMessageBox::Ignore ? AbortIgnore::Ignore : AbortIgnore::Abort;
}

QString QtInteraction::chooseFileToOpen(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), QString(), folder, qtFileFilter(filter));
}

QString QtInteraction::chooseFileToSave(const QString& folder, const QString& fileName,
                                        const QString& filter)
{
    const QString start = fileName.isEmpty() ? folder : QDir(folder).filePath(fileName);
    return QFileDialog::getSaveFileName(dialogParent(), QString(), start, qtFileFilter(filter));
}

std::optional<Interaction::SigningCredentials>
QtInteraction::askSigningCredentials(const SigningCredentials& initial)
{
    bool ok = false;
    const QString user = QInputDialog::getText(dialogParent(), signingTitle(), QStringLiteral("Uporabnik:"),
                                               QLineEdit::Normal, initial.user, &ok);
    if (!ok)
        return std::nullopt;
    const QString passPhrase = QInputDialog::getText(dialogParent(), signingTitle(), QStringLiteral("Geslo:"),
                                                     QLineEdit::Password, initial.passPhrase, &ok);
    if (!ok)
        return std::nullopt;
    SigningCredentials result = initial;
    result.user = user;
    result.passPhrase = passPhrase;
    return result;
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
