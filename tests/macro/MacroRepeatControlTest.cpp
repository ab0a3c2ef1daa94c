// The repeat control's buttons on the selected macro's mode: Once, Loop, and a count kept
// within 2 to 99.
#include "macro/MacroRepeatControl.h"

#include "config/MacroTable.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(MacroRepeatControl, ButtonsSetTheSelectedMacrosMode) {
    MacroTable table;
    int selected = -1;
    MacroRepeatControl control(
        table, [&] { return selected; }, nullptr);
    using Part = MacroRepeatControl::Part;
    control.choose(Part::Loop); // no macro selected: nothing
    EXPECT_EQ(table.repeat(0), kRepeatOnce);

    selected = 3;
    control.choose(Part::More); // from once, the count button's count: 2
    EXPECT_EQ(table.repeat(3), 2);
    control.choose(Part::Fewer);
    EXPECT_EQ(table.repeat(3), 2);
    control.choose(Part::More);
    EXPECT_EQ(table.repeat(3), 3);
    control.choose(Part::Loop);
    EXPECT_EQ(table.repeat(3), kRepeatLoop);
    control.choose(Part::Count); // the count chosen last
    EXPECT_EQ(table.repeat(3), 3);
    table.setRepeat(3, kRepeatMaxCount);
    control.choose(Part::More);
    EXPECT_EQ(table.repeat(3), kRepeatMaxCount);
    control.choose(Part::Once);
    EXPECT_EQ(table.repeat(3), kRepeatOnce);
    EXPECT_EQ(table.repeat(2), kRepeatOnce);
}

} // namespace
} // namespace veldran
