// The least a Qt WebEngine program does to show pages: one browser view loading the first page
// named on the command line, and the next one each time Down is pressed. The window benchmarks'
// reference.
#include <QApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QWebEngineView>

namespace {

// Loads the next page on every press of Down, before any widget sees the key.
class NextPageOnDown final : public QObject {
 public:
  NextPageOnDown(QWebEngineView* view, QList<QUrl> pages) : view_(view), pages_(std::move(pages)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Down) {
      return QObject::eventFilter(watched, event);
    }
    next_ = (next_ + 1) % pages_.size();
    view_->setUrl(pages_[next_]);
    return true;
  }

 private:
  QWebEngineView* view_;
  QList<QUrl> pages_;
  qsizetype next_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  QList<QUrl> pages;
  for (int i = 1; i < argc; ++i) pages << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
  QWebEngineView view;
  NextPageOnDown nextPage(&view, pages);
  application.installEventFilter(&nextPage);
  view.resize(1024, 768);
  view.show();
  view.setUrl(pages.front());
  return QApplication::exec();
}
