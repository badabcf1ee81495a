#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "core/error_texts.h"
#include "core/failure.h"
#include "support/TemporaryFolder.h"
#include "ui/UfrmMain.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(MainWindow, WithoutArgumentStartsEmptyWithReloadDisabled) {
  const auto window = Open({});
  EXPECT_EQ(window->windowTitle(), u"Vellumine"_s);
  EXPECT_TRUE(Entries(*window).isEmpty());
  EXPECT_TRUE(View(*window)->url().isEmpty());
  EXPECT_FALSE(Command(*window, "actReloadFile")->isEnabled());
  EXPECT_FALSE(window->findChild<QToolButton*>(u"btnReload"_s)->isEnabled());
  EXPECT_TRUE(Command(*window, "actOpenFolder")->isEnabled());
  EXPECT_EQ(window->findChild<QMenu*>(u"mnuMac"_s), nullptr);
  EXPECT_TRUE(window->CurrentFolder().empty());
}

// The window on screen is the one first shown: it is not destroyed and made again once the page
// view starts drawing (which would flicker, and leave whoever looked the window up holding a
// window that no longer exists).
TEST(MainWindow, StaysTheSameNativeWindowOnceShown) {
  TfrmMain window(std::vector<std::u16string>{});
  window.show();
  const WId shown = window.winId();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(QTest::qWaitFor([&] { return View(window)->focusProxy() != nullptr; }));
  QTest::qWait(200);
  EXPECT_EQ(window.winId(), shown);
}

TEST(MainWindow, FolderArgumentListsHtmlFilesInNameOrder) {
  TemporaryFolder folder;
  for (const char* name : {"Zeta.html", "alpha.html", "_x.html", "Beta.htm", "notes.txt"}) {
    folder.Page(name);
  }
  std::filesystem::create_directory(folder.Path() / "e.html");
  const auto window = Open({folder.Text()});
  EXPECT_EQ(Entries(*window),
            QStringList({u"alpha.html"_s, u"Beta.htm"_s, u"Zeta.html"_s, u"_x.html"_s}));
  EXPECT_EQ(SelectedRow(*window), -1);
  EXPECT_EQ(window->CurrentFolder(), folder.Text());
  EXPECT_TRUE(Command(*window, "actReloadFile")->isEnabled());
  EXPECT_TRUE(window->findChild<QToolButton*>(u"btnReload"_s)->isEnabled());
  EXPECT_TRUE(View(*window)->url().isEmpty());
}

struct FileArgumentCase {
  const char* label;
  const char* argumentName;
  int selectedRow;  // -1: nothing selected
};

class FileArgument : public testing::TestWithParam<FileArgumentCase> {};

