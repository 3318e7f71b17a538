#pragma once

#include "core/Interaction.h"

#include <optional>

struct Config;

// The signing dialog as both signing actions use it: pre-filled with the remembered user and
// pass phrase of the configuration (the "remember" boxes ticked where a value is remembered).
namespace SigningPrompt {

// The credentials the dialog starts with.
Interaction::SigningCredentials initial(const Config& config);

// Shows "Manjka Uporabnik!" for an empty user and "Manjka Geslo!" for an empty pass phrase;
// whether both are filled.
bool complete(const Interaction::SigningCredentials& credentials, Interaction& ui);

// Shows the dialog. After a confirmation, shows "Manjka Uporabnik!" for an empty user and
// "Manjka Geslo!" for an empty pass phrase. The credentials when confirmed with both filled,
// else nullopt.
std::optional<Interaction::SigningCredentials> ask(const Config& config, Interaction& ui);

}  // namespace SigningPrompt
