#include <QAccessible>
#include <QFrame>
#include <QMenuBar>
#include <QSplitter>
#include <QToolButton>

#include <gtest/gtest.h>

#include "ui/StyleBook.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QRect GeometryIn(const TfrmMain& window, const char* name) {
  const auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
  return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
}

TEST(Layout, InitialSizeGivesTheDesignedAreas) {
  const auto window = Open({});
  EXPECT_EQ(window->size(), QSize(1024, 768));
  EXPECT_EQ(GeometryIn(*window, "mnbWin"), QRect(0, 0, 1024, 24));
  EXPECT_EQ(GeometryIn(*window, "pnlLeft"), QRect(0, 24, 193, 744));
  EXPECT_EQ(GeometryIn(*window, "pnlLeftTop"), QRect(0, 24, 193, 49));
  EXPECT_EQ(GeometryIn(*window, "btnOpenFolder"), QRect(8, 32, 121, 33));
  EXPECT_EQ(GeometryIn(*window, "btnReload"), QRect(138, 32, 33, 33));
  EXPECT_EQ(GeometryIn(*window, "lsbFile"), QRect(0, 73, 193, 695));
  EXPECT_EQ(window->findChild<QSplitter*>(u"splLeft"_s)->handle(1)->geometry().width(), 7);
  EXPECT_EQ(GeometryIn(*window, "pnlMain"), QRect(200, 24, 824, 744));
  EXPECT_EQ(GeometryIn(*window, "webMain"), QRect(200, 24, 824, 744));
}

// Only the window system limits how small the window gets; its parts shrink to nothing and come
// back at their designed sizes.
TEST(Layout, WindowHasNoMinimumSize) {
  const auto window = Open({});
  EXPECT_EQ(window->minimumSize(), QSize(0, 0));
  for (const QSize& size : {QSize(1, 1), QSize(15, 30), QSize(1024, 768)}) {
    window->resize(size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == size; }, 5000)) << size.width();
  }
  EXPECT_EQ(GeometryIn(*window, "lsbFile"), QRect(0, 73, 193, 695));
  EXPECT_EQ(GeometryIn(*window, "pnlMain"), QRect(200, 24, 824, 744));
}

TEST(Layout, TabOrderRunsFromThePageToTheButtonsAndTheList) {
  const auto window = Open({});
  const QStringList stops = {u"webMain"_s, u"btnOpenFolder"_s, u"btnReload"_s, u"lsbFile"_s};
  QStringList order;
  QWidget* start = window->findChild<QWidget*>(u"webMain"_s);
  QWidget* widget = start;
  do {
    if (stops.contains(widget->objectName())) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != start);
  EXPECT_EQ(order, stops);
}

// Drags the splitter's handle from its middle to the window's x coordinate `toX`.
void DragSplitter(const TfrmMain& window, int toX) {
  QWidget* handle = window.findChild<QSplitter*>(u"splLeft"_s)->handle(1);
  const QPoint grip(handle->width() / 2, handle->height() / 2);
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
  const QPoint target = handle->mapFrom(&window, QPoint(toX, grip.y()));
  QMouseEvent move(QEvent::MouseMove, target, handle->mapToGlobal(target), Qt::LeftButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(handle, &move);
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, target);
}

TEST(Layout, SplitterDragKeepsBothSidesAtLeastTwentyWide) {
  const auto window = Open({});
  QWidget* left = window->findChild<QWidget*>(u"pnlLeft"_s);
  DragSplitter(*window, -200);
  EXPECT_EQ(left->width(), 20);
  DragSplitter(*window, 1200);
  EXPECT_EQ(left->width(), 997);
  DragSplitter(*window, 300);
  EXPECT_EQ(left->width(), 300 - 3);

  window->resize(600, 768);
  QTest::qWait(50);
  EXPECT_EQ(left->width(), 297) << "resizing the window changed the list's width";
  window->resize(1024, 768);
  QTest::qWait(50);
  EXPECT_EQ(left->width(), 297);
}

QColor PixelAt(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(Look, StyleEntriesPaintPanelsGripAndMenuBar) {
  const auto window = Open({});
  const QImage image = window->grab().toImage();
  EXPECT_EQ(PixelAt(image, 500, 5), QColor(0xEE, 0xF5, 0xFD));
  EXPECT_EQ(PixelAt(image, 900, 12), QColor(0xEE, 0xF5, 0xFD));
  EXPECT_EQ(PixelAt(image, 500, 22), QColor(0xB6, 0xBD, 0xC5));
  EXPECT_EQ(PixelAt(image, 500, 23), QColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(PixelAt(image, 185, 30), QColor(0xF0, 0xF0, 0xF0)) << "button strip panel";

  // The grip: a 7 x 7 circle at the handle's vertical middle, black outline, light inside.
  const int centreX = 193 + 3;
  const int centreY = 24 + (744 - 7) / 2 + 3;
  const auto isDark = [](const QColor& c) { return c.lightness() < 100; };
  for (const QPoint& rim : {QPoint(0, -3), QPoint(0, 3), QPoint(-3, 0), QPoint(3, 0)}) {
    EXPECT_TRUE(isDark(PixelAt(image, centreX + rim.x(), centreY + rim.y())))
        << rim.x() << "," << rim.y();
  }
  EXPECT_GT(PixelAt(image, centreX, centreY).lightness(), 200);
  EXPECT_FALSE(isDark(PixelAt(image, centreX, centreY - 4))) << "grip taller than 7";
  EXPECT_FALSE(isDark(PixelAt(image, centreX, centreY + 4))) << "grip taller than 7";
  EXPECT_FALSE(isDark(PixelAt(image, centreX, 100))) << "handle paints more than its grip";
}

TEST(Look, StyleNamesResolveWithoutRegardToCase) {
  EXPECT_EQ(StyleBook::Resolve(u"Panel1Style1"_s, u"Panelstyle"_s), u"panelstyle"_s);
  EXPECT_EQ(StyleBook::Resolve(u"MENUBARSTYLE"_s, u"Panelstyle"_s), u"menubarstyle"_s);
  EXPECT_EQ(StyleBook::Resolve(u"refreshtoolbuttonbordered"_s, u"toolbuttonstyle"_s), u""_s);
  EXPECT_EQ(StyleBook::Resolve(u""_s, u"SplitterStyle"_s), u"splitterstyle"_s);
}

TEST(Look, ReloadButtonShowsTheGlyphFollowsReloadAndIsNamedReload) {
  const auto window = Open({});
  auto* reload = window->findChild<QToolButton*>(u"btnReload"_s);
  EXPECT_FALSE(reload->icon().isNull());
  EXPECT_EQ(reload->toolButtonStyle(), Qt::ToolButtonIconOnly);
  EXPECT_FALSE(reload->autoRaise()) << "the glyph has a border";
  EXPECT_FALSE(reload->isEnabled());
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(reload);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->text(QAccessible::Name), u"Reload"_s);
  EXPECT_EQ(reload->toolTip(), u"Reload"_s);

  Command(*window, "actReloadFile")->setEnabled(true);
  EXPECT_TRUE(reload->isEnabled());
}

}  // namespace
