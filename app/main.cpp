#include <QApplication>
#include <QLoggingCategory>

#include "app/StartUp.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  platform::RememberArguments(argc, argv);
  // The engine reports its graphics set-up at start on the info level; that is not news to users.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  QApplication application(argc, argv);
  return RunApplication(platform::CommandLineArguments());
}
