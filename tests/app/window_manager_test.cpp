// The window under a real window manager, which draws the frame and has its own idea of where a
// window asked to go before it is shown (run by with_window_manager).
#include "tests/app/window_fixture.h"

#include <QGuiApplication>

namespace {

using namespace testing_support;

class WindowManagerTest : public WindowTest {
protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      GTEST_SKIP() << "no window manager here";
    WindowTest::SetUp();
  }
  // Started as the program starts, and once the manager has framed it, where it stands.
  QPoint Start() {
    StartWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }))
        << "never framed";
    QTest::qWait(300); // the manager may still move what it has just framed
    return window->frameGeometry().topLeft();
  }
};

// Each start used to put the window one title bar higher than the last run left it.
TEST_F(WindowManagerTest, FiveRestartsLeaveTheWindowWhereItWas) {
  Start();
  window->move(210, 170); // the user puts it somewhere
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return window->frameGeometry().topLeft() == QPoint(210, 170); }));
  for (int start = 1; start <= 5; ++start) {
    window->menquit->trigger();
    EXPECT_EQ(Start(), QPoint(210, 170)) << "start " << start;
  }
}

} // namespace
