// The least a Qt WebEngine program does to show one page: a browser view loading it, quitting when
// it has loaded. The start-up benchmark's floor.
#include <QApplication>
#include <QLoggingCategory>
#include <QWebEngineView>

int main(int argc, char** argv) {
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  QWebEngineView view;
  QObject::connect(&view, &QWebEngineView::loadFinished, [] { QApplication::quit(); });
  view.resize(1024, 768);
  view.show();
  view.setUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
  return QApplication::exec();
}
