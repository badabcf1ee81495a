// What an untrusted page can and cannot do in the page area, measured with the real engine.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/PageSite.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

namespace fs = std::filesystem;

// Each link is clicked as a user would, so that Back returns to the page that holds it.
TEST(PageSafety, LinksBetweenPagesKeepWorkingInTheView) {
  const Site site;
  const std::string block =
      "style='position: fixed; left: 0; width: 300px; height: 100px; "
      "display: block'";
  Write(site.folder.Path() / "docs/page.html", "<title>start</title><a " + block +
                                                   " href='q.html'>q</a><a " + block + " href='" +
                                                   site.Root() +
                                                   "/docs/q.html' id='absolute'>q</a>"
                                                   "<style>#absolute { top: 100px; }</style>");
  const auto window = Open({Text(site.folder.Path() / "docs/page.html")});
  ASSERT_TRUE(ShowsPage(*window, u"start"_s));
  for (const QPoint link : {QPoint(50, 50), QPoint(50, 150)}) {
    QTest::mouseClick(View(*window)->focusProxy(), Qt::LeftButton, {}, link);
    EXPECT_TRUE(ShowsPage(*window, u"Q"_s)) << link.y();
    View(*window)->back();
    EXPECT_TRUE(ShowsPage(*window, u"start"_s));
  }
}

// A FIFO never gets a writer here: reading it would block for good. z.html shows it as an image.
TEST(PageSafety, FifoWithAnHtmlNameIsListedAndShowsAnErrorAtOnce) {
  TemporaryFolder folder;
  folder.Page("a.html", "a");
  ASSERT_EQ(mkfifo((folder.Path() / "x.html").c_str(), 0644), 0);
  folder.Page("z.html", "z", "<img src='x.html'>");
  const auto window = Open({folder.Text()});
  ASSERT_EQ(Entries(*window), QStringList({u"a.html"_s, u"x.html"_s, u"z.html"_s}));
  Select(*window, 1);
  EXPECT_TRUE(ShowsPage(*window, u"Not a regular file"_s));
  Select(*window, 2);
  EXPECT_TRUE(ShowsPage(*window, u"z"_s));
  Select(*window, 0);
  EXPECT_TRUE(ShowsPage(*window, u"a"_s));
}

bool ProcessRuns(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const std::size_t state = line.rfind(')') + 2;
  return state < line.size() && line[state] != 'Z';
}

TEST(PageSafety, LoopingPageGivesWayToTheNextAndItsRendererEnds) {
  TemporaryFolder folder;
  folder.Page("a.html", "loop",
              "<p>looping</p><script>setTimeout(() => { for (;;) {} }, 100);</script>");
  folder.Page("b.html", "next");
  const auto window = Open({folder.Text()});
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"loop"_s));
  QTest::qWait(300);
  const qint64 looping = View(*window)->page()->renderProcessPid();
  ASSERT_GT(looping, 0);
  Select(*window, 1);
  EXPECT_TRUE(ShowsPage(*window, u"next"_s));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRuns(looping); }, kPageTimeoutMs));
  Select(*window, 0);
  EXPECT_TRUE(ShowsPage(*window, u"loop"_s));
}

void EndRenderer(const TfrmMain& window) {
  const qint64 pid = View(window)->page()->renderProcessPid();
  ASSERT_GT(pid, 0);
  kill(static_cast<pid_t>(pid), SIGKILL);
  EXPECT_TRUE(ShowsPage(window, u"Page stopped"_s));
}

TEST(PageSafety, StoppedRendererIsToldAndEveryEntryShowsAfterwards) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html", "c.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  List(*window)->setFocus();
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"a.html"_s));

  EndRenderer(*window);
  EXPECT_EQ(QApplication::focusWidget(), List(*window));
  QTest::keyClick(List(*window), Qt::Key_Down);
  EXPECT_TRUE(ShowsPage(*window, u"b.html"_s));
  QTest::keyClick(List(*window), Qt::Key_Up);
  EXPECT_TRUE(ShowsPage(*window, u"a.html"_s));

  EndRenderer(*window);
  const QRect entry = List(*window)->visualRect(List(*window)->model()->index(0, 0));
  QTest::mouseClick(List(*window)->viewport(), Qt::LeftButton, {}, entry.center());
  EXPECT_TRUE(ShowsPage(*window, u"a.html"_s));
}

bool AnyOtherWindowVisible(const TfrmMain& window) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != &window && widget->isVisible() && !qobject_cast<QMenu*>(widget)) return true;
  }
  return false;
}

TEST(PageSafety, ColourInputOpensNoWindow) {
  TemporaryFolder folder;
  folder.Page("a.html", "colour",
              "<input type='color' id='c' style='position: fixed; left: 0; top: 0; "
              "width: 300px; height: 200px'>"
              "<script>document.getElementById('c').onclick = () => "
              "document.title = 'clicked';</script>");
  const auto window = Open({folder.Text()});
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"colour"_s));
  bool sawWindow = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout,
                   [&] { sawWindow |= AnyOtherWindowVisible(*window); });
  watcher.start(10);
  QTest::mouseClick(View(*window)->focusProxy(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_TRUE(ShowsPage(*window, u"clicked"_s));
  QTest::qWait(1000);
  EXPECT_FALSE(sawWindow);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PageSafety, ContextMenuOffersOnlyActionsThatWork) {
  TemporaryFolder folder;
  folder.Page("a.html", "menu",
              "<a href='b.html' style='position: fixed; left: 0; top: 0; width: 300px; "
              "height: 200px; display: block'>link</a>");
  const auto window = Open({folder.Text()});
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"menu"_s));
  QStringList offered;
  QTimer reader;
  QObject::connect(&reader, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (const QAction* action : menu->actions())
        if (!action->isSeparator()) offered << action->text();
      menu->close();
    }
  });
  reader.start(10);
  QWidget* surface = View(*window)->focusProxy();
  QTest::mouseMove(surface, QPoint(100, 100));
  QTest::mousePress(surface, Qt::RightButton, {}, QPoint(100, 100));
  QTest::mouseRelease(surface, Qt::RightButton, {}, QPoint(100, 100));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !offered.isEmpty(); }, kPageTimeoutMs));
  const QWebEnginePage* page = View(*window)->page();
  EXPECT_TRUE(offered.contains(page->action(QWebEnginePage::CopyLinkToClipboard)->text()));
  for (const QWebEnginePage::WebAction refused :
       {QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::OpenLinkInNewWindow,
        QWebEnginePage::DownloadLinkToDisk, QWebEnginePage::SavePage, QWebEnginePage::ViewSource,
        QWebEnginePage::InspectElement}) {
    EXPECT_FALSE(offered.contains(page->action(refused)->text()))
        << page->action(refused)->text().toStdString();
  }
}

// The folder argument "docs" is relative to the current folder of the process.
TEST(PageSafety, RelativeFolderArgumentShowsItsOwnPages) {
  TemporaryFolder folder;
  Write(folder.Path() / "docs/p.html", "<title>relative</title>");
  const fs::path before = fs::current_path();
  fs::current_path(folder.Path());
  const auto window = Open({u"docs"});
  Select(*window, 0);
  EXPECT_TRUE(ShowsPage(*window, u"relative"_s)) << View(*window)->title().toStdString();
  fs::current_path(before);
}

}  // namespace
