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
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

namespace fs = std::filesystem;

// A red pixel.
constexpr char kGif[] =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
constexpr char kFont[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

void Write(const fs::path& path, std::string_view content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string Replaced(std::string text, std::string_view from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// A site spread over several folders: the page under test lies in docs/, its resources beside it
// and in sibling folders. "ROOT" in a case stands for the site's "file:" URL.
struct Site {
  TemporaryFolder folder;

  Site() {
    Write(folder.Path() / "docs/s.css", "body { color: rgb(1, 2, 3); }");
    Write(folder.Path() / "docs/q.html", "<title>Q</title><body>secret</body>");
    Write(folder.Path() / "docs/i.gif", std::string_view(kGif, sizeof kGif - 1));
    Write(folder.Path() / "img/i.gif", std::string_view(kGif, sizeof kGif - 1));
    Write(folder.Path() / "lib/s.js", "window.libraryLoaded = true;");
    Write(folder.Path() / "frames/f.html", "<script>parent.postMessage('framed', '*');</script>");
    fs::create_directories(folder.Path() / "fonts");
    fs::create_symlink(kFont, folder.Path() / "fonts/f.ttf");
  }

  std::string Root() const { return "file://" + folder.Path().string(); }
};

// How a case's check ended: "shown" (a resource rendered), "missing" (it did not), "read" (a
// script got a local file's content) or "refused" (the engine refused the read).
struct AccessCase {
  const char* label;
  const char* markup;  // the page's body; ROOT is the site's "file:" URL
  const char* check;   // a script expression, awaited: true/false, or content read
  const char* expected;
};

// The ways a script may try to read a file's content besides fetch and frames.
constexpr char kReaders[] =
    "<script>"
    "function readByXhr(url) { return new Promise((done, fail) => { "
    "const x = new XMLHttpRequest(); x.open('GET', url); x.onload = () => done(x.responseText); "
    "x.onerror = fail; x.send(); }); }"
    "function readImagePixel(id) { const image = document.getElementById(id); "
    "if (image.naturalWidth !== 1) return false; "
    "const c = document.createElement('canvas').getContext('2d'); "
    "c.drawImage(image, 0, 0); return c.getImageData(0, 0, 1, 1).data.join(); }"
    "</script>";

class FileAccess : public testing::TestWithParam<AccessCase> {};

TEST_P(FileAccess, ResourcesRenderButNoScriptReadsALocalFile) {
  const Site site;
  const std::string script = std::string(kReaders) +
                             "<script>window.onload = async () => { let outcome; try { "
                             "const value = await (async () => (" +
                             GetParam().check +
                             "))(); outcome = value === true ? 'shown' : value === false ? "
                             "'missing' : 'read'; } catch (e) { outcome = 'refused'; } "
                             "document.title = outcome; };</script>";
  Write(site.folder.Path() / "docs/page.html",
        "<!DOCTYPE html><html><head><title>loading</title></head><body>" +
            Replaced(GetParam().markup, "ROOT", site.Root()) + script + "</body></html>");
  const auto window = Open({Text(site.folder.Path() / "docs/page.html")});
  EXPECT_TRUE(ShowsPage(*window, QString::fromLatin1(GetParam().expected)))
      << View(*window)->title().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileAccess,
    testing::Values(
        AccessCase{"StylesheetBesideThePage", "<link rel='stylesheet' href='s.css'>",
                   "getComputedStyle(document.body).color === 'rgb(1, 2, 3)'", "shown"},
        AccessCase{"ScriptInASiblingFolder", "<script src='../lib/s.js'></script>",
                   "window.libraryLoaded === true", "shown"},
        AccessCase{"ImageInTheParentsFolder", "<img id='i' src='../img/i.gif'>",
                   "document.getElementById('i').naturalWidth === 1", "shown"},
        AccessCase{"ImageByAbsoluteFileUrl", "<img id='i' src='ROOT/img/i.gif'>",
                   "document.getElementById('i').naturalWidth === 1", "shown"},
        AccessCase{"FontInASiblingFolder",
                   "<style>@font-face { font-family: F; src: url(../fonts/f.ttf); }</style>",
                   "(await document.fonts.load('16px F')).length === 1", "shown"},
        AccessCase{"FrameInASiblingFolder",
                   "<script>window.framed = new Promise(done => addEventListener('message', "
                   "event => done(event.data === 'framed')));</script>"
                   "<iframe src='../frames/f.html'></iframe>",
                   "window.framed", "shown"},
        AccessCase{"FetchBesideThePage", "", "(await fetch('q.html')).text()", "refused"},
        AccessCase{"FetchByFileUrl", "", "(await fetch('ROOT/lib/s.js')).text()", "refused"},
        AccessCase{"XhrBesideThePage", "", "readByXhr('q.html')", "refused"},
        AccessCase{"XhrByFileUrl", "", "readByXhr('ROOT/lib/s.js')", "refused"},
        AccessCase{"FrameBesideThePage", "<iframe id='f' src='q.html'></iframe>",
                   "document.getElementById('f').contentDocument.body.innerText", "refused"},
        AccessCase{"FrameByFileUrl", "<iframe id='f' src='ROOT/docs/q.html'></iframe>",
                   "document.getElementById('f').contentDocument.body.innerText", "refused"},
        AccessCase{"CanvasOfAnImageBesideThePage", "<img id='i' src='i.gif'>",
                   "readImagePixel('i')", "refused"},
        AccessCase{"CanvasOfAnImageByFileUrl", "<img id='i' src='ROOT/img/i.gif'>",
                   "readImagePixel('i')", "refused"}),
    [](const testing::TestParamInfo<AccessCase>& info) { return std::string(info.param.label); });

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
