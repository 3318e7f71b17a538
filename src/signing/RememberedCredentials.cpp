#include "signing/RememberedCredentials.h"

#include "core/IniFile.h"
#include "core/PassPhraseCodec.h"

namespace RememberedCredentials {

void write(const QString& iniPath, const Interaction::SigningCredentials& credentials)
{
    const QString section = QStringLiteral("GnuPG");
    IniFile::writeValue(iniPath, section, QStringLiteral("PassPhrase"),
                        credentials.rememberPassPhrase ? PassPhraseCodec::encode(credentials.passPhrase)
                                                       : QString());
    IniFile::writeValue(iniPath, section, QStringLiteral("User"),
                        credentials.rememberUser ? credentials.user : QString());
}

}  // namespace RememberedCredentials
