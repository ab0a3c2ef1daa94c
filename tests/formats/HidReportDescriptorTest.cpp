#include "formats/HidReportDescriptor.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace veldran {
namespace {

using Bytes = std::vector<std::uint8_t>;

HidDescriptorSummary parsedAll(const Bytes& bytes) {
    const auto summary = parseHidReportDescriptor(bytes);
    EXPECT_TRUE(summary.has_value());
    return summary.value_or(HidDescriptorSummary{});
}

// The only top-level collection of a descriptor.
HidCollectionSummary parsed(const Bytes& bytes) {
    const auto summary = parsedAll(bytes);
    EXPECT_EQ(summary.collections.size(), 1u);
    return summary.collections.empty() ? HidCollectionSummary{} : summary.collections.front();
}

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// The boot-protocol mouse of the HID class definition: three buttons, five padding bits, X and Y.
const Bytes kBootMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
                          0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,
                          0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
                          0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81,
                          0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

// The boot-protocol keyboard: modifiers, reserved byte, five LEDs (output) and six key codes.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// A vendor configuration interface: input report 1 (7 bytes), feature reports 2 (63 bytes) and
// 3 (16 bytes).
const Bytes kVendorReports = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75,
                              0x08, 0x95, 0x07, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x09, 0x01,
                              0x81, 0x02, 0x85, 0x02, 0x95, 0x3F, 0x09, 0x01, 0xB1, 0x02,
                              0x85, 0x03, 0x95, 0x10, 0x09, 0x01, 0xB1, 0x02, 0xC0};

TEST(HidReportDescriptor, ReadsRealWorldDescriptors) {
    EXPECT_FALSE(parsedAll(kBootMouse).usesReportIds);
    const auto mouse = parsed(kBootMouse);
    EXPECT_TRUE(mouse.reportIds.empty());
    EXPECT_EQ(mouse.usagePage, 0x01);
    EXPECT_EQ(mouse.usage, 0x02);
    EXPECT_EQ(mouse.inputReportLength, 4); // three data bytes and the report id byte
    EXPECT_EQ(mouse.outputReportLength, 0);
    EXPECT_EQ(mouse.featureReportLength, 0);

    const auto keyboard = parsed(kBootKeyboard);
    EXPECT_EQ(keyboard.usagePage, 0x01);
    EXPECT_EQ(keyboard.usage, 0x06);
    EXPECT_EQ(keyboard.inputReportLength, 9);
    EXPECT_EQ(keyboard.outputReportLength, 2);

    const auto vendor = parsed(kVendorReports);
    EXPECT_EQ(vendor.usagePage, 0xFF00);
    EXPECT_EQ(vendor.usage, 0x01);
    EXPECT_EQ(vendor.inputReportLength, 8);
    EXPECT_EQ(vendor.featureReportLength, 64); // the longest feature report
    EXPECT_EQ(vendor.reportIds, (std::vector<std::uint8_t>{1, 2, 3}));
}

