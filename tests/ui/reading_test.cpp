// Find in page, zoom and links that ask for a new window, through the real engine.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWebEngineView>
#include <QWheelEvent>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QFrame* Bar(const TfrmMain& window) { return window.findChild<QFrame*>(u"TFindBar"_s); }
QString Count(const TfrmMain& window) {
  return Bar(window)->findChild<QLabel*>(u"lblFindCount"_s)->text();
}
QLineEdit* Field(const TfrmMain& window) {
  return Bar(window)->findChild<QLineEdit*>(u"edtFind"_s);
}

bool CountsTo(const TfrmMain& window, const QString& count) {
  return QTest::qWaitFor([&] { return Count(window) == count; }, kPageTimeoutMs);
}

// The page area as designed: the page fills the whole panel.
bool PageFillsItsPanel(const TfrmMain& window) {
  return View(window)->geometry() == View(window)->parentWidget()->contentsRect();
}

class FindInPage : public testing::Test {
 protected:
  void SetUp() override {
    folder_.Page("a.html", "fruit", "<p>apple, banana</p><p>Apple pie</p><p>an apple</p>");
    folder_.Page("b.html", "more", "<p>one apple only</p>");
    window_ = Open({folder_.Text()});
    ASSERT_TRUE(Activate(*window_));
    Select(*window_, 0);
    ASSERT_TRUE(ShowsPage(*window_, u"fruit"_s));
    List(*window_)->setFocus();
  }

  void Press(QKeyCombination key) {
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
  }

  TemporaryFolder folder_;
  std::unique_ptr<TfrmMain> window_;
};

TEST_F(FindInPage, CountsMovesAndWrapsThroughTheMatches) {
  ASSERT_TRUE(Bar(*window_) == nullptr || Bar(*window_)->isHidden());
  Press(Qt::CTRL | Qt::Key_F);
  ASSERT_NE(Bar(*window_), nullptr);
  EXPECT_TRUE(Bar(*window_)->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Field(*window_));
  QTest::keyClicks(Field(*window_), u"apple"_s);
  EXPECT_TRUE(CountsTo(*window_, u"1 of 3"_s));
  Press(QKeyCombination(Qt::Key_Return));
  EXPECT_TRUE(CountsTo(*window_, u"2 of 3"_s));
  Press(QKeyCombination(Qt::Key_F3));
  EXPECT_TRUE(CountsTo(*window_, u"3 of 3"_s));
  Press(QKeyCombination(Qt::Key_Return));
  EXPECT_TRUE(CountsTo(*window_, u"1 of 3"_s)) << "the next match after the last is the first";
  Press(Qt::SHIFT | Qt::Key_Return);
  EXPECT_TRUE(CountsTo(*window_, u"3 of 3"_s));
  Press(Qt::SHIFT | Qt::Key_F3);
  EXPECT_TRUE(CountsTo(*window_, u"2 of 3"_s));
  QTest::keyClicks(Field(*window_), u"s"_s);
  EXPECT_TRUE(CountsTo(*window_, u"No matches"_s));
}

TEST_F(FindInPage, StaysOpenForTheNextPageAndEscGivesTheFocusBack) {
  Press(Qt::CTRL | Qt::Key_F);
  QTest::keyClicks(Field(*window_), u"apple"_s);
  ASSERT_TRUE(CountsTo(*window_, u"1 of 3"_s));
  Select(*window_, 1);
  ASSERT_TRUE(ShowsPage(*window_, u"more"_s));
  EXPECT_TRUE(CountsTo(*window_, u"1 of 1"_s)) << "the new page was not searched";
  EXPECT_FALSE(PageFillsItsPanel(*window_));
  Field(*window_)->setFocus();
  Press(QKeyCombination(Qt::Key_Escape));
  EXPECT_TRUE(Bar(*window_)->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), List(*window_));
  EXPECT_TRUE(QTest::qWaitFor([&] { return PageFillsItsPanel(*window_); }))
      << "the closed bar still takes room";
  Select(*window_, 0);
  ASSERT_TRUE(ShowsPage(*window_, u"fruit"_s));
  Press(Qt::CTRL | Qt::Key_F);
  EXPECT_EQ(Field(*window_)->selectedText(), u"apple"_s);
  EXPECT_TRUE(CountsTo(*window_, u"1 of 3"_s))
      << "the reopened bar did not search this page: " << Count(*window_).toStdString();
}

TEST_F(FindInPage, TheCloseButtonHidesTheBar) {
  View(*window_)->setFocus();
  QWidget* pageFocus = QApplication::focusWidget();
  Press(Qt::CTRL | Qt::Key_F);
  ASSERT_TRUE(Bar(*window_)->isVisible());
  QTest::mouseClick(Bar(*window_)->findChild<QWidget*>(u"btnFindClose"_s), Qt::LeftButton);
  EXPECT_TRUE(Bar(*window_)->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), pageFocus);
}

// Zoom holds for every page shown until the program ends; the page itself sees it as the pixel
// ratio of its CSS pixels.
class PageZoom : public testing::Test {
 protected:
  void SetUp() override {
    folder_.Page("a.html", "first");
    folder_.Page("b.html", "second");
    folder_.Page("c.html", "loop", "<script>setTimeout(() => { for (;;) {} }, 100);</script>");
    window_ = Open({folder_.Text()});
    ASSERT_TRUE(Activate(*window_));
    Select(*window_, 0);
    ASSERT_TRUE(ShowsPage(*window_, u"first"_s));
  }

  void Press(QKeyCombination key) {
    QTest::keyClick(List(*window_), key.key(), key.keyboardModifiers());
  }

