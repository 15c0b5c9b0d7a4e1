// Entry point of the widget tests: the application object on Qt's offscreen platform, with the
// error box and the beep recorded instead of shown.
#include <gtest/gtest.h>

#include <QDir>

#include <cstdlib>
#include <iostream>

#include "app/application.h"
#include "numedit/beep.h"
#include "support/widget_test_support.h"

namespace zenavo::testing {

std::vector<std::string>& ShownErrors() {
  static std::vector<std::string> errors;
  return errors;
}

bool SavePictureToLookAt(const QImage& picture, const std::string& name) {
  const QString folder = QDir::currentPath() + "/gauge-pictures";
  const QString path = folder + "/" + QString::fromStdString(name);
  if (!QDir().mkpath(folder) || !picture.save(path)) return false;
  std::cout << "picture to look at: " << path.toStdString() << "\n";
  return true;
}

int& BeepCount() {
  static int count = 0;
  return count;
}

}  // namespace zenavo::testing

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  zenavo::TApplication application(argc, argv);
  zenavo::TApplication::SetErrorHandler(
      [](const std::string& message) { zenavo::testing::ShownErrors().push_back(message); });
  zenavo::SetBeepHandler([] { ++zenavo::testing::BeepCount(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
