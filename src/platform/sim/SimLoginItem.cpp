#include "platform/sim/SimLoginItem.h"

namespace corvane::sim {

bool SimLoginItem::registerItem() {
    if (refusesRegister_) return false;
    status_ = Status::enabled;
    return true;
}

bool SimLoginItem::unregisterItem() {
    if (refusesUnregister_) return false;
    status_ = Status::notRegistered;
    return true;
}

}  // namespace corvane::sim
