#include "core/StartupPassword.h"

#include <QIODevice>

namespace StartupPassword {

bool isAsked(const QString& parameter)
{
    return parameter == QLatin1String("-");
}

QString variableName()
{
    return QStringLiteral("ZTFI_PASSWORD");
}

std::optional<QString> read(bool inputFree, QIODevice& input)
{
    const QByteArray name = variableName().toLatin1();
    if (qEnvironmentVariableIsSet(name.constData()))
        return qEnvironmentVariable(name.constData());
    if (!inputFree || !input.isReadable())
        return std::nullopt;
    QByteArray line = input.readLine();
    if (line.isEmpty())
        return std::nullopt;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

QString missingMessage(bool inputFree)
{
    return inputFree ? QStringLiteral("Geslo \"-\": spremenljivka ZTFI_PASSWORD ni nastavljena in na standardnem "
                                      "vhodu ni vrstice z geslom.")
                     : QStringLiteral("Geslo \"-\": spremenljivka ZTFI_PASSWORD ni nastavljena (standardni vhod "
                                      "nosi geslo za podpis).");
}

}  // namespace StartupPassword
