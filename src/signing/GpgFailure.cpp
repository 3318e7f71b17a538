#include "signing/GpgFailure.h"

#include <vector>

namespace GpgFailure {

namespace {

const QString kPrefix = QStringLiteral("[GNUPG:] ");

// Error codes of gpg's FAILURE and ERROR lines (the low 16 bits; the rest names the source).
constexpr int kBadPassphrase = 11;
constexpr int kUnusableSecretKey = 54;

// The status keywords that tell why a run failed; the others report progress.
const QStringList kFailureKeywords{
    QStringLiteral("BAD_PASSPHRASE"), QStringLiteral("MISSING_PASSPHRASE"), QStringLiteral("INV_SGNR"),
    QStringLiteral("INV_RECP"),       QStringLiteral("NO_SECKEY"),          QStringLiteral("NO_PUBKEY"),
    QStringLiteral("KEYEXPIRED"),     QStringLiteral("KEYREVOKED"),         QStringLiteral("FAILURE"),
    QStringLiteral("ERROR")};

struct Status {
    QString keyword;
    QStringList arguments;
    QString line;  // without the prefix
};

Status parse(const QString& line)
{
    Status status;
    status.line = line.mid(kPrefix.size());
    status.keyword = status.line.section(QLatin1Char(' '), 0, 0);
    status.arguments = status.line.section(QLatin1Char(' '), 1).split(QLatin1Char(' '));
    return status;
}

// The error code of a FAILURE or ERROR line ("FAILURE sign-encrypt 67108875").
int errorCode(const Status& status)
{
    return status.arguments.isEmpty() ? 0 : int(status.arguments.last().toLongLong() & 0xFFFF);
}

// The key named by an INV_SGNR or INV_RECP line ("INV_RECP 1 Name <mail>").
QString keyName(const Status& status)
{
    return status.arguments.mid(1).join(QLatin1Char(' '));
}

}  // namespace

QString badPassPhrase()
{
    return QStringLiteral("Napačno geslo!");
}

QString unknownSigner(const QString& user)
{
    return QStringLiteral("Ključ podpisnika ") + user + QStringLiteral(" ne obstaja!");
}

QString unusableSigner(const QString& user)
{
    return QStringLiteral("Ključ podpisnika ") + user + QStringLiteral(" je potekel ali preklican!");
}

QString unknownRecipient(const QString& recipient)
{
    return QStringLiteral("Ključ prejemnika ") + recipient + QStringLiteral(" ne obstaja!");
}

QString expiredRecipient(const QString& recipient)
{
    return QStringLiteral("Ključ prejemnika ") + recipient + QStringLiteral(" je potekel!");
}

QString reason(const QStringList& statusLines, const QString& diagnostics)
{
    std::vector<Status> failures;
    bool expired = false;
    bool badPass = false;
    bool unusableKey = false;
    for (const QString& line : statusLines) {
        if (!line.startsWith(kPrefix))
            continue;
        const Status status = parse(line);
        if (!kFailureKeywords.contains(status.keyword))
            continue;
        failures.push_back(status);
        if (status.keyword == QLatin1String("KEYEXPIRED"))
            expired = true;
        if (status.keyword == QLatin1String("BAD_PASSPHRASE"))
            badPass = true;
        if (status.keyword == QLatin1String("FAILURE") || status.keyword == QLatin1String("ERROR")) {
            badPass = badPass || errorCode(status) == kBadPassphrase;
            unusableKey = unusableKey || errorCode(status) == kUnusableSecretKey;
        }
    }

    QStringList texts;
    if (badPass)
        texts << badPassPhrase();
    for (const Status& status : failures) {
        if (status.keyword == QLatin1String("INV_SGNR"))
            texts << (unusableKey ? unusableSigner(keyName(status)) : unknownSigner(keyName(status)));
        else if (status.keyword == QLatin1String("INV_RECP"))
            texts << (expired || status.arguments.value(0) == QLatin1String("5") ? expiredRecipient(keyName(status))
                                                                                 : unknownRecipient(keyName(status)));
    }
    if (!texts.isEmpty())
        return texts.join(QLatin1Char('\n'));

    for (const Status& status : failures)
        texts << status.line;
    if (!texts.isEmpty())
        return texts.join(QLatin1Char('\n'));
    return diagnostics.trimmed();
}

}  // namespace GpgFailure
