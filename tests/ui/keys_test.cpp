#include <QAction>
#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct KeyCase {
  const char* label;
  QKeyCombination key;
  const char* command;
};

class CommandKeys : public testing::TestWithParam<KeyCase> {};

// The key runs its command wherever the focus is in the window, but only while the command is
// enabled.
TEST_P(CommandKeys, RunTheirCommandWhileItIsEnabled) {
  const auto window = Open({});
  ASSERT_TRUE(Activate(*window));
  QAction* command = Command(*window, GetParam().command);
  // Observe the command without running its handler, which the window connected to itself.
  QObject::disconnect(command, &QAction::triggered, window.get(), nullptr);
  QSignalSpy runs(command, &QAction::triggered);
  command->setEnabled(true);
  for (QWidget* focus :
       {static_cast<QWidget*>(List(*window)), static_cast<QWidget*>(View(*window))}) {
    focus->setFocus();
    QTest::keyClick(QApplication::focusWidget(), GetParam().key.key(),
                    GetParam().key.keyboardModifiers());
  }
  EXPECT_EQ(runs.count(), 2);
  command->setEnabled(false);
  QTest::keyClick(List(*window), GetParam().key.key(), GetParam().key.keyboardModifiers());
  EXPECT_EQ(runs.count(), 2) << "a disabled command ran";
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandKeys,
                         testing::Values(KeyCase{"CtrlO", Qt::CTRL | Qt::Key_O, "actOpenFolder"},
                                         KeyCase{"F5", QKeyCombination(Qt::Key_F5),
                                                 "actReloadFile"},
                                         KeyCase{"CtrlR", Qt::CTRL | Qt::Key_R, "actReloadFile"},
                                         KeyCase{"F1", QKeyCombination(Qt::Key_F1), "actHelp"},
                                         KeyCase{"CtrlQ", Qt::CTRL | Qt::Key_Q, "actExit"}),
                         [](const auto& info) { return std::string(info.param.label); });

// A folder whose first page links to the second, the link covering the page's top left corner.
// The link is clicked as a user would: the engine's Back skips pages left without a user's
// gesture.
class History : public testing::Test {
 protected:
  void SetUp() override {
    folder_.Page("a.html", "first",
                 "<a style='position: fixed; left: 0; top: 0; width: 300px; height: 100px; "
                 "display: block' href='b.html'>second</a>");
    folder_.Page("b.html", "second");
    folder_.Page("c.html", "loop", "<script>setTimeout(() => { for (;;) {} }, 100);</script>");
    window_ = Open({folder_.Text()});
    ASSERT_TRUE(Activate(*window_));
  }

  // Shows the first page and follows its link to the second.
  void WalkToTheSecondPage() {
    Select(*window_, 0);
    ASSERT_TRUE(ShowsPage(*window_, u"first"_s));
    QTest::mouseClick(View(*window_)->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(ShowsPage(*window_, u"second"_s));
  }

  TemporaryFolder folder_;
  std::unique_ptr<TfrmMain> window_;
};

TEST_F(History, AltLeftAndAltRightMoveBackAndForward) {
  WalkToTheSecondPage();
  List(*window_)->setFocus();
  QTest::keyClick(List(*window_), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
  QTest::keyClick(View(*window_)->focusProxy(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"second"_s));
}

TEST_F(History, TheMouseButtonsMoveBackAndForwardOverThePageAndTheList) {
  WalkToTheSecondPage();
  QTest::mouseClick(View(*window_)->focusProxy(), Qt::BackButton, {}, QPoint(400, 300));
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
  QTest::mouseClick(List(*window_)->viewport(), Qt::ForwardButton, {}, QPoint(20, 200));
  EXPECT_TRUE(ShowsPage(*window_, u"second"_s));
}

// A page whose renderer hangs is replaced by a new page object; the keys act on the new one.
TEST_F(History, KeysActOnThePageThatReplacedAHungOne) {
  Select(*window_, 2);
  ASSERT_TRUE(ShowsPage(*window_, u"loop"_s));
  QTest::qWait(300);
  const QWebEnginePage* hung = View(*window_)->page();
  WalkToTheSecondPage();
  ASSERT_NE(View(*window_)->page(), hung) << "the hung page was not replaced";
  QTest::keyClick(List(*window_), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
}

}  // namespace
