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

namespace {

struct MenuEntry {
  QString objectName;
  QString text;
  bool separator;
};

std::vector<MenuEntry> EntriesOf(const QMenu* menu) {
  std::vector<MenuEntry> entries;
  for (const QAction* item : menu->actions()) {
    entries.push_back({item->objectName(), item->text(), item->isSeparator()});
    EXPECT_TRUE(item->icon().isNull()) << item->text().toStdString();
    EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
  }
  return entries;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) {
  return a.objectName == b.objectName && a.text == b.text && a.separator == b.separator;
}

void PrintTo(const MenuEntry& entry, std::ostream* out) {
  *out << entry.objectName.toStdString() << " '" << entry.text.toStdString() << "'";
}

TEST(Menus, HoldTheCommandsInOrderAndOneMenuBarOnly) {
  const auto window = Open({});
  auto* menuBar = window->findChild<QMenuBar*>("mnbWin");
  ASSERT_NE(menuBar, nullptr);
  EXPECT_EQ(window->menuWidget(), menuBar);
  EXPECT_EQ(window->findChildren<QMenuBar*>().size(), 1);
  EXPECT_EQ(window->findChild<QMenu*>("mnuMac"), nullptr);

  QStringList titles;
  for (const QAction* top : menuBar->actions()) titles << top->text();
  EXPECT_EQ(titles, QStringList({"File", "Help"}));
  EXPECT_EQ(EntriesOf(window->findChild<QMenu*>("mniWinFile")),
            (std::vector<MenuEntry>{{"mniWinFileOpenFolder", "Open Folder", false},
                                    {"mniWinFileReload", "Reload", false},
                                    {"", "", true},
                                    {"mniWinFileExit", "E&xit", false}}));
  EXPECT_EQ(EntriesOf(window->findChild<QMenu*>("mniWinHelp")),
            (std::vector<MenuEntry>{{"mniWinHelpAbout", "About Vellumine", false},
                                    {"mniWinHelpHelp", "Help", false}}));
}

TEST(Commands, AreDeclaredInTheActionListWithCaptionsAndCategories) {
  const auto window = Open({});
  QStringList declared;
  for (const QAction* command : window->findChild<QActionGroup*>("actMain")->actions()) {
    declared << command->objectName() + "|" + command->text() + "|" +
                    command->property("category").toString();
    EXPECT_TRUE(command->shortcut().isEmpty());
  }
  EXPECT_EQ(declared, QStringList({"actOpenFolder|Open Folder|File", "actExit|E&xit|File",
                                   "actReloadFile|Reload|File", "actAbout|About Vellumine|Help",
                                   "actHelp|Help|Help"}));
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
  if (auto* item = window->findChild<QAction*>(GetParam().item)) {
    command->setEnabled(true);
    item->trigger();
    command->setEnabled(false);
    EXPECT_FALSE(item->isEnabled());
    command->setEnabled(true);
    EXPECT_TRUE(item->isEnabled());
  } else {
    auto* button = window->findChild<QToolButton*>(GetParam().item);
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
  QAction* reloadItem = window->findChild<QAction*>("mniWinFileReload");
  EXPECT_FALSE(reloadItem->isEnabled());
  EXPECT_FALSE(window->findChild<QToolButton*>("btnReload")->isEnabled());

  ModalWatcher pick([&](QWidget* modal) { PickFolder(modal, folder); });
  window->findChild<QToolButton*>("btnOpenFolder")->click();
  EXPECT_TRUE(reloadItem->isEnabled());
  EXPECT_TRUE(window->findChild<QToolButton*>("btnReload")->isEnabled());
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
  EXPECT_EQ(title, "Open Folder");
  EXPECT_NE(modality, Qt::NonModal);
  EXPECT_EQ(Entries(*window), QStringList({"A.htm", "b.html"}));
  EXPECT_EQ(window->CurrentFolder(), folder.Text());
}

TEST(OpenFolder, CancellingChangesNothing) {
  TemporaryFolder folder;
  folder.Page("a.html", "shown");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, "shown"));
  ModalWatcher cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_EQ(Entries(*window), QStringList({"a.html"}));
  EXPECT_EQ(SelectedRow(*window), 0);
  EXPECT_EQ(window->CurrentFolder(), folder.Text() + u"/");
  EXPECT_EQ(View(*window)->title(), "shown");
}

TEST(OpenFolder, OnTheCurrentFolderRebuildsTheListAndKeepsThePage) {
  TemporaryFolder folder;
  folder.Page("a.html", "shown");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, "shown"));
  folder.Page("0.html");
  ModalWatcher pick([&](QWidget* modal) { PickFolder(modal, folder); });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_EQ(Entries(*window), QStringList({"0.html", "a.html"}));
  EXPECT_EQ(SelectedRow(*window), -1);
  QTest::qWait(200);
  EXPECT_EQ(View(*window)->title(), "shown");
}

// The box's frame is centred on the owner's frame, as near as whole pixels allow.
void ExpectCentredOn(QWidget& box, const QWidget& owner) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  const QPointF offset = QRectF(box.windowHandle()->frameGeometry()).center() -
                         QRectF(owner.windowHandle()->frameGeometry()).center();
  EXPECT_LE(std::abs(offset.x()), 0.5) << offset.x();
  EXPECT_LE(std::abs(offset.y()), 0.5) << offset.y();
}

// The rows of `image` that hold anything but its corner's colour.
std::pair<int, int> InkRows(const QImage& image) {
  const QRgb background = image.pixel(image.width() - 1, 0);
  int top = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == background) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  return {top, bottom};
}

// The name is drawn in a 20-pixel font inside its 153 x 17 label, its ink as tall as the same
// text drawn with room to spare: nothing is cut off.
void ExpectNameInItsLabel(QLabel& name) {
  EXPECT_EQ(name.text(), "Vellumine");
  EXPECT_EQ(name.geometry(), QRect(16, 16, 153, 17));
  EXPECT_EQ(name.font().pixelSize(), 20);
  const auto [top, bottom] = InkRows(name.grab().toImage());
  QLabel roomy(name.text());
  roomy.setFont(name.font());
  roomy.resize(name.width(), 3 * name.height());
  const auto [roomyTop, roomyBottom] = InkRows(roomy.grab().toImage());
  EXPECT_GE(top, 0);
  EXPECT_EQ(bottom - top, roomyBottom - roomyTop);
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
    EXPECT_EQ(box->windowTitle(), "Vellumine");
    EXPECT_EQ(box->size(), QSize(177, 113));
    ExpectCentredOn(*box, *window);
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(box->findChild<QLabel*>("lblApplicationName")->text(), "Vellumine");
    ExpectNameInItsLabel(*box->findChild<QLabel*>("lblApplicationName"));
    EXPECT_EQ(box->findChild<QLabel*>("lblVersion")->text(), "Version 1.1.0");
    EXPECT_FALSE(box->findChild<QLabel*>("lblCopyright")->text().isEmpty());
    auto* ok = box->findChild<QPushButton*>("btnClose");
    EXPECT_EQ(ok->text(), "OK");
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
    frmMain->findChild<QAction*>("mniWinFileExit")->trigger();
  });
  EXPECT_EQ(RunApplication({}), 0);
  EXPECT_EQ(frmMain, nullptr);
}

}  // namespace