  // The page's own measure of its zoom: how many device pixels one of its CSS pixels takes.
  double PixelRatio() {
    const auto ratio = std::make_shared<std::optional<double>>();
    View(*window_)->page()->runJavaScript(
        u"window.devicePixelRatio"_s,
        [ratio](const QVariant& value) { *ratio = value.toDouble(); });
    if (!QTest::qWaitFor([&] { return ratio->has_value(); }, kPageTimeoutMs)) return 0;
    return **ratio;
  }

  bool PageZoomedTo(double factor) {
    return QTest::qWaitFor([&] { return qAbs(PixelRatio() - factor) < 0.01; }, kPageTimeoutMs);
  }

  void TurnWheel(int angle) {
    QWidget* page = View(*window_)->focusProxy();
    const QPointF at(100, 100);
    QWheelEvent wheel(at, page->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &wheel);
  }

  TemporaryFolder folder_;
  std::unique_ptr<TfrmMain> window_;
};

TEST_F(PageZoom, KeysMoveThroughTheBrowserStepsAndHoldForTheNextPage) {
  Press(Qt::CTRL | Qt::Key_Equal);
  EXPECT_DOUBLE_EQ(View(*window_)->zoomFactor(), 1.1);
  Press(Qt::CTRL | Qt::Key_Plus);
  EXPECT_TRUE(PageZoomedTo(1.25));
  Select(*window_, 1);
  ASSERT_TRUE(ShowsPage(*window_, u"second"_s));
  EXPECT_TRUE(PageZoomedTo(1.25)) << "the next page lost the zoom";
  Press(Qt::CTRL | Qt::Key_Minus);
  Press(Qt::CTRL | Qt::Key_Minus);
  Press(Qt::CTRL | Qt::Key_Minus);
  EXPECT_TRUE(PageZoomedTo(0.9));
  Press(Qt::CTRL | Qt::Key_0);
  EXPECT_TRUE(PageZoomedTo(1.0));
}

// A page whose renderer hangs is replaced by a new page object, which keeps the zoom.
TEST_F(PageZoom, HoldsForThePageThatReplacedAHungOne) {
  Press(Qt::CTRL | Qt::Key_Minus);
  Select(*window_, 2);
  ASSERT_TRUE(ShowsPage(*window_, u"loop"_s));
  QTest::qWait(300);
  const QWebEnginePage* hung = View(*window_)->page();
  Select(*window_, 1);
  ASSERT_TRUE(ShowsPage(*window_, u"second"_s));
  ASSERT_NE(View(*window_)->page(), hung) << "the hung page was not replaced";
  EXPECT_TRUE(PageZoomedTo(0.9));
}

TEST_F(PageZoom, CtrlWheelUsesTheSameSteps) {
  TurnWheel(120);
  EXPECT_TRUE(PageZoomedTo(1.1));
  // A touchpad's small turns add up to one notch.
  TurnWheel(-60);
  EXPECT_DOUBLE_EQ(View(*window_)->zoomFactor(), 1.1);
  TurnWheel(-60);
  TurnWheel(-120);
  EXPECT_TRUE(PageZoomedTo(0.9));
}

// A page whose links ask for a new window: the link covers the page's top left corner, the button
// its top right, both clicked as a user would.
class NewWindowLinks : public testing::Test {
 protected:
  void SetUp() override {
    folder_.Page("a.html", "links",
                 "<a style='position: fixed; left: 0; top: 0; width: 200px; height: 100px' "
                 "target='_blank' href='c.html'>new tab</a>"
                 "<button style='position: fixed; left: 300px; top: 0; width: 200px; "
                 "height: 100px' onclick=\"window.open('c.html', 'w', 'popup')\">open</button>");
    folder_.Page("b.html", "unasked",
                 "<script>window.onload = () => setTimeout(() => { window.open('c.html'); "
                 "document.title = 'tried'; }, 0);</script>");
    folder_.Page("c.html", "target");
    window_ = Open({folder_.Text()});
    ASSERT_TRUE(Activate(*window_));
    windows_ = QApplication::topLevelWidgets().size();
  }

  void ClickOnLinksPage(QPoint at) {
    Select(*window_, 0);
    ASSERT_TRUE(ShowsPage(*window_, u"links"_s));
    QTest::mouseClick(View(*window_)->focusProxy(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(ShowsPage(*window_, u"target"_s));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows_);
    View(*window_)->back();
    EXPECT_TRUE(ShowsPage(*window_, u"links"_s)) << "Back did not return";
  }

  TemporaryFolder folder_;
  std::unique_ptr<TfrmMain> window_;
  qsizetype windows_ = 0;
};

TEST_F(NewWindowLinks, ATargetedLinkShowsItsPageHere) { ClickOnLinksPage(QPoint(50, 50)); }

TEST_F(NewWindowLinks, AClickThatOpensAWindowShowsItsPageHere) {
  ClickOnLinksPage(QPoint(400, 50));
}

TEST_F(NewWindowLinks, AWindowAPageOpensByItselfOpensNowhere) {
  Select(*window_, 1);
  ASSERT_TRUE(ShowsPage(*window_, u"tried"_s));
  QTest::qWait(500);
  EXPECT_EQ(View(*window_)->title(), u"tried"_s);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windows_);
  // The window still answers its keys: Down in the list shows the next page.
  List(*window_)->setFocus();
  QTest::keyClick(List(*window_), Qt::Key_Down);
  EXPECT_TRUE(ShowsPage(*window_, u"target"_s));
}

}  // namespace
