// The main window's initialisation: the order of its steps, the state it leaves, the start-up
// Apply 5 ms later, its failure paths (no mouse, missing skin, missing Macro.dat) and its paint.
#include "app/CQEL_GMouseDlg.h"

#include "app/MainWindowRig.h"
#include "platform/ProfileStrings.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using ::testing::ElementsAre;
using testing::TinySkin;

// Closes every message box that opens while it lives, recording its text.
class ModalCloser {
public:
    ModalCloser() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text().toStdString());
                box->accept();
            }
        });
        timer_.start();
    }
    std::vector<std::string> texts;

private:
    QTimer timer_;
};

const std::string kLayouts[3][2] = {
    {"skin_main_en.ini", "[BUTTONPOS]\n0=logo,0,0,10,10,,FALSE\n1=status,10,0,150,16,,FALSE\n"
                         "17=field,0,30,100,16,,FALSE\n"
                         "[FUN_STRING]\n1=Left Click\n"},
    {"skin_color_en.ini", "[BUTTONPOS]\n0=opt,0,20,50,10,Breathing,FALSE\n"},
    {"skin_advance_en.ini", "[BUTTONPOS]\n20=save,0,0,5,5,Save,FALSE\n"
                            "[EDIT]\n4=name,10,20,100,30,x,FALSE\n"
                            "[MACRODISPLAY]\n1=list,10,60,80,40,,FALSE\n"
                            "2=events,100,20,60,80,,FALSE\n"}};

class MainWindowInit : public ::testing::Test, protected testing::MainWindowRig {
protected:
    MainWindowInit() {
        for (const auto& layout : kLayouts) {
            skin.writeText(layout[0].c_str(), layout[1]);
        }
        skin.writeText("config.ini", "[Init]\nCurConfig=2\n[Config2]\nK1=1\nWHEEL_STATUS=1\n",
                       false);
        MacroTable stored;
        stored.setCount(3);
        stored.edit([](auto& records) {
            records[2].setName("Combo");
            records[2].eventCount = 4;
        });
        macroStore.write(stored);
    }

    void start() {
        dlg = std::make_unique<CQEL_GMouseDlg>(services());
        CQEL_GMouseDlg::InitHooks hooks;
        hooks.trace = [this](std::string_view step) { steps.emplace_back(step); };
        hooks.showWindow = showWindow;
        dlg->setInitHooks(std::move(hooks));
        EXPECT_TRUE(dlg->initialise());
    }
    int altKeyUps() const {
        int n = 0;
        for (const std::string& e : input.events()) {
            n += e.rfind("up 18", 0) == 0;
        }
        return n;
    }

    std::vector<std::string> steps;
    std::function<void()> showWindow; // the program's way of showing the window, when set
    std::unique_ptr<CQEL_GMouseDlg> dlg;
};

TEST_F(MainWindowInit, RunsItsStepsInOrderAndAppliesFiveMillisecondsLater) {
    ModalCloser closer;
    start();
    EXPECT_THAT(steps, ElementsAre("reader", "system menu", "skin", "name edit", "lists", "config",
                                   "shape", "macros", "context menu", "tray menu", "discover",
                                   "wait", "apply"));
    EXPECT_TRUE(closer.texts.empty());
    EXPECT_FALSE(app.endPending());
    ASSERT_EQ(bus.sent().size(), 9u);        // sent before the sequence returned
    EXPECT_EQ(bus.sent()[7].bytes[1], 0x11); // the wheel report carries the loaded wheel mode
    EXPECT_EQ(bus.sent()[7].bytes[2], 1);
}

TEST_F(MainWindowInit, LeavesTheWindowStateAsTheFilesSay) {
    ModalCloser closer;
    start();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("VELDRAN GAMING MOUSE"));
    EXPECT_TRUE(dlg->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(state.skinFolder, skin.appFolder() / "skins");
    EXPECT_EQ(state.configPath, skin.appFolder() / "config.ini");
    EXPECT_EQ(state.macroPath, skin.appFolder() / "Macro.dat");
    EXPECT_EQ(state.skin.main[1].rect(), QRect(10, 0, 150, 16));
    EXPECT_EQ(state.skin.functionNames[1], QStringLiteral("Left Click"));
    EXPECT_EQ(state.skin.color[0].label, QStringLiteral("Breathing"));
    EXPECT_EQ(state.skin.nameEditRect, QRect(10, 20, 100, 30));
    EXPECT_EQ(state.skin.nameListRect, QRect(10, 60, 80, 40));
    EXPECT_EQ(model.runtime.curConfig.load(), 2);
    EXPECT_EQ(model.profile.wheelMode.load(), 1);
    EXPECT_EQ(macros.count(), 3);
    EXPECT_EQ(state.macroEditor.selectedMacro, 2);
    EXPECT_EQ(state.macroEditor.selectedEventLine, 6);
    EXPECT_FALSE(state.functionMenu.menuOpen);
    EXPECT_TRUE(state.connected);
    EXPECT_EQ(state.maskSize, QSize(testing::kTinyWidth, testing::kTinyHeight));
    EXPECT_EQ(dlg->size(), state.maskSize);
    EXPECT_EQ(state.windowRegion, QRegion(0, 0, testing::kTinyWidth, testing::kTinyHeight));
    EXPECT_FALSE(state.paintRegion.contains(QPoint(15, 25))); // the name edit is cut out
    EXPECT_EQ(dlg->mask(), state.windowRegion);
}

