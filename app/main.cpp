#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>

#include "app/StartUp.h"
#include "platform/platform.h"
#include "ui/PageScheme.h"

int main(int argc, char** argv) {
  platform::RememberArguments(argc, argv);
  // The engine reports its graphics set-up at start on the info level; that is not news to users.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  RegisterPageScheme();
  QApplication application(argc, argv);
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/vellumine-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
  EndProcessSoonAfterTheEventLoop();
  return RunApplication(platform::CommandLineArguments());
}
