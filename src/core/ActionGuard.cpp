#include "core/ActionGuard.h"

#include "core/CancellableAction.h"
#include "core/Error.h"
#include "core/Interaction.h"

#include <exception>

bool runGuarded(Interaction& ui, const std::function<void()>& action)
{
    try {
        action();
        ui.progressEnd();
        return true;
    } catch (const ActionCancelled& cancelled) {
        ui.progressEnd();
        ui.inform(cancelled.message());
    } catch (const ZtfiError& error) {
        ui.progressEnd();
        ui.error(error.message());
    } catch (const std::exception& error) {
        ui.progressEnd();
        ui.error(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
