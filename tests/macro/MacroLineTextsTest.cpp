// The texts of the event list: every key code's name, the event and pause lines, and which line
// each event and pause stands on.
#include "macro/MacroLineTexts.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace veldran {
namespace {

// The named codes, written out independently of the code under test.
const std::map<int, QString>& namedCodes() {
    static const std::map<int, QString> names = [] {
        std::map<int, QString> n = {
            {0x08, "BACK"},       {0x09, "TAB"},
            {0x0C, "CLEAR"},      {0x0D, "RETURN"},
            {0x10, "SHIFT"},      {0x11, "CONTROL"},
            {0x12, "MENU"},       {0x13, "PAUSE"},
            {0x14, "CAPITAL"},    {0x15, "KANA"},
            {0x17, "JUNJA"},      {0x18, "FINAL"},
            {0x19, "HANJA"},      {0x1B, "ESCAPE"},
            {0x1C, "CONVERT"},    {0x1D, "NONCONVERT"},
            {0x1E, "ACCEPT"},     {0x1F, "MODECHANGE"},
            {0x20, "SPACE"},      {0x21, "PRIOR"},
            {0x22, "NEXT"},       {0x23, "END"},
            {0x24, "HOME"},       {0x25, "LEFT"},
            {0x26, "UP"},         {0x27, "RIGHT"},
            {0x28, "DOWN"},       {0x29, "SELECT"},
            {0x2A, "PRINT"},      {0x2B, "EXECUTE"},
            {0x2C, "SNAPSHOT"},   {0x2D, "INSERT"},
            {0x2E, "DELETE"},     {0x2F, "HELP"},
            {0x5B, "LWIN"},       {0x5C, "RWIN"},
            {0x5D, "APPS"},       {0x5F, "SLEEP"},
            {0x6A, "MULTIPLY"},   {0x6B, "ADD"},
            {0x6C, "SEPARATOR"},  {0x6D, "SUBTRACT"},
            {0x6E, "DECIMAL"},    {0x6F, "DIVIDE"},
            {0x90, "NUMLOCK"},    {0x91, "SCROLL"},
            {0xA0, "LSHIFT"},     {0xA1, "RSHIFT"},
            {0xA2, "LCONTROL"},   {0xA3, "RCONTROL"},
            {0xA4, "LMENU"},      {0xA5, "RMENU"},
            {0xF0, "Left_Key"},   {0xF1, "Right_Key"},
            {0xF2, "Middle_Key"}, {0xBA, ";:"},
            {0xBB, "+"},          {0xBC, ","},
            {0xBD, "-"},          {0xBE, "."},
            {0xBF, "/?"},         {0xC0, "`~"},
            {0xDB, "[{"},         {0xDC, QString(QChar('\\')) + QChar('|')},
            {0xDD, "]}"},         {0xDE, " ' "},
            {0xDF, "OEM_8"},      {0xE2, "OEM_102"},
        };
        for (int c = 'A'; c <= 'Z'; ++c) {
            n[c] = QString(QChar(c));
        }
        for (int d = 0; d <= 9; ++d) {
            n[0x30 + d] = QString::number(d);
            n[0x60 + d] = "NUMPAD" + QString::number(d);
        }
        for (int f = 1; f <= 24; ++f) {
            n[0x6F + f] = "F" + QString::number(f);
        }
        return n;
    }();
    return names;
}

// The codes without a key, as ranges.
std::set<int> unavailableCodes() {
    const std::pair<int, int> ranges[] = {{0x00, 0x07}, {0x0A, 0x0B}, {0x0E, 0x0F}, {0x16, 0x16},
                                          {0x1A, 0x1A}, {0x3A, 0x40}, {0x5E, 0x5E}, {0x88, 0x8F},
                                          {0x92, 0x9F}, {0xA6, 0xB9}, {0xC1, 0xDA}, {0xE0, 0xE1},
                                          {0xE3, 0xEF}, {0xF3, 0xFF}};
    std::set<int> codes;
    for (const auto& [first, last] : ranges) {
        for (int c = first; c <= last; ++c) {
            codes.insert(c);
        }
    }
    return codes;
}

TEST(KeyName, EveryCodeHasItsNameOrNotAvailable) {
    const std::set<int> unavailable = unavailableCodes();
    for (int code = 0; code <= 0xFF; ++code) {
        const QString name = KeyName(static_cast<std::uint8_t>(code));
        const auto named = namedCodes().find(code);
        if (named != namedCodes().end()) {
            EXPECT_EQ(name, named->second) << "code " << code;
            EXPECT_EQ(unavailable.count(code), 0u) << "code " << code;
        } else {
            EXPECT_EQ(unavailable.count(code), 1u) << "code " << code << " has no name";
            EXPECT_EQ(name, "Not Available") << "code " << code;
        }
    }
    EXPECT_EQ(namedCodes().size() + unavailable.size(), 256u);
    EXPECT_EQ(KeyName(0x61), "NUMPAD1"); // not the letter a
    EXPECT_EQ(KeyName(0xDE).size(), 3);
}

TEST(EventLines, PrefixesAndPausesAsShown) {
    EXPECT_EQ(EventLineText({0xA0, 1, 0}), "[Down]LSHIFT");
    EXPECT_EQ(EventLineText({0xF1, 2, 0}), "[Up  ]Right_Key");
    EXPECT_EQ(EventLineText({0x41, 0, 0}), "A");
    EXPECT_EQ(EventLineText({0x41, 7, 0}), "A");
    EXPECT_EQ(DelayLineText(0x012C), "  300ms");
    EXPECT_EQ(DelayLineText(0), "  0ms");
    EXPECT_EQ(DelayLineText(0xFFFF), "  65535ms");

    MacroRecord record;
    record.setEvent(0, {0x41, 1, 0x012C});
    record.setEvent(1, {0x41, 2, 0xFFFF});
    record.setEvent(2, {0xF0, 1, 5});
    EXPECT_EQ(EventLines(record, 0), QStringList{"[Down]A"});
    EXPECT_EQ(EventLines(record, 1), (QStringList{"  300ms", "[Up  ]A"}));
    EXPECT_EQ(EventLines(record, 2), (QStringList{"  65535ms", "[Down]Left_Key"}));
    EXPECT_TRUE(EventLines(record, 41).isEmpty());
}

TEST(EventLines, EventOnEvenLinesAndThePauseAfterItOnTheNextLine) {
    EXPECT_EQ(eventLineOf(3), 6);
    EXPECT_EQ(pauseLineAfter(2), 5);
    EXPECT_EQ(eventOfLine(5), 2); // a pause line belongs to the event above it
    EXPECT_EQ(eventOfLine(6), 3);
    EXPECT_EQ(eventOfLine(-1), 0);
    EXPECT_TRUE(isPauseLine(5));
    EXPECT_FALSE(isPauseLine(6));
    EXPECT_FALSE(isPauseLine(-1));
}

} // namespace
} // namespace veldran