TEST_F(MainWindowInit, TheWindowAppearsBeforeTheStartUpReportsReachTheMouse) {
    std::size_t reportsWhenShown = 99;
    showWindow = [&] {
        reportsWhenShown = bus.sent().size();
        dlg->show();
    };
    start();
    EXPECT_EQ(reportsWhenShown, 0u);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(bus.sent().size(), 9u);
}

TEST_F(MainWindowInit, NoMouseShowsTheInsertMessageThenEnds) {
    bus.interfaces.clear();
    bool shown = false;
    showWindow = [&] { shown = true; };
    ModalCloser closer;
    start();
    EXPECT_FALSE(shown); // the program ends: the window never appears
    EXPECT_THAT(closer.texts, ElementsAre("Insert【ZEV】USB Mouse"));
    EXPECT_TRUE(app.endPending());
    EXPECT_EQ(altKeyUps(), 7);
    EXPECT_FALSE(state.connected);
    EXPECT_EQ(steps.back(), "apply"); // the sequence goes on all the same
}

TEST_F(MainWindowInit, AMouseWithoutItsFeatureInterfaceIsExplainedAndKeepsRunning) {
    bus.interfaces.pop_back(); // the 0xFF01 interface is missing
    ModalCloser closer;
    start();
    ASSERT_EQ(closer.texts.size(), 1u);
    EXPECT_NE(closer.texts[0].find("0xFF01"), std::string::npos) << closer.texts[0];
    EXPECT_TRUE(state.connected); // the last interface examined belonged to the mouse
    EXPECT_FALSE(app.endPending());
}

TEST_F(MainWindowInit, MissingSkinFileWaitsForTheUserOnceAndEnds) {
    std::filesystem::remove(skin.skinFolder() / "skin_color_en.ini");
    ModalCloser closer;
    start();
    EXPECT_THAT(closer.texts, ElementsAre("找不到配置文件"));
    EXPECT_TRUE(app.endPending());
    EXPECT_EQ(state.skin.functionNames[1], QStringLiteral("Left Click"));
    EXPECT_EQ(state.skin.color[0].rect(), QRect());
    EXPECT_EQ(steps.back(), "apply");
    EXPECT_EQ(bus.sent().size(), 9u);
}

TEST_F(MainWindowInit, MissingMacroFileEndsAfterTheStartUpApply) {
    std::filesystem::remove(skin.appFolder() / "Macro.dat");
    ModalCloser closer;
    start();
    EXPECT_THAT(closer.texts, ElementsAre("找不到配置文件"));
    EXPECT_TRUE(app.endPending());
    // The end is pending, yet the mouse gets the nine reports and config.ini its Config6.
    EXPECT_EQ(steps.back(), "apply");
    ASSERT_EQ(bus.sent().size(), 9u);
    EXPECT_EQ(bus.sent()[7].bytes[2], 1); // the loaded wheel mode
    EXPECT_EQ(ProfileStrings::get((skin.appFolder() / "config.ini").string(), "Config6",
                                  "WHEEL_STATUS", "", 16),
              "1");
    EXPECT_EQ(macros.count(), 0);
    EXPECT_EQ(state.macroEditor.selectedMacro, 0);
    EXPECT_EQ(state.macroEditor.selectedEventLine, 0);
}

TEST_F(MainWindowInit, PaintsTheMainPageWithTheLogoHotAtStart) {
    ModalCloser closer;
    start();
    QImage shot(dlg->size(), QImage::Format_RGB32);
    dlg->render(&shot);
    EXPECT_TRUE(testing::near(shot, 5, 5, testing::tiny::mainOver));
    EXPECT_TRUE(testing::near(shot, 100, 100, testing::tiny::mainNormal));
    state.pointer.page = SkinPage::Color;
    dlg->render(&shot);
    EXPECT_TRUE(testing::near(shot, 100, 100, testing::tiny::colorNormal));
}

TEST_F(MainWindowInit, CloseRequestDestroysTheFunctionMenuAtTheNextPaint) {
    ModalCloser closer;
    start();
    QPointer<QWidget> menu = new QWidget(dlg.get(), Qt::Popup);
    dlg->setFunctionMenu(menu);
    state.functionMenu.closeRequest = true;
    QImage shot(dlg->size(), QImage::Format_RGB32);
    dlg->render(&shot);
    EXPECT_FALSE(state.functionMenu.closeRequest);
    EXPECT_EQ(dlg->functionMenu(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isNull(); }, 1000));
}

} // namespace
} // namespace veldran
