// ReadSkinEntry's split and failure rules, and the filling of the skin tables from layout files.
#include "skin/SkinReader.h"

#include "skin/StartupReporter.h"
#include "skin/TinySkin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using ::testing::ElementsAre;
using veldran::testing::TinySkin;

class RecordingReporter final : public StartupReporter {
public:
    void message(const QString& text) override { events.push_back(text.toStdString()); }
    void exitSequence() override { events.push_back("exit"); }
    std::vector<std::string> events;
};

TEST(SkinValue, SplitsSevenFieldsKeepingBlanks) {
    const SkinFields f = splitSkinValue(QStringLiteral("0,10,20,30,40,Texto,FALSE"));
    EXPECT_EQ(elementFromFields(f).x, 10);
    EXPECT_EQ(elementFromFields(f).height, 40);
    EXPECT_EQ(f[5], QStringLiteral("Texto"));
    EXPECT_EQ(f[6], QStringLiteral("FALSE"));

    const SkinFields blanks = splitSkinValue(QStringLiteral("0, 10, 20, 30, 40, Texto, FALSE"));
    const Element e = elementFromFields(blanks);
    EXPECT_EQ(e.x, 10);
    EXPECT_EQ(e.y, 20);
    EXPECT_EQ(e.width, 30);
    EXPECT_EQ(e.height, 40);
    EXPECT_EQ(e.label, QStringLiteral(" Texto"));
}

TEST(SkinValue, NoCommaIsFieldOneAndExtraCommasStayInFieldSeven) {
    const SkinFields whole = splitSkinValue(QStringLiteral("Copy (Ctrl+C)"));
    EXPECT_EQ(whole[0], QStringLiteral("Copy (Ctrl+C)"));
    EXPECT_TRUE(whole[1].isEmpty());

    bool tooMany = false;
    const SkinFields f = splitSkinValue(QStringLiteral("a,1,2,3,4,b,c,d,,e"), &tooMany);
    EXPECT_TRUE(tooMany);
    EXPECT_EQ(f[5], QStringLiteral("b"));
    EXPECT_EQ(f[6], QStringLiteral("c,d,,e"));

    splitSkinValue(QStringLiteral("a,1,2,3,4,b,c"), &tooMany);
    EXPECT_FALSE(tooMany);
    EXPECT_EQ(splitSkinValue(QStringLiteral("Left,ignored"))[0], QStringLiteral("Left"));
}

TEST(SkinValue, NumbersAreReadLeniently) {
    EXPECT_EQ(skinNumber(QStringLiteral("12px")), 12);
    EXPECT_EQ(skinNumber(QStringLiteral("  -7")), -7);
    EXPECT_EQ(skinNumber(QStringLiteral("+5")), 5);
    EXPECT_EQ(skinNumber(QStringLiteral("px12")), 0);
    EXPECT_EQ(skinNumber(QString()), 0);
    EXPECT_EQ(skinNumber(QStringLiteral("99999999999999999999")), 2147483647);
    EXPECT_EQ(skinNumber(QStringLiteral("-99999999999999999999")), -2147483648LL);
    EXPECT_EQ(skinCoordinate(QStringLiteral("99999999999")), kMaxSkinCoordinate);
}

TEST(ReadSkinEntry, ReadsTheValueCutTo259CharactersAndReportsTooManyCommas) {
    TinySkin skin;
    const std::string longLabel(300, 'x');
    skin.writeText("layout.ini", "[BUTTONPOS]\n"
                                 "3=name,1,2,3,4,  Label with blanks ,FALSE\n"
                                 "4=name,1,2,3,4," +
                                     longLabel +
                                     "\n"
                                     "5=a,1,2,3,4,b,c,d\n");
    RecordingReporter reporter;
    const auto file = skin.skinFolder() / "layout.ini";
    EXPECT_EQ(readSkinEntry(file, QStringLiteral("buttonpos"), 3, reporter)[5],
              QStringLiteral("  Label with blanks "));
    const SkinFields cut = readSkinEntry(file, QStringLiteral("BUTTONPOS"), 4, reporter);
    EXPECT_EQ(cut[5].size(), 259 - 13); // "name,1,2,3,4," is 13 of the 259 characters
    EXPECT_TRUE(reporter.events.empty());
    readSkinEntry(file, QStringLiteral("BUTTONPOS"), 5, reporter);
    EXPECT_THAT(reporter.events, ElementsAre("加载ini错误！"));
    const SkinFields missingKey = readSkinEntry(file, QStringLiteral("BUTTONPOS"), 9, reporter);
    EXPECT_TRUE(missingKey[0].isEmpty());
    EXPECT_EQ(reporter.events.size(), 1u);
}

