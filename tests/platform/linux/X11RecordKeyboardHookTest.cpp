// Key capture where there is no X display to record on: it does not start and holds nothing.
#include "platform/linux/X11RecordKeyboardHook.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(X11RecordKeyboardHook, WithoutADisplayNothingIsCaptured) {
    X11RecordKeyboardHook hook(":no-such-display");
    int delivered = 0;
    EXPECT_FALSE(hook.start([&](const KeyMessage&) { ++delivered; }));
    EXPECT_FALSE(hook.active());
    EXPECT_EQ(hook.contextId(), 0u);
    hook.stop(); // harmless when nothing runs
    EXPECT_EQ(delivered, 0);
}

} // namespace
} // namespace veldran
