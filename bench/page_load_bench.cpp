// Loading a page in the program against the engine loading the same "file:" URL itself: the time
// from selecting an entry in the list until its page has loaded, for a small page, a 50 MB page
// and a page with 100 resources of its own, in paired runs in one process. Prints
// "page small: R", "page 50MB: R" and "page resources: R".
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
#include "ui/UfrmMain.h"
#include "ui/page/PageScheme.h"

namespace {

namespace fs = std::filesystem;

// A page of about `bytes` bytes. Most of it is a comment, so that the figure measures reading the
// file and handing it to the engine rather than the layout of a huge document, which the engine
// does the same way whoever read the file. It names no character set, so the program reads all of
// it to see whether it is UTF-8.
void WritePage(const fs::path& path, std::size_t bytes, const std::string& body = {}) {
  std::ofstream page(path);
  page << "<!DOCTYPE html><html><head><title>" << path.filename().string()
       << "</title></head><body><p>Generated documentation</p>" << body << "<!--\n";
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

// A page with 80 images, 10 scripts and 10 stylesheets in a folder beside it.
void WriteResourcePage(const fs::path& folder, const std::string& name) {
  static constexpr char kGif[] =
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
      "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
  fs::create_directories(folder / "res");
  std::string body;
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(i);
    if (i < 80) {
      std::ofstream(folder / "res" / (n + ".gif"), std::ios::binary).write(kGif, sizeof kGif - 1);
      body += "<img src='res/" + n + ".gif'>";
    } else if (i < 90) {
      std::ofstream(folder / "res" / (n + ".js")) << "window.loaded = (window.loaded || 0) + 1;";
      body += "<script src='res/" + n + ".js'></script>";
    } else {
      std::ofstream(folder / "res" / (n + ".css")) << ".c" << n << " { margin: 1px; }";
      body += "<link rel='stylesheet' href='res/" + n + ".css'>";
    }
  }
  WritePage(folder / name, 4 * 1024, body);
}

void Report(const char* label, const Figures& figures) {
  std::printf("page %-9s program %8.1f ms  engine alone %8.1f ms\n", label, figures.program,
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
  WriteResourcePage(folder.Path(), "d-resources.html");

  TfrmMain window({core::DecodeLossless(folder.Path().string())});
  window.show();
  QWebEngineView engineView;
  engineView.resize(window.findChild<QWebEngineView*>(QStringLiteral("webMain"))->size());
  engineView.show();

  const Figures small = Measure(window, engineView, folder.Path(), 0, 2, 25);
  const Figures big = Measure(window, engineView, folder.Path(), 1, 2, 7);
  const Figures resources = Measure(window, engineView, folder.Path(), 3, 2, 25);
  Report("small", small);
  Report("50MB", big);
  Report("resources", resources);
  std::printf("page small: %.2f\npage 50MB: %.2f\npage resources: %.2f\n",
              small.program / small.engine, big.program / big.engine,
              resources.program / resources.engine);
  return 0;
}
