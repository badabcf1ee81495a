// The program itself, started like app/main.cpp, that quits as soon as its browser view has
// loaded the page named on the command line: the start-up benchmark times it as a whole process.
#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineView>

#include "app/StartUp.h"
#include "platform/platform.h"
#include "ui/PageScheme.h"
#include "ui/UfrmMain.h"

int main(int argc, char** argv) {
  platform::RememberArguments(argc, argv);
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  RegisterPageScheme();
  QApplication application(argc, argv);
  QTimer::singleShot(0, [] {
    QObject::connect(frmMain->findChild<QWebEngineView*>("webMain"), &QWebEngineView::loadFinished,
                     [] { QApplication::quit(); });
  });
  return RunApplication(platform::CommandLineArguments());
}
