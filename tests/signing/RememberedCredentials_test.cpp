#include "core/IniFile.h"
#include "signing/RememberedCredentials.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(RememberedCredentials, WritesTheHexPassPhraseAndUserOrEmptiesThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("ZTFI.ini"));
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[GnuPG]\r\nPath=\\GnuPG\\\r\nUser=star\r\n[Splo\x9Ano]\r\nATVP_Uporabnik=atvp\r\n");
    }

    Interaction::SigningCredentials credentials;
    credentials.user = QStringLiteral("podpisnik");
    credentials.passPhrase = QStringLiteral("abc");
    credentials.rememberUser = true;
    credentials.rememberPassPhrase = true;
    RememberedCredentials::write(ini, credentials);
    EXPECT_EQ(readAll(ini), QByteArray("[GnuPG]\r\nPath=\\GnuPG\\\r\nUser=podpisnik\r\nPassPhrase=616263\r\n"
                                       "[Splo\x9Ano]\r\nATVP_Uporabnik=atvp\r\n"));

    credentials.rememberPassPhrase = false;
    RememberedCredentials::write(ini, credentials);
    const IniFile kept = IniFile::read(ini);
    EXPECT_EQ(kept.value(QStringLiteral("GnuPG"), QStringLiteral("PassPhrase"), QStringLiteral("?")), QString());
    EXPECT_EQ(kept.value(QStringLiteral("GnuPG"), QStringLiteral("User")), QStringLiteral("podpisnik"));

    credentials.rememberUser = false;
    credentials.rememberPassPhrase = true;
    RememberedCredentials::write(ini, credentials);
    const IniFile swapped = IniFile::read(ini);
    EXPECT_EQ(swapped.value(QStringLiteral("GnuPG"), QStringLiteral("User"), QStringLiteral("?")), QString());
    EXPECT_EQ(swapped.value(QStringLiteral("GnuPG"), QStringLiteral("PassPhrase")), QStringLiteral("616263"));
    EXPECT_EQ(swapped.value(QStringLiteral("Splošno"), QStringLiteral("ATVP_Uporabnik")), QStringLiteral("atvp"));
}

}  // namespace
