#include <QActionGroup>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "support/TemporaryFolder.h"
#include "ui/UfrmAbout.h"
#include "ui/WindowProbe.h"
#include "vellumine_version.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct MenuEntry {
  QString objectName;
  QString text;
  QString keys;  // as Qt shows them in the menu, "; " between two
  bool separator;
};

std::vector<MenuEntry> EntriesOf(const QMenu* menu) {
  std::vector<MenuEntry> entries;
  for (const QAction* item : menu->actions()) {
    entries.push_back({item->objectName(), item->text(),
                       QKeySequence::listToString(item->shortcuts()), item->isSeparator()});
    EXPECT_TRUE(item->icon().isNull()) << item->text().toStdString();
  }
  return entries;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) {
  return a.objectName == b.objectName && a.text == b.text && a.keys == b.keys &&
         a.separator == b.separator;
}

void PrintTo(const MenuEntry& entry, std::ostream* out) {
  *out << entry.objectName.toStdString() << " '" << entry.text.toStdString() << "' "
       << entry.keys.toStdString();
}

TEST(Menus, HoldTheCommandsInOrderAndOneMenuBarOnly) {
  const auto window = Open({});
  auto* menuBar = window->findChild<QMenuBar*>(u"mnbWin"_s);
  ASSERT_NE(menuBar, nullptr);
  EXPECT_EQ(window->menuWidget(), menuBar);
  EXPECT_EQ(window->findChildren<QMenuBar*>().size(), 1);
  EXPECT_EQ(window->findChild<QMenu*>(u"mnuMac"_s), nullptr);

  QStringList titles;
  for (const QAction* top : menuBar->actions()) titles << top->text();
  EXPECT_EQ(titles, QStringList({u"File"_s, u"Help"_s}));
  EXPECT_EQ(
      EntriesOf(window->findChild<QMenu*>(u"mniWinFile"_s)),
      (std::vector<MenuEntry>{{u"mniWinFileOpenFolder"_s, u"Open Folder"_s, u"Ctrl+O"_s, false},
                              {u"mniWinFileReload"_s, u"Reload"_s, u"F5; Ctrl+R"_s, false},
                              {{}, {}, {}, true},
                              {u"mniWinFileExit"_s, u"E&xit"_s, u"Ctrl+Q"_s, false}}));
  EXPECT_EQ(EntriesOf(window->findChild<QMenu*>(u"mniWinHelp"_s)),
            (std::vector<MenuEntry>{{u"mniWinHelpAbout"_s, u"About Vellumine"_s, {}, false},
                                    {u"mniWinHelpHelp"_s, u"Help"_s, u"F1"_s, false}}));
}

TEST(Commands, AreDeclaredInTheActionListWithCaptionsCategoriesAndKeys) {
  const auto window = Open({});
  QStringList declared;
  for (const QAction* command : window->findChild<QActionGroup*>(u"actMain"_s)->actions()) {
    declared << command->objectName() + u"|"_s + command->text() + u"|"_s +
                    command->property("category").toString() + u"|"_s +
                    QKeySequence::listToString(command->shortcuts());
  }
  EXPECT_EQ(declared,
            QStringList({u"actOpenFolder|Open Folder|File|Ctrl+O"_s, u"actExit|E&xit|File|Ctrl+Q"_s,
                         u"actReloadFile|Reload|File|F5; Ctrl+R"_s,
                         u"actAbout|About Vellumine|Help|"_s, u"actHelp|Help|Help|F1"_s}));
}

struct Binding {
  const char* item;
  const char* command;
};

class Bindings : public testing::TestWithParam<Binding> {};

// Choosing the item runs its command; the item follows the command's enabled state.
TEST_P(Bindings, MenuItemsAndButtonsRunAndFollowTheirCommand) {
  const auto window = Open({});
  QAction* command = Command(*window, GetParam().command);
  // Observe the command without running its handler, which the window connected to itself.
  QObject::disconnect(command, &QAction::triggered, window.get(), nullptr);
  QSignalSpy runs(command, &QAction::triggered);
  if (auto* item = window->findChild<QAction*>(QString::fromLatin1(GetParam().item))) {
    command->setEnabled(true);
    item->trigger();
    command->setEnabled(false);
    EXPECT_FALSE(item->isEnabled());
    command->setEnabled(true);
    EXPECT_TRUE(item->isEnabled());
  } else {
    auto* button = window->findChild<QToolButton*>(QString::fromLatin1(GetParam().item));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), command->text());
    command->setEnabled(true);
    button->click();
    command->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
  }
  EXPECT_EQ(runs.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, Bindings,
                         testing::Values(Binding{"mniWinFileOpenFolder", "actOpenFolder"},
                                         Binding{"mniWinFileReload", "actReloadFile"},
                                         Binding{"mniWinFileExit", "actExit"},
                                         Binding{"mniWinHelpAbout", "actAbout"},
                                         Binding{"mniWinHelpHelp", "actHelp"},
                                         Binding{"btnOpenFolder", "actOpenFolder"},
                                         Binding{"btnReload", "actReloadFile"}),
                         [](const auto& info) { return std::string(info.param.item); });