TEST(ReadSkinEntry, MissingFileOrOverlongPathShowsTheMessageThenEnds) {
    TinySkin skin;
    RecordingReporter reporter;
    const SkinFields f =
        readSkinEntry(skin.skinFolder() / "absent.ini", QStringLiteral("BUTTONPOS"), 0, reporter);
    EXPECT_TRUE(f[0].isEmpty());
    EXPECT_THAT(reporter.events, ElementsAre("找不到配置文件", "exit"));

    // A path of 260 characters or more counts as missing even when the file is there.
    std::filesystem::path deep = skin.skinFolder();
    while (deep.string().size() < 250) {
        deep /= "deeper-folder";
    }
    std::filesystem::create_directories(deep);
    const auto file = deep / "skin_main_en.ini";
    {
        std::FILE* out = std::fopen(file.c_str(), "w");
        ASSERT_NE(out, nullptr);
        std::fputs("[BUTTONPOS]\n0=a,1,2,3,4,b,c\n", out);
        std::fclose(out);
    }
    reporter.events.clear();
    ASSERT_GE(file.string().size(), 260u);
    EXPECT_TRUE(readSkinEntry(file, QStringLiteral("BUTTONPOS"), 0, reporter)[1].isEmpty());
    EXPECT_THAT(reporter.events, ElementsAre("找不到配置文件", "exit"));
}

TEST(SkinReader, FillsTablesNamesAndRectanglesInKeyOrder) {
    TinySkin skin;
    skin.writeText("skin_main_en.ini", "[BUTTONPOS]\n0=logo,1,2,3,4,Title,FALSE\n"
                                       "69=last,5,6,7,8,End,FALSE\n"
                                       "[FUN_STRING]\n1=Left Click\n41=Macro,with comma\n");
    skin.writeText("skin_color_en.ini", "[BUTTONPOS]\n7=c,9,9,9,9,Colour,FALSE\n");
    skin.writeText("skin_advance_en.ini", "[BUTTONPOS]\n20=s,1,1,1,1,Save,FALSE\n"
                                          "[EDIT]\n4=name,10,20,100,30,x,FALSE\n"
                                          "[MACRODISPLAY]\n1=l,1,2,3,4,,\n2=e,5,6,7,8,,FALSE\n");
    SkinTables tables;
    tables.functionNames[55] = QStringLiteral("stale");
    RecordingReporter reporter;
    SkinReader reader(skin.skinFolder(), tables, reporter);
    reader.readMainTable();
    reader.readFunctionNames();
    reader.readColorTable();
    reader.readAdvancedTable();
    reader.readNameEditRect();
    reader.readListRects();
    EXPECT_TRUE(reporter.events.empty());
    EXPECT_EQ(tables.main[0].label, QStringLiteral("Title"));
    EXPECT_EQ(tables.main[69].rect(), QRect(5, 6, 7, 8));
    EXPECT_EQ(tables.main[30].rect(), QRect());
    EXPECT_FALSE(tables.main[30].contains(0, 0));
    EXPECT_EQ(tables.functionNames[1], QStringLiteral("Left Click"));
    EXPECT_EQ(tables.functionNames[41], QStringLiteral("Macro"));
    EXPECT_TRUE(tables.functionNames[55].isEmpty());
    EXPECT_EQ(tables.color[7].label, QStringLiteral("Colour"));
    EXPECT_EQ(tables.advanced[20].label, QStringLiteral("Save"));
    // EDIT 4 = name,10,20,100,30: left 10, top 20, right 110, bottom 50.
    EXPECT_EQ(tables.nameEditRect.left(), 10);
    EXPECT_EQ(tables.nameEditRect.top(), 20);
    EXPECT_EQ(tables.nameEditRect.x() + tables.nameEditRect.width(), 110);
    EXPECT_EQ(tables.nameEditRect.y() + tables.nameEditRect.height(), 50);
    EXPECT_EQ(tables.nameListRect, QRect(1, 2, 3, 4));
    EXPECT_EQ(tables.eventListRect, QRect(5, 6, 7, 8));
}

TEST(SkinReader, MissingLayoutFileReportsAtEveryReadAndLeavesTablesEmpty) {
    TinySkin skin;
    SkinTables tables;
    RecordingReporter reporter;
    SkinReader reader(skin.skinFolder(), tables, reporter);
    reader.readColorTable();
    EXPECT_EQ(reporter.events.size(), 2u * kColorElementCount);
    EXPECT_EQ(reporter.events.front(), "找不到配置文件");
    EXPECT_EQ(tables.color[0].rect(), QRect());
}

} // namespace
} // namespace veldran
