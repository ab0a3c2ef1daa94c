// Dragging where the window system offers no move of its own (the offscreen platform).
#include "skin/PointerInputWindowMove.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(WindowMover, FollowsThePointerUntilRelease) {
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 100);
    window.show();
    WindowMover mover(window);
    mover.pointerMoved({400, 400}); // no move before a press
    EXPECT_EQ(window.pos(), QPoint(100, 100));

    mover.start({150, 120});
    ASSERT_TRUE(mover.following());
    mover.pointerMoved({180, 170});
    EXPECT_EQ(window.pos(), QPoint(130, 150));
    mover.released();
    mover.pointerMoved({400, 400});
    EXPECT_EQ(window.pos(), QPoint(130, 150));
}

} // namespace
} // namespace veldran
