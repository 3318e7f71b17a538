#include "signing/SigningPrompt.h"

#include "core/Config.h"

namespace SigningPrompt {

Interaction::SigningCredentials initial(const Config& config)
{
    Interaction::SigningCredentials credentials;
    credentials.user = config.User;
    credentials.passPhrase = config.PassPhrase;
    credentials.rememberUser = !config.User.isEmpty();
    credentials.rememberPassPhrase = !config.PassPhrase.isEmpty();
    return credentials;
}

bool complete(const Interaction::SigningCredentials& credentials, Interaction& ui)
{
    if (credentials.user.isEmpty())
        ui.inform(QStringLiteral("Manjka Uporabnik!"));
    if (credentials.passPhrase.isEmpty())
        ui.inform(QStringLiteral("Manjka Geslo!"));
    return !credentials.user.isEmpty() && !credentials.passPhrase.isEmpty();
}

std::optional<Interaction::SigningCredentials> ask(const Config& config, Interaction& ui)
{
    std::optional<Interaction::SigningCredentials> credentials = ui.askSigningCredentials(initial(config));
    if (!credentials || !complete(*credentials, ui))
        return std::nullopt;
    return credentials;
}

}  // namespace SigningPrompt
