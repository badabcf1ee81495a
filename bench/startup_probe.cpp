// The program itself, started like app/main.cpp, that quits as soon as its browser view has
// loaded the page named on the command line: the start-up benchmark times it as a whole process.
#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineView>

#include "app/StartUp.h"
#include "app/ToolkitArguments.h"
#include "platform/platform.h"
#include "ui/PageScheme.h"
#include "ui/UfrmMain.h"

int main(int argc, char** argv) {
  const core::CommandLine commandLine = platform::ReadCommandLine(argc, argv);
  ToolkitArguments toolkit(argv[0], commandLine.toolkitArguments);
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  RegisterPageScheme();
  QApplication application(toolkit.Count(), toolkit.Values());
  QTimer::singleShot(0, [] {
    QObject::connect(frmMain->findChild<QWebEngineView*>(QStringLiteral("webMain")),
                     &QWebEngineView::loadFinished, [] { QApplication::quit(); });
  });
  return RunApplication(commandLine.arguments);
}
