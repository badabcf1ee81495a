// Loading a page in the program against the engine loading the same "file:" URL itself: the time
// from selecting an entry in the list until its page has loaded, for a small page and a 50 MB
// page, in paired runs in one process. Prints "page small: R" and "page 50MB: R".
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QLoggingCategory>
#include <QWebEngineView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/fixture.h"
#include "bench/median.h"
#include "core/encoding.h"
#include "ui/page/PageScheme.h"
#include "ui/UfrmMain.h"

namespace {

namespace fs = std::filesystem;

// A page of about `bytes` bytes. Most of it is a comment, so that the figure measures reading the
// file and handing it to the engine rather than the layout of a huge document, which the engine
// does the same way whoever read the file.
void WritePage(const fs::path& path, std::size_t bytes) {
  std::ofstream page(path);
  page << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" << path.filename().string()
       << "</title></head><body><p>Generated documentation</p><!--\n";
  const std::string line = "a class, its members and their types, repeated as generated pages do\n";
  for (std::size_t written = 0; written < bytes; written += line.size()) page << line;
  page << "--></body></html>";
}

// Milliseconds from `start` until `view` has finished loading.
double TimeLoad(QWebEngineView* view, const std::function<void()>& start) {
  QEventLoop loop;
  const auto connection =
      QObject::connect(view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
  QElapsedTimer timer;
  timer.start();
  start();
  loop.exec();
  QObject::disconnect(connection);
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct Figures {
  double program;
  double engine;
};

// Each round loads a small other page first, then the measured one, in both views.
Figures Measure(TfrmMain& window, QWebEngineView& engineView, const fs::path& folder, int measured,
                int other, int rounds) {
  auto* list = window.findChild<QListView*>(QStringLiteral("lsbFile"));
  auto* view = window.findChild<QWebEngineView*>(QStringLiteral("webMain"));
  const QAbstractItemModel* model = list->model();
  const auto select = [&](int row) { list->setCurrentIndex(model->index(row, 0)); };
  const auto fileUrl = [&](int row) {
    return QUrl::fromLocalFile(
        QString::fromStdString((folder / model->index(row, 0).data().toString().toStdString())));
  };
  std::vector<double> program, engine;
  for (int round = 0; round < rounds; ++round) {
    TimeLoad(view, [&] { select(other); });
    program.push_back(TimeLoad(view, [&] { select(measured); }));
    TimeLoad(&engineView, [&] { engineView.setUrl(fileUrl(other)); });
    engine.push_back(TimeLoad(&engineView, [&] { engineView.setUrl(fileUrl(measured)); }));
  }
  return {MedianOf(program), MedianOf(engine)};
}

void Report(const char* label, const Figures& figures) {
  std::printf("page %-6s program %8.1f ms  engine alone %8.1f ms\n", label, figures.program,
              figures.engine);
}

}  // namespace

int main(int argc, char** argv) {
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  RegisterPageScheme();
  QApplication application(argc, argv);
  const BenchFolder folder(0);
  WritePage(folder.Path() / "a-small.html", 4 * 1024);
  WritePage(folder.Path() / "b-big.html", 50 * 1024 * 1024);
  WritePage(folder.Path() / "c-other.html", 4 * 1024);

  TfrmMain window({core::DecodeLossless(folder.Path().string())});
  window.show();
  QWebEngineView engineView;
  engineView.resize(window.findChild<QWebEngineView*>(QStringLiteral("webMain"))->size());
  engineView.show();

  const Figures small = Measure(window, engineView, folder.Path(), 0, 2, 25);
  const Figures big = Measure(window, engineView, folder.Path(), 1, 2, 7);
  Report("small", small);
  Report("50MB", big);
  std::printf("page small: %.2f\npage 50MB: %.2f\n", small.program / small.engine,
              big.program / big.engine);
  return 0;
}
