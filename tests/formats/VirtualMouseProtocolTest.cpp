#include "formats/VirtualMouseProtocol.h"

#include <gtest/gtest.h>

namespace veldran::virtualmouse {
namespace {

TEST(VirtualMouseProtocol, HexBytesRoundTripAndRejectNonBytes) {
    const std::vector<std::uint8_t> bytes = {0x07, 0x10, 0x05, 0x09, 0x00, 0xFF};
    EXPECT_EQ(hexBytes(bytes), "07 10 05 09 00 ff");
    EXPECT_EQ(parseHexBytes(hexBytes(bytes)), bytes);
    EXPECT_EQ(parseHexBytes("  7 A\tff "), (std::vector<std::uint8_t>{0x07, 0x0A, 0xFF}));
    EXPECT_EQ(parseHexBytes(""), std::vector<std::uint8_t>{});
    EXPECT_FALSE(parseHexBytes("100"));
    EXPECT_FALSE(parseHexBytes("0g"));
    EXPECT_FALSE(parseHexBytes("-1"));
}

TEST(VirtualMouseProtocol, InterfaceLinesCarryIdentifiersAndDescriptor) {
    const InterfaceLine line{"virtual-mouse/hid2",
                             0x18F8,
                             0x0F99,
                             {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x75, 0x08,
                              0x95, 0x07, 0xB1, 0x02, 0xC0}};
    const std::string text = formatInterfaceLine(line);
    EXPECT_EQ(text.substr(0, 39), "interface virtual-mouse/hid2 18f8 0f99 ");
    const auto parsed = parseInterfaceLine(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->descriptor, line.descriptor);
    const auto entries = interfacesOf(*parsed);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->front().path, "virtual-mouse/hid2");
    EXPECT_EQ(entries->front().usagePage, 0xFF01);
    EXPECT_EQ(entries->front().featureReportLength, 8);
    EXPECT_EQ(entries->front().reportIds, std::vector<std::uint8_t>{7});

    EXPECT_FALSE(parseInterfaceLine("interface p 18f8 0f99 0"));   // odd hex digits
    EXPECT_FALSE(parseInterfaceLine("interface p 18f8 0f99"));     // no descriptor
    EXPECT_FALSE(parseInterfaceLine("interface p 118f8 0f99 c0")); // not 16 bits
    EXPECT_FALSE(interfacesOf({"p", 1, 2, {0xC0}}).has_value());   // unreadable descriptor
}

TEST(VirtualMouseProtocol, LinesAreSplitAndBounded) {
    LineSplitter lines;
    EXPECT_TRUE(lines.feed("ok\r\nfeature 07"));
    EXPECT_EQ(lines.next(), "ok");
    EXPECT_FALSE(lines.next());
    EXPECT_TRUE(lines.feed(" 20\n"));
    EXPECT_EQ(lines.next(), "feature 07 20");
    const auto [word, rest] = splitCommand("  press 3");
    EXPECT_EQ(word, "press");
    EXPECT_EQ(rest, "3");

    LineSplitter flood;
    EXPECT_FALSE(flood.feed(std::string(kMaxLineLength + 1, 'x')));
    LineSplitter afterLines;
    EXPECT_TRUE(afterLines.feed("one\ntwo\n" + std::string(kMaxLineLength, 'x')));
    EXPECT_FALSE(afterLines.feed("x"));
}

} // namespace
} // namespace veldran::virtualmouse
