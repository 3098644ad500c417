// The guard around event handlers.
#include "platform/guard.h"

#include <exception>

namespace platform {

bool RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& failure) {
        dialogs.Error(QString::fromUtf8(failure.what()) + u'.');
    } catch (...) {
        dialogs.Error(QStringLiteral("Nieznany błąd."));
    }
    return false;
}

}  // namespace platform
