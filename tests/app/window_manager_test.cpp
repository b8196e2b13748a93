// The window under a real window manager, which draws the frame and has its own idea of where a
// window asked to go before it is shown: a private X server (Xvfb) with openbox, so nothing of
// the user's screen is touched. Skipped where either program is missing.
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace testing_support;

// A program started with the environment as it is; stopped, and waited for, at the end.
class Program {
public:
  explicit Program(std::vector<std::string> arguments, const posix_spawn_file_actions_t *files) {
    std::vector<char *> argv;
    for (std::string &argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (::posix_spawnp(&pid_, argv[0], files, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool running() const { return pid_ > 0; }

private:
  pid_t pid_ = -1;
};

// Starts Xvfb on the first free display and points DISPLAY at it; false when it cannot.
std::unique_ptr<Program> StartServer() {
  int ready[2];
  if (::pipe(ready) != 0)
    return nullptr;
  posix_spawn_file_actions_t files;
  ::posix_spawn_file_actions_init(&files);
  ::posix_spawn_file_actions_addclose(&files, ready[0]);
  auto server = std::make_unique<Program>(
      std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                               "1280x1024x24", "-nolisten", "tcp"},
      &files);
  ::posix_spawn_file_actions_destroy(&files);
  ::close(ready[1]);
  // The display's number and a line end, once the server listens.
  std::string number;
  char c = 0;
  while (server->running() && ::read(ready[0], &c, 1) == 1 && c != '\n')
    number += c;
  ::close(ready[0]);
  if (c != '\n' || number.empty())
    return nullptr;
  ::setenv("DISPLAY", (":" + number).c_str(), 1);
  return server;
}

bool managed = false;

class WindowManagerTest : public WindowTest {
protected:
  void SetUp() override {
    if (!managed)
      GTEST_SKIP() << "no Xvfb or openbox here";
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
  void Quit() {
    window->menquit->trigger();
    window.reset();
  }
};

// Each start used to put the window one title bar higher than the last run left it.
TEST_F(WindowManagerTest, FiveRestartsLeaveTheWindowWhereItWas) {
  ClearStores();
  Start();
  window->move(210, 170); // the user puts it somewhere
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return window->frameGeometry().topLeft() == QPoint(210, 170); }));
  Quit();
  for (int start = 1; start <= 5; ++start) {
    EXPECT_EQ(Start(), QPoint(210, 170)) << "start " << start;
    Quit();
  }
}

} // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<Program> server, manager;
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  QTemporaryDir home;
  if (!listing && (server = StartServer()) != nullptr) {
    // The manager runs its start-up command once it manages the screen.
    const QString ready = home.filePath(QStringLiteral("ready"));
    manager =
        std::make_unique<Program>(std::vector<std::string>{"openbox", "--sm-disable", "--startup",
                                                           "touch " + ready.toStdString()},
                                  nullptr);
    managed =
        manager->running() && QTest::qWaitFor([&] { return QFileInfo::exists(ready); }, 20000);
  }
  qputenv("QT_QPA_PLATFORM", managed ? "xcb" : "offscreen");
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Quintabell"));
  QApplication::setApplicationName(QStringLiteral("Quintabell"));
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
