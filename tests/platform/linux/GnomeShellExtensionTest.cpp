#include "platform/linux/GnomeShellExtension.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(GnomeShellExtensionTest, FortyThreeAndFortyFourRunTheLegacyKindAndTheRestTheEsModule) {
    EXPECT_STREQ(focusExtensionUuidFor("43.9"), kLegacyFocusExtensionUuid);
    EXPECT_STREQ(focusExtensionUuidFor("44.beta"), kLegacyFocusExtensionUuid);
    EXPECT_STREQ(focusExtensionUuidFor("45.0"), kFocusExtensionUuid);
    EXPECT_STREQ(focusExtensionUuidFor("48.rc"), kFocusExtensionUuid);
    EXPECT_STREQ(focusExtensionUuidFor(""), kFocusExtensionUuid); // the Shell did not say
}

} // namespace
} // namespace veldran
