#pragma once

#include <QString>
#include <QStringList>

// Why a run of gpg made no signature, for the user: from gpg's status lines, in Slovenian where
// the system has a text for the cause (a wrong pass phrase, a key gpg does not know, a key that
// expired), else the status lines that tell the failure as gpg wrote them; without any, what
// gpg wrote on its error output (or why it did not run).
namespace GpgFailure {

QString reason(const QStringList& statusLines, const QString& diagnostics);

// The texts of the causes the system names.
QString badPassPhrase();
QString unknownSigner(const QString& user);
QString unusableSigner(const QString& user);
QString unknownRecipient(const QString& recipient);
QString expiredRecipient(const QString& recipient);

}  // namespace GpgFailure
