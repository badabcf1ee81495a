#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <clocale>

#include "app/StartUp.h"
#include "app/ToolkitArguments.h"
#include "platform/platform.h"
#include "ui/ArgumentListing.h"
#include "ui/page/PageScheme.h"

int main(int argc, char** argv) {
  const core::CommandLine commandLine = platform::ReadCommandLine(argc, argv);
  if (commandLine.request != core::Request::Run) return AnswerRequest(commandLine.request);
  // The toolkit applies the environment's locale as it starts; applied first, the listing thread
  // reports its errors in the user's language too.
  std::setlocale(LC_ALL, "");
  AddEngineSwitches();
  std::future<core::ArgumentFolder> firstArgument =
      StartListingFirstArgument(commandLine.arguments);
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
  return RunApplication(std::move(firstArgument));
}