TEST_P(FileArgument, ListsTheFolderAndSelectsAnExactlyNamedEntry) {
  TemporaryFolder folder;
  folder.Page("about.htm");
  folder.Page("index.html", "Index");
  folder.Page("notes.txt");
  const auto window = Open({Text(folder.Path() / GetParam().argumentName)});
  EXPECT_EQ(Entries(*window), QStringList({u"about.htm"_s, u"index.html"_s}));
  EXPECT_EQ(window->CurrentFolder(), folder.Text() + u"/");
  EXPECT_EQ(SelectedRow(*window), GetParam().selectedRow);
  if (GetParam().selectedRow >= 0) {
    EXPECT_TRUE(ShowsPage(*window, u"Index"_s));
  } else {
    EXPECT_TRUE(View(*window)->url().isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileArgument,
                         testing::Values(FileArgumentCase{"ExistingPage", "index.html", 1},
                                         FileArgumentCase{"OtherLetterCase", "INDEX.HTML", -1},
                                         FileArgumentCase{"NotAnHtmlFile", "notes.txt", -1},
                                         FileArgumentCase{"MissingFile", "gone.html", -1}),
                         [](const auto& info) { return std::string(info.param.label); });

struct FailingStartCase {
  const char* label;
  std::u16string argument;
  std::u16string_view message;
};

class FailingStart : public testing::TestWithParam<FailingStartCase> {};

TEST_P(FailingStart, FormCreateFailsWithTheFolderCheck) {
  try {
    TfrmMain window({GetParam().argument});
    ADD_FAILURE() << "the window was created";
  } catch (const core::Failure& failure) {
    EXPECT_EQ(failure.Message(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingStart,
    testing::Values(FailingStartCase{"FileInMissingFolder", u"/nonexistent-vellumine/page.html",
                                     core::kPathNotFound},
                    FailingStartCase{"BareFileName", u"page.html", core::kInvalidPathCharacters}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FailingStart, RelativeArgumentInADeletedWorkingFolderIsNotFound) {
  TemporaryFolder folder;
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path gone = folder.Path() / "gone";
  std::filesystem::create_directory(gone);
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  for (const std::u16string argument : {u"docs/", u"docs/page.html"}) {
    try {
      TfrmMain window({argument});
      ADD_FAILURE() << "the window was created";
    } catch (const core::Failure& failure) {
      EXPECT_EQ(failure.Message(), core::kPathNotFound);
    }
  }
  std::filesystem::current_path(previous);
}

TEST(PageDisplay, EachNameShowsItsOwnFile) {
  TemporaryFolder folder;
  const std::vector<std::pair<std::string, std::string>> pages = {
      {"A.html", "plain A"},
      {"%41.html", "percent 41"},
      {"a b#1.html", "space hash"},
      {"q?x.html", "question mark"},
      {"日本.html", "japanese"},
      {"caf\xE9.html", "latin1 byte"},
      {"back\\slash.html", "backslash"}};
  for (const auto& [name, title] : pages) folder.Page(name, title);
  const auto window = Open({folder.Text()});
  const QStringList entries = Entries(*window);
  ASSERT_EQ(entries.size(), static_cast<qsizetype>(pages.size()));
  for (const auto& [name, title] : pages) {
    const QString shown = QString::fromStdU16String(core::ReadableText(core::DecodeLossless(name)));
    SCOPED_TRACE(name);
    Select(*window, static_cast<int>(entries.indexOf(shown)));
    EXPECT_TRUE(ShowsPage(*window, QString::fromStdString(title)));
  }
}

// How a folder named through a link and ".." comes to be listed.
enum class Opening { StartUp, OpenFolder, Reload };

struct LinkedFolderCase {
  const char* label;
  Opening opening;
  bool withDecoy;                   // a folder "pages" beside the link, holding a same-named page
  std::vector<const char*> titles;  // of the listed pages, in the list's order
};

class LinkedFolder : public testing::TestWithParam<LinkedFolderCase> {};

// "lnk" leads to real/deep, so "lnk/../pages" is real/pages for the kernel: the list and the pages
// shown come from there, never from a "pages" beside the link. The folder picker reads ".." as
// text and hands over the "pages" beside the link; then that folder is listed and shown.
TEST_P(LinkedFolder, ShowsThePagesOfTheFolderItLists) {
  TemporaryFolder folder;
  std::filesystem::create_directories(folder.Path() / "real/deep");
  std::filesystem::create_directories(folder.Path() / "real/pages");
  std::filesystem::create_directory_symlink("real/deep", folder.Path() / "lnk");
  std::ofstream(folder.Path() / "real/pages/a.html") << "<title>real a</title>";
  std::ofstream(folder.Path() / "real/pages/b.html") << "<title>real b</title>";
  if (GetParam().withDecoy) {
    std::filesystem::create_directory(folder.Path() / "pages");
    std::ofstream(folder.Path() / "pages/a.html") << "<title>decoy a</title>";
  }
  const std::u16string linked = folder.Text() + u"/lnk/../pages";
  const auto window =
      Open(GetParam().opening == Opening::OpenFolder ? std::vector<std::u16string>{}
                                                     : std::vector<std::u16string>{linked});
  if (GetParam().opening == Opening::OpenFolder) {
    ModalWatcher pick([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      dialog->setDirectory(QString::fromStdU16String(linked));
      static_cast<QDialog*>(dialog)->accept();
    });
    Command(*window, "actOpenFolder")->trigger();
  }
  if (GetParam().opening == Opening::Reload) Command(*window, "actReloadFile")->trigger();
  const std::vector<const char*>& titles = GetParam().titles;
  ASSERT_EQ(Entries(*window).size(), static_cast<qsizetype>(titles.size()));
  for (std::size_t row = 0; row < titles.size(); ++row) {
    Select(*window, static_cast<int>(row));
    EXPECT_TRUE(ShowsPage(*window, QString::fromUtf8(titles[row])))
        << View(*window)->title().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkedFolder,
    testing::Values(LinkedFolderCase{"StartUp", Opening::StartUp, true, {"real a", "real b"}},
                    LinkedFolderCase{
                        "StartUpWithoutDecoy", Opening::StartUp, false, {"real a", "real b"}},
                    LinkedFolderCase{"OpenFolder", Opening::OpenFolder, true, {"decoy a"}},
                    LinkedFolderCase{"Reload", Opening::Reload, true, {"real a", "real b"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PageDisplay, SelectingAgainAfterRefillShowsTheCurrentContent) {
  TemporaryFolder folder;
  folder.Page("a.html", "first version");
  const auto window = Open({folder.Text()});
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"first version"_s));

  folder.Page("a.html", "second version");
  folder.Page("b.html", "added");
  Command(*window, "actReloadFile")->trigger();
  EXPECT_EQ(Entries(*window), QStringList({u"a.html"_s, u"b.html"_s}));
  EXPECT_EQ(SelectedRow(*window), -1);
  EXPECT_EQ(View(*window)->title(), u"first version"_s);

  Select(*window, 0);
  EXPECT_TRUE(ShowsPage(*window, u"second version"_s));
}

TEST(PageDisplay, FocusAloneLoadsNothingAndDownSelectsTheFirstEntry) {
  TemporaryFolder folder;
  folder.Page("a.html", "first");
  folder.Page("b.html", "second");
  const auto window = Open({folder.Text()});
  QSignalSpy loads(View(*window), &QWebEngineView::loadStarted);
  window->activateWindow();
  List(*window)->setFocus();
  QTest::qWait(300);
  EXPECT_EQ(loads.count(), 0);
  EXPECT_EQ(SelectedRow(*window), -1);

  QTest::keyClick(List(*window), Qt::Key_Down);
  EXPECT_EQ(SelectedRow(*window), 0);
  EXPECT_TRUE(ShowsPage(*window, u"first"_s));
  QTest::keyClick(List(*window), Qt::Key_Down);
  EXPECT_EQ(SelectedRow(*window), 1);
  EXPECT_TRUE(ShowsPage(*window, u"second"_s));
}

TEST(PageDisplay, PagesAskNothingAndOpenNoWindows) {
  TemporaryFolder folder;
  folder.Page("a.html", "busy",
              "<script>"
              "window.onbeforeunload = function (e) { e.preventDefault(); return 'stay'; };"
              "alert('a'); const c = confirm('c'); const p = prompt('p', 'x');"
              "window.open('b.html');"
              "document.title = 'asked ' + c + ' ' + (p === null);"
              "</script>");
  folder.Page("b.html", "next");
  const auto window = Open({folder.Text()});
  bool sawDialog = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget != window.get() && widget->isVisible() && qobject_cast<QDialog*>(widget)) {
        sawDialog = true;
        widget->close();
      }
    }
  });
  watcher.start(20);
  Select(*window, 0);
  EXPECT_TRUE(ShowsPage(*window, u"asked true true"_s)) << View(*window)->title().toStdString();
  QTest::qWait(300);
  const auto isBrowserView = [](QWidget* widget) { return qobject_cast<QWebEngineView*>(widget); };
  const QWidgetList widgets = QApplication::allWidgets();
  EXPECT_EQ(std::count_if(widgets.begin(), widgets.end(), isBrowserView), 1);
  Select(*window, 1);
  EXPECT_TRUE(ShowsPage(*window, u"next"_s));
  EXPECT_FALSE(sawDialog);
}

TEST(EventLoopErrors, FailedReloadShowsTheErrorBoxAndKeepsTheList) {
  auto folder = std::make_unique<TemporaryFolder>();
  folder->Page("a.html");
  const std::u16string path = folder->Text();
  const auto window = Open({path});
  folder.reset();

  QString caption;
  QString text;
  ModalWatcher answer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->button(QMessageBox::Ok)->click();
  });
  Command(*window, "actReloadFile")->trigger();
  EXPECT_EQ(caption, u"エラー"_s);
  EXPECT_EQ(text, u"指定されたパスが見つかりません."_s);
  EXPECT_EQ(Entries(*window), QStringList({u"a.html"_s}));
  EXPECT_EQ(window->CurrentFolder(), path);
  EXPECT_TRUE(Command(*window, "actReloadFile")->isEnabled());
}

}  // namespace