TEST(Reload, StaysDisabledUntilAFolderOpensThenStaysEnabled) {
  TemporaryFolder folder;
  folder.Page("a.html");
  const auto window = Open({});
  QAction* reloadItem = window->findChild<QAction*>(u"mniWinFileReload"_s);
  EXPECT_FALSE(reloadItem->isEnabled());
  EXPECT_FALSE(window->findChild<QToolButton*>(u"btnReload"_s)->isEnabled());

  ModalWatcher pick([&](QWidget* modal) { PickFolder(modal, folder); });
  window->findChild<QToolButton*>(u"btnOpenFolder"_s)->click();
  EXPECT_TRUE(reloadItem->isEnabled());
  EXPECT_TRUE(window->findChild<QToolButton*>(u"btnReload"_s)->isEnabled());
  reloadItem->trigger();
  EXPECT_TRUE(reloadItem->isEnabled());
}

TEST(OpenFolder, PickedFolderIsListedAndBecomesCurrent) {
  TemporaryFolder folder;
  folder.Page("b.html");
  folder.Page("A.htm");
  const auto window = Open({});
  QString title;
  Qt::WindowModality modality = Qt::NonModal;
  ModalWatcher pick([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    modality = dialog->windowModality();
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    PickFolder(modal, folder);
  });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_EQ(title, u"Open Folder"_s);
  EXPECT_NE(modality, Qt::NonModal);
  EXPECT_EQ(Entries(*window), QStringList({u"A.htm"_s, u"b.html"_s}));
  EXPECT_EQ(window->CurrentFolder(), folder.Text());
}

TEST(OpenFolder, CancellingChangesNothing) {
  TemporaryFolder folder;
  folder.Page("a.html", "shown");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, u"shown"_s));
  ModalWatcher cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_EQ(Entries(*window), QStringList({u"a.html"_s}));
  EXPECT_EQ(SelectedRow(*window), 0);
  EXPECT_EQ(window->CurrentFolder(), folder.Text() + u"/");
  EXPECT_EQ(View(*window)->title(), u"shown"_s);
}

TEST(OpenFolder, OnTheCurrentFolderRebuildsTheListAndKeepsThePage) {
  TemporaryFolder folder;
  folder.Page("a.html", "shown");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, u"shown"_s));
  folder.Page("0.html");
  ModalWatcher pick([&](QWidget* modal) { PickFolder(modal, folder); });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_EQ(Entries(*window), QStringList({u"0.html"_s, u"a.html"_s}));
  EXPECT_EQ(SelectedRow(*window), -1);
  QTest::qWait(200);
  EXPECT_EQ(View(*window)->title(), u"shown"_s);
}

// The box's frame is centred on the owner's frame, as near as whole pixels allow.
void ExpectCentredOn(QWidget& box, const QWidget& owner) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  const QPointF offset = QRectF(box.windowHandle()->frameGeometry()).center() -
                         QRectF(owner.windowHandle()->frameGeometry()).center();
  EXPECT_LE(std::abs(offset.x()), 0.5) << offset.x();
  EXPECT_LE(std::abs(offset.y()), 0.5) << offset.y();
}

// The name is drawn in a 20-pixel font inside its 153 x 17 label, its ink as tall as the same
// text drawn with room to spare: nothing is cut off.
void ExpectNameInItsLabel(QLabel& name) {
  EXPECT_EQ(name.text(), u"Vellumine"_s);
  EXPECT_EQ(name.geometry(), QRect(16, 16, 153, 17));
  EXPECT_EQ(name.font().pixelSize(), 20);
  EXPECT_TRUE(ShowsItsWholeInk(name));
}

struct PlacementCase {
  const char* label;
  QRect owner;
  QSize frame;
  QPoint expected;
};

class AboutPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(AboutPlacement, CentresTheFrameOnTheOwnersFrameOnScreen) {
  const QRect screen(0, 0, 1280, 1024);
  EXPECT_EQ(CentredFramePosition(GetParam().owner, GetParam().frame, screen), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AboutPlacement,
    testing::Values(PlacementCase{"SameParity", QRect(100, 50, 1025, 769), QSize(177, 113),
                                  QPoint(524, 378)},
                    PlacementCase{"HalfPixelGoesRightAndDown", QRect(0, 0, 1024, 768),
                                  QSize(177, 113), QPoint(424, 328)},
                    PlacementCase{"WindowManagerFrames", QRect(127, 115, 1026, 793),
                                  QSize(179, 138), QPoint(551, 443)},
                    PlacementCase{"KeptOnScreenTopLeft", QRect(-900, -700, 1000, 800),
                                  QSize(179, 138), QPoint(0, 0)},
                    PlacementCase{"KeptOnScreenBottomRight", QRect(1200, 1000, 1000, 800),
                                  QSize(179, 138), QPoint(1101, 886)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(About, ShowsAModalBoxThatOnlyOkOrTheCloseBoxCloses) {
  const auto window = Open({});
  int shown = 0;
  std::vector<QPointer<TfrmAbout>> boxes;
  ModalWatcher answer([&](QWidget* modal) {
    auto* box = qobject_cast<TfrmAbout*>(modal);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box, frmAbout);
    ++shown;
    boxes.emplace_back(box);
    EXPECT_EQ(box->parentWidget(), window.get());
    EXPECT_TRUE(box->isModal());
    EXPECT_EQ(box->windowTitle(), u"Vellumine"_s);
    EXPECT_EQ(box->size(), QSize(177, 113));
    ExpectCentredOn(*box, *window);
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(box->findChild<QLabel*>(u"lblApplicationName"_s)->text(), u"Vellumine"_s);
    ExpectNameInItsLabel(*box->findChild<QLabel*>(u"lblApplicationName"_s));
    // Fixed in the box's definition, and kept equal to the project's version.
    EXPECT_EQ(box->findChild<QLabel*>(u"lblVersion"_s)->text(),
              QStringLiteral("Version " VELLUMINE_VERSION));
    EXPECT_FALSE(box->findChild<QLabel*>(u"lblCopyright"_s)->text().isEmpty());
    auto* ok = box->findChild<QPushButton*>(u"btnClose"_s);
    EXPECT_EQ(ok->text(), u"OK"_s);
    EXPECT_EQ(ok->geometry(), QRect(40, 80, 80, 22));

    QTest::keyClick(box, Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(box->isVisible()) << "Esc closed the box";
    ok->clearFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_TRUE(box->isVisible()) << "Enter pressed OK without its having focus";
    EXPECT_FALSE(ok->isDefault());
    if (shown == 1) {
      ok->setFocus();
      QTest::keyClick(ok, Qt::Key_Return);
    } else if (shown == 2) {
      ok->click();
    } else {
      box->close();  // the close box
    }
  });
  for (int showing = 0; showing < 3; ++showing) Command(*window, "actAbout")->trigger();
  EXPECT_EQ(shown, 3);
  for (const auto& box : boxes) EXPECT_TRUE(box.isNull());
  EXPECT_EQ(frmAbout, nullptr);
}

TEST(Help, AsksTheDesktopToOpenHelpPageBesideTheExecutable) {
  TemporaryFolder standIns;
  const std::filesystem::path record = standIns.Path() / "opened";
  const std::filesystem::path opener = standIns.Path() / "xdg-open";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record.string() << "'\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  const std::string path = standIns.Path().string() + ":" + std::getenv("PATH");
  setenv("PATH", path.c_str(), 1);

  const auto window = Open({});
  Command(*window, "actHelp")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(record); }, 10000));
  QTest::qWait(100);
  std::ifstream recorded(record);
  const std::string opened((std::istreambuf_iterator<char>(recorded)), {});
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(QUrl(QString::fromStdString(opened)).toLocalFile().toStdString(),
            (executable.parent_path() / "help.html").string());
}

TEST(Exit, EndsTheProgramWithStatusZero) {
  QTimer::singleShot(0, [] {
    ASSERT_NE(frmMain, nullptr);
    frmMain->findChild<QAction*>(u"mniWinFileExit"_s)->trigger();
  });
  EXPECT_EQ(RunApplication({}), 0);
  EXPECT_EQ(frmMain, nullptr);
}

}  // namespace
