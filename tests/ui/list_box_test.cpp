#include <QAction>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QWebEngineView>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/ListBox.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPages = 100;
constexpr int kLast = kPages - 1;

// A folder of pages p000.html .. p099.html, each titled by its name.
void FillWithPages(const TemporaryFolder& folder) {
  for (int page = 0; page < kPages; ++page) {
    folder.Page(QStringLiteral("p%1.html").arg(page, 3, 10, QChar(u'0')).toStdString());
  }
}

QString TitleOf(int row) { return QStringLiteral("p%1.html").arg(row, 3, 10, QChar(u'0')); }

void Focus(TfrmMain& window) {
  window.activateWindow();
  List(window)->setFocus(Qt::TabFocusReason);
  QTest::qWait(50);
}

// Where Page Down goes from the first entry: the list's page, in entries. Refills the list after.
int PageRows(const TfrmMain& window) {
  Select(window, 0);
  QTest::keyClick(List(window), Qt::Key_PageDown);
  const int rows = SelectedRow(window);
  Command(window, "actReloadFile")->trigger();
  return rows;
}

struct KeyCase {
  const char* label;
  int selected;  // before the key; -1: nothing selected
  Qt::Key key;
  int row;    // where the selection goes: `row` ...
  int pages;  // ... plus this many pages
};

class ListKeys : public testing::TestWithParam<KeyCase> {};

// Every key reaches an entry and loads it, with or without a selection.
TEST_P(ListKeys, SelectAndLoadTheEntryTheyReach) {
  const KeyCase& c = GetParam();
  TemporaryFolder folder;
  FillWithPages(folder);
  const auto window = Open({folder.Text()});
  const int page = PageRows(*window);
  ASSERT_GT(page, 1);
  Focus(*window);
  if (c.selected >= 0) Select(*window, c.selected);
  QTest::keyClick(List(*window), c.key);
  const int expected = c.row + c.pages * page;
  EXPECT_EQ(SelectedRow(*window), expected);
  EXPECT_EQ(List(*window)->currentIndex().row(), expected);
  EXPECT_TRUE(ShowsPage(*window, TitleOf(expected)));
}

INSTANTIATE_TEST_SUITE_P(Cases, ListKeys,
                         testing::Values(KeyCase{"NoneDown", -1, Qt::Key_Down, 0, 0},
                                         KeyCase{"NoneUp", -1, Qt::Key_Up, 0, 0},
                                         KeyCase{"NoneHome", -1, Qt::Key_Home, 0, 0},
                                         KeyCase{"NonePageUp", -1, Qt::Key_PageUp, 0, 0},
                                         KeyCase{"NoneEnd", -1, Qt::Key_End, kLast, 0},
                                         KeyCase{"NonePageDown", -1, Qt::Key_PageDown, 0, 1},
                                         KeyCase{"SelectedDown", 50, Qt::Key_Down, 51, 0},
                                         KeyCase{"SelectedUp", 50, Qt::Key_Up, 49, 0},
                                         KeyCase{"SelectedHome", 50, Qt::Key_Home, 0, 0},
                                         KeyCase{"SelectedEnd", 50, Qt::Key_End, kLast, 0},
                                         KeyCase{"SelectedPageDown", 50, Qt::Key_PageDown, 50, 1},
                                         KeyCase{"SelectedPageUp", 50, Qt::Key_PageUp, 50, -1},
                                         KeyCase{"FirstUp", 0, Qt::Key_Up, 0, 0},
                                         KeyCase{"LastDown", kLast, Qt::Key_Down, kLast, 0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ListKeys, TypingFindsEntriesByTheirFirstLetters) {
  TemporaryFolder folder;
  for (const char* name : {"alpha.html", "beta.html", "gamma.html", "golf.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  Focus(*window);
  QTest::keyClicks(List(*window), u"g"_s);
  EXPECT_EQ(SelectedRow(*window), 2);
  EXPECT_TRUE(ShowsPage(*window, u"gamma.html"_s));
  QTest::keyClicks(List(*window), u"b"_s);
  EXPECT_EQ(SelectedRow(*window), 1);
}

// The user's ways of emptying a selection that keep it instead, and one that moves it.
enum class Gesture { ClickBesideTheEntries, CtrlClickSelected, CtrlSpace, CtrlClickOther };

struct GestureCase {
  const char* label;
  Gesture gesture;
  int selectedAfter;
};

class ListSelection : public testing::TestWithParam<GestureCase> {};

TEST_P(ListSelection, IsMovedButNeverEmptiedByTheUser) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html", "c.html", "d.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  QListView* list = List(*window);
  Focus(*window);
  const auto centreOf = [list](int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
  };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(1));
  ASSERT_TRUE(ShowsPage(*window, u"b.html"_s));
  QSignalSpy changes(static_cast<TListBox*>(list), &TListBox::selectedEntryChanged);
  QSignalSpy loads(View(*window), &QWebEngineView::loadStarted);

  switch (GetParam().gesture) {
    case Gesture::ClickBesideTheEntries:
      QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(10, list->viewport()->height() - 5));
      break;
    case Gesture::CtrlClickSelected:
      QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(1));
      break;
    case Gesture::CtrlSpace:
      QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
      break;
    case Gesture::CtrlClickOther:
      QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(3));
      break;
  }
  QTest::qWait(200);
  EXPECT_EQ(SelectedRow(*window), GetParam().selectedAfter);
  const bool moved = GetParam().selectedAfter != 1;
  EXPECT_EQ(changes.count(), moved ? 1 : 0);
  if (moved) {
    EXPECT_TRUE(ShowsPage(*window, u"d.html"_s));
  } else {
    EXPECT_EQ(loads.count(), 0);
    EXPECT_EQ(View(*window)->title(), u"b.html"_s);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListSelection,
    testing::Values(GestureCase{"ClickBesideTheEntries", Gesture::ClickBesideTheEntries, 1},
                    GestureCase{"CtrlClickSelected", Gesture::CtrlClickSelected, 1},
                    GestureCase{"CtrlSpace", Gesture::CtrlSpace, 1},
                    GestureCase{"CtrlClickOther", Gesture::CtrlClickOther, 3}),
    [](const auto& info) { return std::string(info.param.label); });

