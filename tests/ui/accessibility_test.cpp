#include <QAccessible>
#include <QLabel>
#include <QWidget>
#include <initializer_list>
#include <map>

#include <gtest/gtest.h>

#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Node {
  QAccessible::Role role;
  QString name;
};

// The window's own controls as a screen reader finds them: walking the accessibility tree down
// from the window, each interface that stands for a named component of the window.
void Walk(QAccessibleInterface* node, const TfrmMain& window, std::map<QString, Node>& found) {
  if (node == nullptr || !node->isValid()) return;
  if (auto* widget = qobject_cast<QWidget*>(node->object());
      widget && widget->window() == &window && !widget->objectName().isEmpty()) {
    found[widget->objectName()] = {node->role(), node->text(QAccessible::Name)};
  }
  // The page's own content is the engine's tree; the window's controls end at the page.
  if (node->object() == View(window)) return;
  for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), window, found);
}

std::map<QString, Node> ControlsOf(const TfrmMain& window) {
  std::map<QString, Node> found;
  Walk(QAccessible::queryAccessibleInterface(const_cast<TfrmMain*>(&window)), window, found);
  return found;
}

struct Control {
  const char* objectName;
  QAccessible::Role role;
  const char* name;
};

// Each control is in the window's accessibility tree with its role and, where given, its name.
void ExpectControls(const TfrmMain& window, std::initializer_list<Control> controls) {
  const std::map<QString, Node> found = ControlsOf(window);
  for (const Control& control : controls) {
    SCOPED_TRACE(control.objectName);
    const auto node = found.find(QString::fromLatin1(control.objectName));
    ASSERT_NE(node, found.end()) << "not in the accessibility tree";
    EXPECT_EQ(node->second.role, control.role);
    if (*control.name != '\0') {
      EXPECT_EQ(node->second.name, QString::fromUtf8(control.name));
    }
  }
}

TEST(Accessibility, EveryControlHasANameAndTheRoleOfItsKind) {
  const auto window = Open({});
  ExpectControls(*window, {Control{"btnOpenFolder", QAccessible::Button, "Open Folder"},
                           Control{"btnReload", QAccessible::Button, "Reload"},
                           Control{"lsbFile", QAccessible::List, "HTML files"},
                           Control{"webMain", QAccessible::Client, "Page"},
                           Control{"mnbWin", QAccessible::MenuBar, ""}});
}

// The count is the label's own text, so that a screen reader reads "1 of 2" as it changes.
TEST(Accessibility, TheFindBarsControlsAreNamed) {
  TemporaryFolder folder;
  folder.Page("a.html", "twice", "<p>word word</p>");
  const auto window = Open({folder.Text()});
  ASSERT_TRUE(Activate(*window));
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"twice"_s));
  QTest::keyClick(List(*window), Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), u"word"_s);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return window->findChild<QLabel*>(u"lblFindCount"_s)->text() == u"1 of 2"_s; }));
  ExpectControls(*window, {Control{"edtFind", QAccessible::EditableText, "Find in page"},
                           Control{"btnFindPrevious", QAccessible::Button, "Previous match"},
                           Control{"btnFindNext", QAccessible::Button, "Next match"},
                           Control{"lblFindCount", QAccessible::StaticText, "1 of 2"},
                           Control{"btnFindClose", QAccessible::Button, "Close find bar"}});
}

TEST(Accessibility, MenuTitlesAndItemsAreNamedMenuItems) {
  const auto window = Open({});
  QAccessibleInterface* menuBar =
      QAccessible::queryAccessibleInterface(window->findChild<QWidget*>(u"mnbWin"_s));
  ASSERT_NE(menuBar, nullptr);
  QStringList titles;
  for (int i = 0; i < menuBar->childCount(); ++i) {
    EXPECT_EQ(menuBar->child(i)->role(), QAccessible::MenuItem);
    titles << menuBar->child(i)->text(QAccessible::Name);
  }
  EXPECT_EQ(titles, QStringList({u"File"_s, u"Help"_s}));
}

}  // namespace