// A gaming mouse's second USB interface: a keyboard (report 1, 9 bytes with LEDs as output),
// consumer control (report 3, 3 bytes), the vendor input collection (report 6, 8 bytes) and the
// vendor feature collection (report 7, 8 bytes), all in one descriptor.
TEST(HidReportDescriptor, GivesEveryTopLevelCollectionOfACombinedInterface) {
    const Bytes keyboard = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0,
                            0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
                            0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08,
                            0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,
                            0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x05, 0x07, 0x19,
                            0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0xC0};
    const Bytes consumer = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x19,
                            0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26, 0x3C, 0x02,
                            0x95, 0x01, 0x75, 0x10, 0x81, 0x00, 0xC0};
    const Bytes vendorIn = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x15, 0x00, 0x26,
                            0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0x09, 0x01, 0x81, 0x02, 0xC0};
    const Bytes vendorFeature = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                 0x07, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                                 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0};
    const auto summary = parsedAll(joined({keyboard, consumer, vendorIn, vendorFeature}));
    EXPECT_TRUE(summary.usesReportIds);
    ASSERT_EQ(summary.collections.size(), 4u);
    const auto& kb = summary.collections[0];
    EXPECT_EQ(kb.usagePage, 0x01);
    EXPECT_EQ(kb.usage, 0x06);
    EXPECT_EQ(kb.reportIds, std::vector<std::uint8_t>{1});
    EXPECT_EQ(kb.inputReportLength, 9);
    EXPECT_EQ(kb.outputReportLength, 2);
    EXPECT_EQ(kb.featureReportLength, 0);
    const auto& cc = summary.collections[1];
    EXPECT_EQ(cc.usagePage, 0x0C);
    EXPECT_EQ(cc.reportIds, std::vector<std::uint8_t>{3});
    EXPECT_EQ(cc.inputReportLength, 3);
    // Each vendor collection has only its own reports: no sum with the keyboard's.
    const auto& in = summary.collections[2];
    EXPECT_EQ(in.usagePage, 0xFF00);
    EXPECT_EQ(in.usage, 1);
    EXPECT_EQ(in.reportIds, std::vector<std::uint8_t>{6});
    EXPECT_EQ(in.inputReportLength, 8);
    EXPECT_EQ(in.featureReportLength, 0);
    const auto& feature = summary.collections[3];
    EXPECT_EQ(feature.usagePage, 0xFF01);
    EXPECT_EQ(feature.reportIds, std::vector<std::uint8_t>{7});
    EXPECT_EQ(feature.inputReportLength, 0);
    EXPECT_EQ(feature.featureReportLength, 8);

    // The same vendor input collection without a report id: 7 data bytes and the 0 in front.
    Bytes unnumbered = vendorIn;
    unnumbered.erase(unnumbered.begin() + 7, unnumbered.begin() + 9);
    const auto plain = parsedAll(unnumbered);
    EXPECT_FALSE(plain.usesReportIds);
    ASSERT_EQ(plain.collections.size(), 1u);
    EXPECT_EQ(plain.collections[0].usagePage, 0xFF00);
    EXPECT_TRUE(plain.collections[0].reportIds.empty());
    EXPECT_EQ(plain.collections[0].inputReportLength, 8);
}

TEST(HidReportDescriptor, ReportsStayWithTheirCollectionAndExtendedUsagesCarryTheirPage) {
    // Consumer control (report 2, 2 bytes) after a mouse (report 1, 4 bytes) in one descriptor;
    // a main item outside every collection counts for neither.
    const Bytes twoCollections = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x75,
                                  0x08, 0x95, 0x04, 0x81, 0x02, 0xC0, 0x95, 0x20, 0x81,
                                  0x02, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02,
                                  0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};
    const auto both = parsedAll(twoCollections);
    ASSERT_EQ(both.collections.size(), 2u);
    EXPECT_EQ(both.collections[0].usagePage, 0x01);
    EXPECT_EQ(both.collections[0].usage, 0x02);
    EXPECT_EQ(both.collections[0].inputReportLength, 5);
    EXPECT_EQ(both.collections[1].usagePage, 0x0C);
    EXPECT_EQ(both.collections[1].inputReportLength, 3);
    EXPECT_EQ(both.collections[1].reportIds, std::vector<std::uint8_t>{2});

    // A four-byte usage carries its own page; push and pop restore the global state; a long
    // item is skipped whole.
    const Bytes extended = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x01, 0xFF, 0xA1, 0x01,
                            0x75, 0x08, 0x95, 0x03, 0xA4, 0x95, 0x40, 0xB4, 0xFE,
                            0x02, 0x10, 0xAA, 0xBB, 0xB1, 0x02, 0xC0};
    const auto ext = parsed(extended);
    EXPECT_EQ(ext.usagePage, 0xFF01);
    EXPECT_EQ(ext.usage, 0x01);
    EXPECT_EQ(ext.featureReportLength, 4);
}

TEST(HidReportDescriptor, RejectsMalformedDescriptors) {
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{}));
    Bytes truncated = kBootMouse;
    truncated.resize(truncated.size() - 1); // one collection left open
    EXPECT_FALSE(parseHidReportDescriptor(truncated));
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0x05, 0x01, 0x09, 0x02, 0xA1})); // item cut short
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0x05, 0x01, 0x75, 0x08, 0x81, 0x02})); // none
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0xA1, 0x01, 0xC0, 0xC0}));
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0xA1, 0x01, 0xB4, 0xC0})); // pop, no push
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0xA1, 0x01, 0xFE, 0x09, 0x00, 0xC0}));
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0xA1, 0x01, 0x85, 0x00, 0xC0}));       // id 0
    EXPECT_FALSE(parseHidReportDescriptor(Bytes{0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0})); // 256
}

TEST(HidReportDescriptor, HugeReportsSaturateInsteadOfOverflowing) {
    const Bytes huge = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF,
                        0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02, 0xB1, 0x02, 0xC0};
    EXPECT_EQ(parsed(huge).featureReportLength, kMaxHidReportLength);
}

} // namespace
} // namespace veldran