QImage Look(const QListView& list) {
  return list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether the list comes to look as it did (it lays out its entries a moment after a refill).
bool ComesToLook(const QListView& list, const QImage& look) {
  return QTest::qWaitFor([&] { return Look(list) == look; }, 2000);
}

// With nothing selected, no entry is current and the list looks the same with or without focus;
// refilling the list empties the selection without a change notification.
TEST(ListSelection, WithNothingSelectedNoEntryLooksMarked) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  QListView* list = List(*window);
  const QImage unfocused = Look(*list);
  Focus(*window);
  ASSERT_TRUE(list->hasFocus());
  EXPECT_FALSE(list->currentIndex().isValid());
  EXPECT_TRUE(ComesToLook(*list, unfocused));

  Select(*window, 1);
  QSignalSpy changes(static_cast<TListBox*>(list), &TListBox::selectedEntryChanged);
  Command(*window, "actReloadFile")->trigger();
  EXPECT_EQ(SelectedRow(*window), -1);
  EXPECT_FALSE(list->currentIndex().isValid());
  EXPECT_EQ(changes.count(), 0);
  EXPECT_TRUE(ComesToLook(*list, unfocused));

  ModalWatcher pick([&](QWidget* modal) { PickFolder(modal, folder); });
  Command(*window, "actOpenFolder")->trigger();
  EXPECT_FALSE(list->currentIndex().isValid());
  EXPECT_TRUE(ComesToLook(*list, unfocused));
}

// Gathers what a widget paints.
class PaintWatcher final : public QObject {
 public:
  explicit PaintWatcher(QWidget* widget) { widget->installEventFilter(this); }
  const QRegion& Painted() const { return painted_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ += static_cast<QPaintEvent*>(event)->region();
    return false;
  }

 private:
  QRegion painted_;
};

// The key that moves the selection has the newly selected row drawn in the event loop's next
// pass, long before the entry's page has loaded.
TEST(ListSelection, HighlightIsDrawnAtOnce) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  Focus(*window);
  QListView* list = List(*window);
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"a.html"_s));
  QTest::qWait(100);  // lets the repaints of the first selection pass
  const PaintWatcher watcher(list->viewport());
  QSignalSpy loads(View(*window), &QWebEngineView::loadFinished);
  QTest::keyClick(list, Qt::Key_Down);
  QCoreApplication::processEvents();
  EXPECT_TRUE(watcher.Painted().contains(list->visualRect(list->model()->index(1, 0))))
      << "the new selection was not drawn in the next pass";
  EXPECT_EQ(loads.count(), 0);
  EXPECT_TRUE(ShowsPage(*window, u"b.html"_s));
}

// Sends the key to whatever holds the keyboard in the active window, as a user's key press.
void PressInWindow(TfrmMain& window, Qt::Key key) {
  ASSERT_TRUE(Activate(window));
  QTest::keyClick(window.windowHandle(), key);
}

