#include "core/ActionGuard.h"

#include "core/Error.h"
#include "core/Interaction.h"

#include <exception>

bool runGuarded(Interaction& ui, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const ZtfiError& error) {
        ui.error(error.message());
    } catch (const std::exception& error) {
        ui.error(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
