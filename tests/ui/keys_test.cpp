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
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QAction* command = Command(*window, GetParam().command);
  // Observe the command without running its handler, which the window connected to itself.
  QObject::disconnect(command, &QAction::triggered, window.get(), nullptr);
  QSignalSpy runs(command, &QAction::triggered);
  command->setEnabled(true);
  for (QWidget* focus : {static_cast<QWidget*>(List(*window)), static_cast<QWidget*>(View(*window))}) {
    focus->setFocus();
    QTest::keyClick(QApplication::focusWidget(), GetParam().key.key(),
                    GetParam().key.keyboardModifiers());
  }
  EXPECT_EQ(runs.count(), 2);
  command->setEnabled(false);
  QTest::keyClick(List(*window), GetParam().key.key(), GetParam().key.keyboardModifiers());
  EXPECT_EQ(runs.count(), 2) << "a disabled command ran";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandKeys,
    testing::Values(KeyCase{"CtrlO", Qt::CTRL | Qt::Key_O, "actOpenFolder"},
                    KeyCase{"F5", QKeyCombination(Qt::Key_F5), "actReloadFile"},
                    KeyCase{"CtrlR", Qt::CTRL | Qt::Key_R, "actReloadFile"},
                    KeyCase{"F1", QKeyCombination(Qt::Key_F1), "actHelp"},
                    KeyCase{"CtrlQ", Qt::CTRL | Qt::Key_Q, "actExit"}),
    [](const auto& info) { return std::string(info.param.label); });

// Two pages of a folder with the second reached from the first, so the view has a history.
class History : public testing::Test {
 protected:
  void SetUp() override {
    folder_.Page("a.html", "first");
    folder_.Page("b.html", "second");
    window_ = Open({Text(folder_.Path() / "a.html")});
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    ASSERT_TRUE(ShowsPage(*window_, u"first"_s));
    FollowLinkToSecond();
  }

  void FollowLinkToSecond() {
    View(*window_)->page()->runJavaScript(u"location.href = 'b.html'"_s);
    ASSERT_TRUE(ShowsPage(*window_, u"second"_s));
  }

  TemporaryFolder folder_;
  std::unique_ptr<TfrmMain> window_;
};

TEST_F(History, AltLeftAndAltRightMoveBackAndForward) {
  QTest::keyClick(List(*window_), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
  View(*window_)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"second"_s));
}

TEST_F(History, TheMouseButtonsMoveBackAndForwardOverThePageAndTheList) {
  QWidget* page = View(*window_)->focusProxy() ? View(*window_)->focusProxy() : View(*window_);
  QTest::mouseClick(page, Qt::BackButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
  QTest::mouseClick(List(*window_), Qt::ForwardButton, Qt::NoModifier, QPoint(20, 20));
  EXPECT_TRUE(ShowsPage(*window_, u"second"_s));
}

// The keys act on whatever page the view holds, also one that replaced the page it started with.
TEST_F(History, KeysHoldForAPageThatReplacedTheFirst) {
  QWebEngineView* view = View(*window_);
  QWebEnginePage* replacement = new QWebEnginePage(view->page()->profile(), view);
  view->setPage(replacement);
  view->setUrl(QUrl::fromLocalFile(QString::fromStdString((folder_.Path() / "a.html").string())));
  ASSERT_TRUE(ShowsPage(*window_, u"first"_s));
  FollowLinkToSecond();
  QTest::keyClick(List(*window_), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window_, u"first"_s));
}

}  // namespace
