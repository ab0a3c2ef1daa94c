#include "menus/MenuContext.h"

namespace veldran {

namespace {
constexpr int kFirstSlotElement = 17; // main elements 17 to 26 are the fields of slots 1 to 10
} // namespace

bool MenuContext::writeTargetCode(int code) const {
    const int slot = state.functionMenu.targetSlot - (kFirstSlotElement - 1);
    if (slot < 1 || slot > kSlotCount) {
        return false;
    }
    profile.setCode(slot, code);
    return true;
}

} // namespace veldran
