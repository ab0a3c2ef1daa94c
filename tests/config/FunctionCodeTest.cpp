// The FunctionCode table, classification on Apply, DPI stepping, the next-profile rule, the DPI
// value byte and the factory values.
#include "config/FunctionCode.h"

#include "config/ValueBounds.h"
#include "fakes/FakeWindowPort.h"

#include <climits>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using Value = std::optional<std::uint8_t>;

TEST(FunctionCodeClassify, GivesEachCodeItsDeviceValueAndDpiAction) {
    struct Row {
        std::int32_t code;
        Value value;
        DpiAction action;
    };
    const Row rows[] = {
        {0, 0, DpiAction::None},
        {5, 5, DpiAction::None},
        {6, 31, DpiAction::Cycle},
        {7, std::nullopt, DpiAction::None},
        {10, std::nullopt, DpiAction::None},
        {11, 7, DpiAction::None},
        {16, 12, DpiAction::None},
        {17, 31, DpiAction::StepUp},
        {18, 31, DpiAction::StepDown},
        {19, 8, DpiAction::None},
        {20, std::nullopt, DpiAction::None},
        {21, 13, DpiAction::None},
        {25, 17, DpiAction::None},
        {26, 31, DpiAction::None},
        {30, 31, DpiAction::None},
        {40, 31, DpiAction::None},
        {52, 31, DpiAction::None},
        {53, std::nullopt, DpiAction::None},
        {-1, std::nullopt, DpiAction::None},
        {INT_MIN, std::nullopt, DpiAction::None},
        {INT_MAX, std::nullopt, DpiAction::None},
    };
    for (const Row& row : rows) {
        const Classification got = classify(row.code);
        EXPECT_EQ(got.deviceValue, row.value) << "code " << row.code;
        EXPECT_EQ(got.dpiAction, row.action) << "code " << row.code;
    }
}

class ApplyClassification : public ::testing::Test {
protected:
    void setCodes(std::array<std::int32_t, kDeviceSlotCount> codes) {
        for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
            model_.profile.setCode(slot, codes[static_cast<std::size_t>(slot - 1)]);
        }
    }

    ConfigModel model_;
    fakes::FakeWindowPort window_;
};

TEST_F(ApplyClassification, HardwareOnlyProfileLeavesTheExecutorArmed) {
    setCodes({1, 2, 3, 5, 4, 11, 13});
    model_.runtime.firstSoftwareSlot.store(4);
    const auto values = classifySlotsForApply(model_, window_);
    EXPECT_TRUE(model_.runtime.armed.load());
    EXPECT_EQ(model_.runtime.firstSoftwareSlot.load(), 4);
    EXPECT_EQ(values, (std::array<Value, 7>{1, 2, 3, 5, 4, 7, 9}));
    EXPECT_TRUE(window_.messages().empty());
}

TEST_F(ApplyClassification, LowestSoftwareSlotDisarmsAndSetsDpiActions) {
    setCodes({1, 18, 31, 7, 4, 6, 17});
    model_.profile.dpiActions[0].store(2); // a stale action is overwritten
    const auto values = classifySlotsForApply(model_, window_);
    EXPECT_FALSE(model_.runtime.armed.load());
    EXPECT_EQ(model_.runtime.firstSoftwareSlot.load(), 2);
    EXPECT_EQ(values, (std::array<Value, 7>{1, 31, 31, std::nullopt, 4, 31, 31}));
    const std::array<std::int32_t, 7> actions = {0, -1, 0, 0, 0, 2, 1};
    for (std::size_t i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(model_.profile.dpiActions[i].load(), actions[i]) << "slot " << i + 1;
    }
}

TEST_F(ApplyClassification, SoftwareSlotThreeBeforeCycleSlotSix) {
    setCodes({1, 2, 31, 5, 4, 6, 13});
    classifySlotsForApply(model_, window_);
    EXPECT_EQ(model_.runtime.firstSoftwareSlot.load(), 3);
    EXPECT_FALSE(model_.runtime.armed.load());
}

TEST_F(ApplyClassification, StoredNineteenBecomesTwelveWithOneMessagePerSlot) {
    setCodes({1, 19, 3, 19, 4, 6, 13});
    model_.profile.setCode(9, 19); // slots 8 to 10 are not classified
    const auto values = classifySlotsForApply(model_, window_);
    EXPECT_EQ(values[1], Value(8));
    EXPECT_EQ(values[3], Value(8));
    EXPECT_EQ(model_.profile.code(2), 12);
    EXPECT_EQ(model_.profile.code(4), 12);
    EXPECT_EQ(model_.profile.code(9), 19);
    EXPECT_EQ(window_.messages(), (std::vector<std::string>{kCode19Message, kCode19Message}));
}

TEST(DpiStep, StopsAtTheEndsAndCycleWraps) {
    EXPECT_EQ(stepDpiLevel(0, DpiAction::StepUp), 1);
    EXPECT_EQ(stepDpiLevel(3, DpiAction::StepUp), 3);
    EXPECT_EQ(stepDpiLevel(2, DpiAction::StepDown), 1);
    EXPECT_EQ(stepDpiLevel(0, DpiAction::StepDown), 0);
    EXPECT_EQ(stepDpiLevel(2, DpiAction::Cycle), 3);
    EXPECT_EQ(stepDpiLevel(3, DpiAction::Cycle), 0);
    EXPECT_EQ(stepDpiLevel(2, DpiAction::None), 2);
}

