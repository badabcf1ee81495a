#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>

#include "app/StartUp.h"
#include "app/ToolkitArguments.h"
#include "platform/platform.h"
#include "ui/PageScheme.h"

int main(int argc, char** argv) {
  const core::CommandLine commandLine = platform::ReadCommandLine(argc, argv);
  if (commandLine.request != core::Request::Run) return AnswerRequest(commandLine.request);
  // Qt gets its own options only, so it never reads the program's arguments as options.
  ToolkitArguments toolkit(argc > 0 ? argv[0] : "vellumine", commandLine.toolkitArguments);
  // The engine reports its graphics set-up at start on the info level; that is not news to users.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  RegisterPageScheme();
  QApplication application(toolkit.Count(), toolkit.Values());
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/vellumine-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
  EndProcessSoonAfterTheEventLoop();
  return RunApplication(commandLine.arguments);
}
