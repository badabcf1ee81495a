// What an untrusted page can and cannot do in the page area, measured with the real engine.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
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

// A sparse file of a terabyte holds no data, so reading it through costs only time: minutes at
// memory speed. Its frames show what they can, and the next page shows as soon as it is chosen.
TEST(PageSafety, HugeFilesInFramesHoldNothingUp) {
  TemporaryFolder folder;
  folder.Page("a.html", "frames",
              "<iframe src='big.html'></iframe><iframe src='big.html'></iframe>"
              "<iframe src='big.html'></iframe>");
  std::ofstream(folder.Path() / "big.html") << "<p>start of a huge page</p>";
  fs::resize_file(folder.Path() / "big.html", std::uintmax_t{1} << 40);
  folder.Page("b.html", "next");
  const auto window = Open({folder.Text()});
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"frames"_s));
  Select(*window, 1);
  EXPECT_TRUE(ShowsPage(*window, u"next"_s));
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
  ASSERT_TRUE(Activate(*window));
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
  EXPECT_TRUE(PageTextOnceItHas(*View(*window), u"a.html stopped"_s).contains(u"a.html stopped"_s));
  const QRect entry = List(*window)->visualRect(List(*window)->model()->index(0, 0));
  QTest::mouseClick(List(*window)->viewport(), Qt::LeftButton, {}, entry.center());
  EXPECT_TRUE(ShowsPage(*window, u"a.html"_s));
}

// A control that fills the page's top left, so that a click there opens its picker.
struct PickerCase {
  const char* label;
  const char* control;
};

class PagePicker : public testing::TestWithParam<PickerCase> {};

// Input through the X server, as a user gives it: Qt's own test events would pass by a modal
// window that holds the real ones.
void XInput(const QStringList& arguments) {
  ASSERT_EQ(QProcess::execute(u"xdotool"_s, arguments), 0);
  QTest::qWait(200);
}

void XClick(const QWidget* widget, QPoint position) {
  const QPoint onScreen = widget->mapToGlobal(position);
  XInput({u"mousemove"_s, QString::number(onScreen.x()), QString::number(onScreen.y()), u"click"_s,
          u"1"_s});
}

void ClickEntry(const TfrmMain& window, int row) {
  XClick(List(window)->viewport(),
         List(window)->visualRect(List(window)->model()->index(row, 0)).center());
}

// Chooses File > Exit with the mouse.
void ExitByMouse(TfrmMain& window) {
  auto* menuBar = window.findChild<QMenuBar*>(u"mnbWin"_s);
  QAction* file = menuBar->actions().front();
  XClick(menuBar, menuBar->actionGeometry(file).center());
  QMenu* menu = file->menu();
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, kPageTimeoutMs));
  XClick(menu, menu->actionGeometry(window.findChild<QAction*>(u"mniWinFileExit"_s)).center());
}

TEST_P(PagePicker, NeitherHoldsTheWindowNorOpensOneOfItsOwn) {
  TemporaryFolder folder;
  folder.Page("a.html", "picker",
              std::string(GetParam().control) +
                  "<script>const c = document.getElementById('c'); c.style = 'position: fixed; "
                  "left: 0; top: 0; width: 300px; height: 200px'; c.onclick = () => "
                  "setTimeout(() => document.title = 'clicked', 300);</script>");
  folder.Page("b.html");
  folder.Page("c.html");
  const auto window = Open({folder.Text()});
  ASSERT_TRUE(Activate(*window));
  ClickEntry(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"picker"_s));
  bool sawWindow = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      sawWindow |=
          widget != window.get() && widget->isVisible() && !(widget->windowFlags() & Qt::Popup);
    }
  });
  watcher.start(10);
  XClick(View(*window), QPoint(100, 100));
  ASSERT_TRUE(ShowsPage(*window, u"clicked"_s));

  ClickEntry(*window, 1);
  EXPECT_TRUE(ShowsPage(*window, u"b.html"_s));
  XInput({u"key"_s, u"Down"_s});
  EXPECT_TRUE(ShowsPage(*window, u"c.html"_s));
  EXPECT_FALSE(sawWindow);
  ExitByMouse(*window);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, kPageTimeoutMs));
}

INSTANTIATE_TEST_SUITE_P(Cases, PagePicker,
                         testing::Values(PickerCase{"Colour", "<input type='color' id='c'>"},
                                         PickerCase{"Date", "<input type='date' id='c'>"},
                                         PickerCase{"Time", "<input type='time' id='c'>"},
                                         PickerCase{"File", "<input type='file' id='c'>"},
                                         PickerCase{"Select",
                                                    "<select id='c' size='1'><option>one</option>"
                                                    "<option>two</option></select>"}),
                         [](const testing::TestParamInfo<PickerCase>& info) {
                           return std::string(info.param.label);
                         });

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