// The list has the keyboard from the start: with nothing selected, the first Down shows the first
// page.
TEST(ListFocus, FirstDownAfterOpeningAFolderShowsTheFirstPage) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html"}) folder.Page(name);
  const auto window = Open({folder.Text()});
  PressInWindow(*window, Qt::Key_Down);
  EXPECT_EQ(SelectedRow(*window), 0);
  EXPECT_TRUE(ShowsPage(*window, u"a.html"_s));
}

TEST(ListFocus, DownAfterOpeningAFileShowsTheNextPage) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.html", "c.html"}) folder.Page(name);
  const auto window = Open({Text(folder.Path() / "b.html")});
  ASSERT_TRUE(ShowsPage(*window, u"b.html"_s));
  PressInWindow(*window, Qt::Key_Down);
  EXPECT_EQ(SelectedRow(*window), 2);
  EXPECT_TRUE(ShowsPage(*window, u"c.html"_s));
}

// An empty list does not take the keyboard: there is nothing in it to move through.
TEST(ListFocus, AnEmptyListIsLeftWithoutTheKeyboard) {
  TemporaryFolder empty;
  for (const std::vector<std::u16string>& arguments :
       {std::vector<std::u16string>{}, std::vector<std::u16string>{empty.Text()}}) {
    const auto window = Open(arguments);
    ASSERT_TRUE(Activate(*window));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_NE(QApplication::focusWidget(), List(*window)) << arguments.size() << " arguments";
  }
}

// The text a tool tip shows, read as a label reads it (markup when it looks like markup).
QString ShownText(const QString& toolTip) {
  QTextDocument shown;
  if (Qt::mightBeRichText(toolTip)) {
    shown.setHtml(toolTip);
  } else {
    shown.setPlainText(toolTip);
  }
  return shown.toPlainText();
}

// Asks the list for the tool tip at the middle of the entry in `row`, as resting the pointer there
// does; returns the text shown, or nothing when no tool tip shows.
std::optional<QString> ToolTipOver(const QListView& list, int row) {
  const QPoint centre = list.visualRect(list.model()->index(row, 0)).center();
  QHelpEvent help(QEvent::ToolTip, centre, list.viewport()->mapToGlobal(centre));
  QApplication::sendEvent(list.viewport(), &help);
  if (!QToolTip::isVisible()) return std::nullopt;
  return ShownText(QToolTip::text());
}

struct NameCase {
  const char* label;
  const char* name;
  // A name listed after it, or none. The list makes every row as wide as the last one's name
  // needs, or as the list when that is wider.
  const char* lastName;
  bool scrolledToTheRight;
  bool cutShort;  // the list shows only part of the name
};

class EntryToolTip : public testing::TestWithParam<NameCase> {};

TEST_P(EntryToolTip, ShowsTheWholeNameOnlyOfAnEntryCutShort) {
  TemporaryFolder folder;
  folder.Page(GetParam().name);
  if (GetParam().lastName != nullptr) folder.Page(GetParam().lastName);
  const auto window = Open({folder.Text()});
  ASSERT_EQ(Entries(*window).value(0), QString::fromUtf8(GetParam().name));
  if (GetParam().scrolledToTheRight) {
    QScrollBar* sideways = List(*window)->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum());
  }
  const std::optional<QString> shown = ToolTipOver(*List(*window), 0);
  if (GetParam().cutShort) {
    EXPECT_EQ(shown, QString::fromUtf8(GetParam().name));
  } else {
    EXPECT_EQ(shown, std::nullopt);
  }
}

constexpr const char* kLongName =
    "a page whose name runs far wider than the list it is shown in.html";
constexpr const char* kLongLastName =
    "zz, the last name, runs far wider than the list it is in.html";

// A long name runs past the list's edge in a row as wide as the name, and is ended with "..." in a
// row as wide as a short name; a list scrolled to the right cuts off the start of a short name; a
// name that looks like markup is shown as written.
INSTANTIATE_TEST_SUITE_P(
    Cases, EntryToolTip,
    testing::Values(NameCase{"Short", "index.html", nullptr, false, false},
                    NameCase{"ShortInWideRows", "index.html", kLongLastName, false, false},
                    NameCase{"ShortScrolledToTheRight", "index.html", kLongLastName, true, true},
                    NameCase{"LongPastTheEdge", kLongName, nullptr, false, true},
                    NameCase{"LongEndedWithDots", kLongName, "zz.html", false, true},
                    NameCase{"LongWithMarkup",
                             "<b>bold  and  spaced, far wider than the list it is shown in.html",
                             nullptr, false, true}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