TEST(DpiStep, LevelsFromAHandEditedFileStayWithinTheStages) {
    EXPECT_EQ(stepDpiLevel(9, DpiAction::Cycle), 0);
    EXPECT_EQ(stepDpiLevel(9, DpiAction::StepUp), 3);
    EXPECT_EQ(stepDpiLevel(9, DpiAction::StepDown), 2);
    EXPECT_EQ(stepDpiLevel(-4, DpiAction::StepDown), 0);
    EXPECT_EQ(stepDpiLevel(INT_MIN, DpiAction::StepUp), 1);
    EXPECT_EQ(stepDpiLevel(INT_MAX, DpiAction::None), 3);
}

TEST(NextProfile, CountsUpToFiveThenStartsAgain) {
    EXPECT_EQ(nextProfileNumber(0), 1);
    EXPECT_EQ(nextProfileNumber(1), 2);
    EXPECT_EQ(nextProfileNumber(4), 5);
    EXPECT_EQ(nextProfileNumber(5), 1);
    EXPECT_EQ(nextProfileNumber(6), 1);
    EXPECT_EQ(nextProfileNumber(-7), 1);
}

TEST(DpiValueByte, PacksCodeAndLightMode) {
    EXPECT_EQ(dpiValueByte(1, 0), 0x90);
    EXPECT_EQ(dpiValueByte(0, 3), 0x83);
    EXPECT_EQ(dpiValueByte(3, 2), 0xB2);
    EXPECT_EQ(dpiValueByte(0, 2), 0x82);
    EXPECT_EQ(dpiValueByte(8, 0), 0x00);     // (8 + 8) x 16 wraps
    EXPECT_EQ(dpiValueByte(255, 255), 0x6F); // (263 x 16 + 255) mod 256
}

TEST(DpiSelection, IdsAndResolutionTexts) {
    EXPECT_EQ(selectionIdFor(1, 1), 46);
    EXPECT_EQ(selectionIdFor(2, 44), 94);
    EXPECT_EQ(selectionIdFor(4, 3), 63);
    EXPECT_EQ(selectionIdFor(1, INT_MAX), INT_MAX);
    const std::array<const char*, 6> texts = {"4000", "1600", "2400", "3200", "3200", "1600"};
    for (int code = 0; code < 6; ++code) {
        EXPECT_STREQ(dpiResolutionText(code), texts[static_cast<std::size_t>(code)]);
    }
    EXPECT_STREQ(dpiResolutionText(-1), "1600");
    EXPECT_STREQ(dpiResolutionText(255), "1600");
}

TEST(ValueBounds, NameOnlyExistingChoices) {
    EXPECT_EQ(safeDpiLevel(-1), 0);
    EXPECT_EQ(safeDpiLevel(7), 3);
    EXPECT_TRUE(isValidSelectionId(1, 49));
    EXPECT_FALSE(isValidSelectionId(1, 50)); // stage 2's first choice
    EXPECT_FALSE(isValidSelectionId(2, 94)); // DPI_SET2 of 300
    EXPECT_FALSE(isValidSelectionId(5, 65));
    EXPECT_FALSE(isValidLightMode(4));
    EXPECT_FALSE(isValidMacroIndex(12));
}

TEST(Factory, ResetsTheMouseSettingsAndNothingElse) {
    ConfigModel model;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        model.profile.setCode(slot, 40 + slot);
    }
    model.profile.dpiActions[5].store(2);
    model.profile.wheelMode.store(1);
    model.profile.dpiLevel.store(3);
    model.profile.lightMode.store(2);
    for (auto& stage : model.profile.stages) {
        stage.editedCode.store(4);
        stage.codeInForce.store(4);
        stage.selectionId.store(99);
    }
    model.runtime.curConfig.store(4);
    model.runtime.armed.store(false);

    resetToFactory(model.profile);

    const std::array<std::int32_t, 10> codes = {1, 2, 3, 5, 4, 6, 13, 48, 49, 50};
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(model.profile.code(slot), codes[static_cast<std::size_t>(slot - 1)]);
    }
    EXPECT_EQ(model.profile.wheelMode.load(), 0);
    EXPECT_EQ(model.profile.dpiLevel.load(), 0);
    EXPECT_EQ(model.profile.lightMode.load(), 0);
    const std::array<int, 4> dpi = {1, 2, 3, 0};
    const std::array<int, 4> ids = {46, 52, 58, 60};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(model.profile.stages[i].editedCode.load(), dpi[i]);
        EXPECT_EQ(model.profile.stages[i].codeInForce.load(), dpi[i]);
        EXPECT_EQ(model.profile.stages[i].selectionId.load(), ids[i]);
    }
    EXPECT_EQ(model.profile.dpiActions[5].load(), 2);
    EXPECT_EQ(model.runtime.curConfig.load(), 4);
    EXPECT_FALSE(model.runtime.armed.load());
}

} // namespace
} // namespace veldran
