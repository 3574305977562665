// The built program on a real X server: a blank card mounted by the
// project's script, the window found and photographed, the pads checked
// against the pictures, and the window closed as a window manager's close
// box does, while the About box, an alert or the import dialog is open.

#include "Executable/Linux/MainWindow/CWindowPosition.h"
#include "GT/Linux/CIniProfile.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

bool OnPath(std::string const& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a command line, returning its first output line; empty on failure.
std::string RunLine(std::string const& command) {
  std::string line;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    if (std::fgets(buffer, sizeof buffer, pipe)) line = buffer;
    if (::pclose(pipe) != 0) line.clear();
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// Variables of the child's own go through env(1) in `args`.
pid_t Spawn(std::vector<std::string> const& args, int keepFd = -1) {
  std::vector<char*> argv;
  for (std::string const& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int const devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  posix_spawn_file_actions_adddup2(&actions, devNull, 1);
  if (keepFd >= 0) posix_spawn_file_actions_adddup2(&actions, keepFd, keepFd);
  pid_t pid = -1;
  if (::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(devNull);
  return pid;
}

// The exit status, or -1 when the process is still running after timeout.
int WaitFor(pid_t pid, std::chrono::seconds timeout) {
  auto const end = Clock::now() + timeout;
  int status = 0;
  while (Clock::now() < end) {
    pid_t const done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

// TERM first: Xvfb removes its lock file and socket only then.
void Stop(pid_t pid) {
  if (pid <= 0 || WaitFor(pid, std::chrono::seconds(0)) >= 0) return;
  ::kill(pid, SIGTERM);
  if (WaitFor(pid, std::chrono::seconds(5)) < 0) {
    ::kill(pid, SIGKILL);
    WaitFor(pid, std::chrono::seconds(5));
  }
}

// An X server of its own on a free display.
class CXvfb {
public:
  CXvfb() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    mPid = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                  "-nolisten", "tcp"},
                 fds[1]);
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) mName = ":" + number;
    if (!mName.empty()) mDisplay = XOpenDisplay(mName.c_str());
  }
  ~CXvfb() {
    if (mDisplay) XCloseDisplay(mDisplay);
    Stop(mPid);
  }
  std::string mName;
  Display* mDisplay = nullptr;
  pid_t mPid = -1;
};

// The card image mounted by the project's script in whatever way this machine
// offers; mWhy holds what the script said about it.
class CMountedCard {
public:
  CMountedCard(std::string const& folder, std::string const& name) {
    std::string const said = folder + "/mount.txt";
    mPoint = RunLine("bash " VQ7_SOURCE_DIR "/tools/blank-card.sh mount '" + folder +
                     "/card.img' " + name + " 2>'" + said + "'");
    std::ifstream in(said);
    mWhy.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ~CMountedCard() {
    if (!mPoint.empty())
      RunLine("bash " VQ7_SOURCE_DIR "/tools/blank-card.sh unmount '" + mPoint + "'");
  }
  std::string mPoint;
  std::string mWhy;
};

QImage Screenshot(Display* display) {
  XWindowAttributes root;
  XGetWindowAttributes(display, DefaultRootWindow(display), &root);
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(root.width),
                static_cast<unsigned>(root.height), AllPlanes, ZPixmap);
  if (!image) return QImage();
  // A 24-bit screen comes as 32-bit pixels, as QImage keeps RGB32.
  QImage const shot = QImage(reinterpret_cast<uchar const*>(image->data), root.width, root.height,
                             image->bytes_per_line, QImage::Format_RGB32)
                          .copy();
  XDestroyImage(image);
  return shot;
}

// Where the cell first lies in the shot, scanning rows; (-1, -1) if nowhere.
QPoint Find(QImage const& shot, QImage const& cell) {
  for (int y = 0; y + cell.height() <= shot.height(); ++y)
    for (int x = 0; x + cell.width() <= shot.width(); ++x) {
      bool same = true;
      for (int cy = 0; same && cy < cell.height(); cy += 3)
        for (int cx = 0; same && cx < cell.width(); cx += 3)
          same = (shot.pixel(x + cx, y + cy) & 0xFFFFFF) == (cell.pixel(cx, cy) & 0xFFFFFF);
      if (same) return QPoint(x, y);
    }
  return QPoint(-1, -1);
}

// What a window manager sends when the user clicks the close box.
void SendCloseRequest(Display* display, Window window) {
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

TEST(EndToEndOnXvfb, ShowsTheCardsPadsAndQuitsThroughTheCloseBoxOnceTheModalWindowEnds) {
  std::string const program = VQ7_TEST_APP_DIR "/VQ7Converter";
  if (::access(program.c_str(), X_OK) != 0) GTEST_SKIP() << "the program is not built";
  for (char const* tool : {"Xvfb", "xdotool"})
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";

  Support::CPrivateTempDir scratch;
  CMountedCard card(scratch.Path(), "VQ7E2E" + std::to_string(::getpid()));
  if (card.mPoint.empty()) GTEST_SKIP() << "the card cannot be mounted here: " << card.mWhy;
  {
    // Pad 0 of bank C holds a sample of 16 frames: fields 1 and 2 of record 0.
    std::fstream info(card.mPoint + "/TAVRIN/VQ730/WVCINFO0.VQD",
                      std::ios::in | std::ios::out | std::ios::binary);
    char const length[8] = {0, 0, 0, 16, 0, 0, 0, 16};
    info.seekp(4);
    info.write(length, sizeof length);
    ASSERT_TRUE(info.good());
  }

  std::string const info = card.mPoint + "/TAVRIN/VQ730/WVCINFO0.VQD";
  std::string const assignedInfo = Support::ReadBytes(info);
  std::string const config = scratch / "config";
  Support::CScopedEnv home("XDG_CONFIG_HOME", config);
  GT::CIniProfile profile;
  profile.Write("Preference/VolumeName", card.mPoint);
  profile.Write("Preference/BankId", 0L);

  CXvfb xvfb;
  ASSERT_TRUE(xvfb.mDisplay) << "Xvfb did not start";
  std::string const xdotool = "DISPLAY=" + xvfb.mName + " timeout 10 xdotool ";
  QImage const pads(VQ7_TEST_APP_DIR "/Bitmap/Pads64.bmp");
  ASSERT_FALSE(pads.isNull());
  int const w = pads.width(), h = pads.height() / 64;
  auto cell = [&](int state) {
    return pads.copy(0, state * h, w, h).convertToFormat(QImage::Format_RGB32);
  };
  ASSERT_NE(cell(0), cell(16)) << "the pictures must tell an assigned pad from an empty one";

  // Close box and Quit key while a modal window is open (the About box, the
  // delete question, the import dialog) wait for it to end; the question's
  // answer comes first.
  QPoint padFromCorner;  // pad 0's centre from the main window's corner
  for (char const round : {'A', 'D', 'I'}) {
    bool const about = round == 'A';
    SCOPED_TRACE(about ? "About box" : round == 'D' ? "delete question" : "import dialog");
    // env(1) runs the program in its own process: the window search goes by this pid.
    pid_t const pid = Spawn({"env", "DISPLAY=" + xvfb.mName, "XDG_CONFIG_HOME=" + config,
                             "QT_QPA_PLATFORM=xcb", "LANG=C", "LC_ALL=C", program});
    ASSERT_GT(pid, 0);
    std::string const id =
        RunLine("DISPLAY=" + xvfb.mName + " timeout 30 xdotool search --sync " +
                "--onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null | head -n 1");
    if (id.empty()) Stop(pid);
    ASSERT_FALSE(id.empty()) << "no main window within 30 s";
    int x = 0, y = 0, width = 0, height = 0;
    std::sscanf(RunLine(xdotool + "getwindowgeometry --shell " + id + " | tr '\\n' ' '").c_str(),
                "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height);
    QPoint const corner(x, y);

    std::string modal;
    if (about) {
      // Pad 1 stands empty right of pad 0, which holds a sample.
      QImage shot;
      QPoint empty(-1, -1);
      for (auto const end = Clock::now() + std::chrono::seconds(10);
           empty.x() < 0 && Clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        shot = Screenshot(xvfb.mDisplay);
        empty = Find(shot, cell(1));
      }
      ::mkdir(VQ7_TEST_ARTEFACT_DIR, 0755);
      shot.save(VQ7_TEST_ARTEFACT_DIR "/xvfb-main-window.png");
      if (empty.x() < 0) Stop(pid);
      ASSERT_GE(empty.x(), 0) << "no empty pad 1 on the screen";
      QPoint const assigned(empty.x() - w - 10, empty.y());
      EXPECT_EQ(cell(16).convertToFormat(QImage::Format_RGB32),
                shot.copy(assigned.x(), assigned.y(), w, h))
          << "pad 0 does not show its assigned look";
      padFromCorner = assigned + QPoint(w / 2, h / 2) - corner;
      RunLine(xdotool + "windowfocus --sync " + id + " key alt+h sleep 0.5 key a");
      modal = RunLine(xdotool + "search --sync --onlyvisible --name '^About'");
    } else {
      // Pad 0 chosen, then Delete, or the empty pad 1, then Import: the
      // content is the window's lowest 420 points, the buttons 94 by 28 at
      // (210, 382) and (10, 382) in it.
      QPoint const pad = corner + padFromCorner + (round == 'D' ? QPoint() : QPoint(w + 10, 0));
      QPoint const button(x + (round == 'D' ? 257 : 57), y + height - 420 + 396);
      RunLine(xdotool + "mousemove " + std::to_string(pad.x()) + " " + std::to_string(pad.y()) +
              " click 1 sleep 0.3 mousemove " + std::to_string(button.x()) + " " +
              std::to_string(button.y()) + " click 1");
      for (int i = 0; i < 50 && modal.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        modal = RunLine(xdotool + "search --onlyvisible --pid " + std::to_string(pid) +
                        " | grep -vx " + id + " | head -n 1");
      }
    }
    if (modal.empty()) Stop(pid);
    ASSERT_FALSE(modal.empty()) << "no modal window within 10 s";
    if (round == 'I') {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      Screenshot(xvfb.mDisplay).save(VQ7_TEST_ARTEFACT_DIR "/xvfb-import-dialog.png");
    }
    SendCloseRequest(xvfb.mDisplay, static_cast<Window>(std::stoul(id)));
    RunLine(xdotool + "windowfocus --sync " + modal + " key ctrl+q");
    EXPECT_LT(WaitFor(pid, std::chrono::seconds(1)), 0) << "quit while the modal window was open";
    if (about)
      SendCloseRequest(xvfb.mDisplay, static_cast<Window>(std::stoul(modal)));
    else if (round == 'D')
      RunLine(xdotool + "windowfocus --sync " + modal + " key Return");  // OK
    else
      RunLine(xdotool + "windowfocus --sync " + modal + " key Escape");  // Cancel
    int const status = WaitFor(pid, std::chrono::seconds(20));
    if (status < 0) Stop(pid);
    EXPECT_EQ(0, status);
  }
  EXPECT_NE(assignedInfo, Support::ReadBytes(info))
      << "the delete answered in the question was not done";
  long const absent = VQ7::CWindowPosition::nAbsent;
  EXPECT_NE(absent, profile.Read("MainWindowPos", absent)) << "the window position was not saved";
  EXPECT_EQ(card.mPoint, profile.Read("Preference/VolumeName", std::string()));
}

}  // namespace
