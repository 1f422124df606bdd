// One QApplication for every test of the desktop components (on the "offscreen" platform), with the
// settings store in a temporary folder so tests never touch the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  }
  void TearDown() override { app.reset(); }

 private:
  int argc = 1;
  char name[8] = "ui_test";
  char* argv[2] = {name, nullptr};
  QTemporaryDir dir;
  std::unique_ptr<QApplication> app;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
