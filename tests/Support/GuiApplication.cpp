#include "Support/GuiApplication.h"

#include "Platform/Framework/UModalState.h"
#include "Platform/Framework/UResources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace Support {

QApplication& GuiApplication() {
  static QApplication* sApplication = [] {
    if (QApplication* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
      return existing;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "vq7_tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: widgets of other tests may still refer to it.
    return new QApplication(argc, argv);
  }();
  return *sApplication;
}

std::string AppDirectory() { return VQ7_TEST_APP_DIR; }

void LoadAppResources() {
  GuiApplication();
  std::string const problem =
      UResources::Load(AppDirectory() + "/VQ7Converter.json", false, {{"windows", 10001}});
  ASSERT_EQ("", problem);
}

void LoadResources(QJsonObject const& root) {
  GuiApplication();
  QTemporaryFile file;
  ASSERT_TRUE(file.open());
  file.write(QJsonDocument(root).toJson());
  file.flush();
  ASSERT_EQ("", UResources::Load(file.fileName().toStdString(), false));
}

void WhenModalAppears(std::function<void(QWidget*)> action) {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, timer, poll] {
    // The toolkit's own modal dialogs first (they open inside others), then
    // the framework's dialog windows.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) modal = UModalState::Current();
    if (modal) {
      action(modal);
      QTimer::singleShot(0, [poll] { *poll = nullptr; });  // breaks the cycle
    } else if (timer->elapsed() < 5000) {
      QTimer::singleShot(10, [poll] {
        if (*poll) (*poll)();
      });
    }
  };
  QTimer::singleShot(0, [poll] {
    if (*poll) (*poll)();
  });
}

}  // namespace Support
