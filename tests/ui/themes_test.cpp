#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/UfrmAbout.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A dark desktop palette, as a dark desktop theme hands it to Qt programs.
QPalette DarkPalette() {
  QPalette dark(QColor(0x35, 0x35, 0x35));
  for (const auto& [role, colour] : std::map<QPalette::ColorRole, QColor>{
           {QPalette::Window, QColor(0x35, 0x35, 0x35)},
           {QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE)},
           {QPalette::Base, QColor(0x24, 0x24, 0x24)},
           {QPalette::Text, QColor(0xF5, 0xF5, 0xF5)},
           {QPalette::Button, QColor(0x3C, 0x3C, 0x3C)},
           {QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0)},
           {QPalette::Highlight, QColor(0x2A, 0x82, 0xDA)},
           {QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF)}}) {
    dark.setColor(QPalette::All, role, colour);
  }
  return dark;
}

// The desktop's palette and font for the application while the object lives.
class DesktopLook {
 public:
  DesktopLook(const QPalette& palette, int pointSize)
      : palette_(QApplication::palette()), font_(QApplication::font()) {
    QApplication::setPalette(palette);
    QFont font = font_;
    font.setPointSize(pointSize);
    QApplication::setFont(font);
  }
  ~DesktopLook() {
    QApplication::setPalette(palette_);
    QApplication::setFont(font_);
  }
  DesktopLook(const DesktopLook&) = delete;
  DesktopLook& operator=(const DesktopLook&) = delete;

 private:
  QPalette palette_;
  QFont font_;
};

// The contrast ratio of two colours as the web content accessibility guidelines define it.
double Luminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}
double Contrast(const QColor& a, const QColor& b) {
  const double lighter = std::max(Luminance(a), Luminance(b));
  const double darker = std::min(Luminance(a), Luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

// The contrast of a caption drawn in `area` of the image: its background is the area's most
// common colour, its text the pixel that stands out most from that background.
double CaptionContrast(const QImage& image, const QRect& area) {
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
  }
  const QColor background(
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
      })->first);
  double best = 1;
  for (const auto& [pixel, count] : counts)
    best = std::max(best, Contrast(QColor(pixel), background));
  return best;
}

QRect AreaIn(const QWidget& window, const QWidget* widget, const QRect& area) {
  return QRect(widget->mapTo(&window, area.topLeft()), area.size());
}

constexpr double kLegible = 4.5;

TEST(Themes, CaptionsOnTheDesignsSurfacesStayDarkUnderADarkPalette) {
  const DesktopLook look(DarkPalette(), 9);
  const auto window = Open({});
  const QImage image = window->grab().toImage();
  auto* menuBar = window->findChild<QMenuBar*>(u"mnbWin"_s);
  for (QAction* title : menuBar->actions()) {
    SCOPED_TRACE(title->text().toStdString());
    EXPECT_GE(CaptionContrast(image, AreaIn(*window, menuBar, menuBar->actionGeometry(title))),
              kLegible);
  }
  auto* openFolder = window->findChild<QToolButton*>(u"btnOpenFolder"_s);
  const QRect caption = openFolder->rect().adjusted(4, 4, -4, -4);
  EXPECT_GE(CaptionContrast(image, AreaIn(*window, openFolder, caption)), kLegible);
  EXPECT_LT(openFolder->palette().color(QPalette::ButtonText).lightness(), 64)
      << "the caption follows the desktop's light text";
}

TEST(Themes, TheListAndThePageAreaFollowTheDesktopPaletteFully) {
  TemporaryFolder folder;
  folder.Page("a.html");
  folder.Page("b.html");
  const DesktopLook look(DarkPalette(), 9);
  const auto window = Open({folder.Text()});
  Select(*window, 1);
  for (const QPalette::ColorRole role :
       {QPalette::Base, QPalette::Text, QPalette::Highlight, QPalette::HighlightedText}) {
    EXPECT_EQ(List(*window)->palette().color(role), DarkPalette().color(role)) << role;
  }
  EXPECT_EQ(View(*window)->palette().color(QPalette::Window),
            DarkPalette().color(QPalette::Window));
  const QImage list = List(*window)->viewport()->grab().toImage();
  EXPECT_EQ(list.pixelColor(list.width() - 5, list.height() - 5),
            DarkPalette().color(QPalette::Base));
  const QRect firstEntry = List(*window)->visualRect(List(*window)->model()->index(0, 0));
  EXPECT_GE(CaptionContrast(list, firstEntry), kLegible);
}

// The ink of a caption's text, in its parent's coordinates: the text placed as its control aligns
// it (a label by its alignment, a button centred), cut to the pixels the glyphs cover.
QRect InkOf(const QWidget& widget, const QString& text, Qt::Alignment alignment) {
  const QFontMetrics metrics = widget.fontMetrics();
  const QRect line = QStyle::alignedRect(
      Qt::LeftToRight, alignment, metrics.size(Qt::TextShowMnemonic, text), widget.contentsRect());
  return metrics.tightBoundingRect(text)
      .translated(line.left(), line.top() + metrics.ascent())
      .translated(widget.pos());
}

// Each caption's text fits its control, each control lies within its parent, and no caption's
// ink touches another's.
void ExpectCaptionsFit(const QWidget& top) {
  std::vector<std::pair<const QWidget*, QRect>> inks;
  for (QWidget* widget : top.findChildren<QWidget*>()) {
    auto* label = qobject_cast<QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const auto* toolButton = qobject_cast<const QToolButton*>(widget);
    const bool showsText =
        (label != nullptr && !label->text().isEmpty()) ||
        (button != nullptr && !button->text().isEmpty() &&
         !(toolButton && toolButton->toolButtonStyle() == Qt::ToolButtonIconOnly));
    if (!showsText || !widget->isVisible()) continue;
    SCOPED_TRACE(widget->objectName().toStdString());
    const QString text = label ? label->text() : button->text();
    const QSize textSize = widget->fontMetrics().size(Qt::TextShowMnemonic, text);
    EXPECT_GE(widget->width(), textSize.width());
    EXPECT_GE(widget->width(), widget->sizeHint().width());
    if (label) {
      // A label's line may be taller than the label as long as its glyphs fit.
      EXPECT_TRUE(ShowsItsWholeInk(*label));
    } else {
      EXPECT_GE(widget->height(), widget->sizeHint().height());
    }
    EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
        << "reaches beyond its parent";
    inks.emplace_back(widget, InkOf(*widget, text, label ? label->alignment() : Qt::AlignCenter));
  }
  for (std::size_t i = 0; i < inks.size(); ++i) {
    for (std::size_t j = i + 1; j < inks.size(); ++j) {
      if (inks[i].first->parentWidget() != inks[j].first->parentWidget()) continue;
      EXPECT_FALSE(inks[i].second.intersects(inks[j].second))
          << inks[i].first->objectName().toStdString() << " and "
          << inks[j].first->objectName().toStdString() << " overlap";
    }
  }
}

void ExpectMenuBarFits(const TfrmMain& window) {
  auto* menuBar = window.findChild<QMenuBar*>(u"mnbWin"_s);
  EXPECT_GE(menuBar->height(), 24);
  EXPECT_GE(menuBar->height(), menuBar->sizeHint().height());
  for (QAction* title : menuBar->actions()) {
    SCOPED_TRACE(title->text().toStdString());
    const QRect area = menuBar->actionGeometry(title);
    EXPECT_TRUE(menuBar->rect().contains(area));
    EXPECT_GE(area.height(), menuBar->fontMetrics().height());
  }
  for (const QWidget* extension : menuBar->findChildren<QToolButton*>()) {
    EXPECT_FALSE(extension->isVisible()) << "the titles do not fit the bar";
  }
}

// Both buttons of the left panel keep their whole size side by side inside it, and the panel is
// never narrower than designed.
void ExpectButtonsWholeInTheLeftPanel(const TfrmMain& window) {
  const auto* panel = window.findChild<QWidget*>(u"pnlLeftTop"_s);
  const auto* openFolder = window.findChild<QToolButton*>(u"btnOpenFolder"_s);
  const auto* reload = window.findChild<QToolButton*>(u"btnReload"_s);
  EXPECT_GE(panel->width(), 193);
  for (const QToolButton* button : {openFolder, reload}) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_GE(button->width(), button->sizeHint().width());
    EXPECT_GE(button->height(), button->sizeHint().height());
    EXPECT_TRUE(panel->rect().contains(button->geometry())) << "reaches beyond the panel";
  }
  EXPECT_GT(reload->geometry().left(), openFolder->geometry().right());
  EXPECT_LT(reload->geometry().top(), openFolder->geometry().bottom());
  EXPECT_LT(openFolder->geometry().top(), reload->geometry().bottom());
}

struct FontCase {
  const char* label;
  int pointSize;  // 0: the desktop's own size
  bool setWhileTheWindowIsOpen;
};

class Fonts : public testing::TestWithParam<FontCase> {};

TEST_P(Fonts, NoCaptionIsClipped) {
  const int pointSize =
      GetParam().pointSize ? GetParam().pointSize : QApplication::font().pointSize();
  std::unique_ptr<DesktopLook> look;
  if (!GetParam().setWhileTheWindowIsOpen) {
    look = std::make_unique<DesktopLook>(QApplication::palette(), pointSize);
  }
  const auto window = Open({});
  if (GetParam().setWhileTheWindowIsOpen) {
    look = std::make_unique<DesktopLook>(QApplication::palette(), pointSize);
    QTest::qWait(100);
  }
  ASSERT_EQ(window->font().pointSize(), pointSize);
  ExpectMenuBarFits(*window);
  ExpectCaptionsFit(*window);
  ExpectButtonsWholeInTheLeftPanel(*window);

  bool shown = false;
  ModalWatcher answer([&](QWidget* modal) {
    auto* box = qobject_cast<TfrmAbout*>(modal);
    ASSERT_NE(box, nullptr);
    shown = true;
    ExpectCaptionsFit(*box);
    box->close();
  });
  Command(*window, "actAbout")->trigger();
  EXPECT_TRUE(shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, Fonts,
                         testing::Values(FontCase{"DesktopSize", 0, false},
                                         FontCase{"FourteenPoints", 14, false},
                                         FontCase{"FourteenPointsWhileOpen", 14, true},
                                         FontCase{"TwentyFourPointsWhileOpen", 24, true}),
                         [](const auto& info) { return std::string(info.param.label); });

// The desktop font's point size the program is started with by DesktopThemeFonts; unset otherwise.
constexpr char kThemePointSize[] = "VELLUMINE_TEST_THEME_POINT_SIZE";
// Set in the program started by DesktopThemeColours.
constexpr char kThemeColours[] = "VELLUMINE_TEST_THEME_COLOURS";

// The left panel's buttons at the desktop theme's font. Runs in the program that DesktopThemeFonts
// starts.
TEST(ThemeFontChild, ButtonsStayWholeSideBySideInTheLeftPanel) {
  const int pointSize = qEnvironmentVariableIntValue(kThemePointSize);
  if (pointSize == 0) GTEST_SKIP() << "runs inside DesktopThemeFonts only";
  const auto window = Open({});
  QTest::qWait(100);
  ASSERT_EQ(window->font().pointSize(), pointSize) << "the desktop theme's font did not arrive";
  ExpectButtonsWholeInTheLeftPanel(*window);
  ExpectCaptionsFit(*window);
}

// The find bar's captions under the desktop theme's dark colours, which reach the program as
// palettes of their own for each kind of control. Runs in the program that DesktopThemeColours
// starts.
TEST(ThemeColourChild, FindBarCaptionsStayLegible) {
  if (!qEnvironmentVariableIsSet(kThemeColours)) GTEST_SKIP() << "runs inside DesktopThemeColours";
  TemporaryFolder folder;
  folder.Page("a.html", "fruit", "<p>apple</p>");
  const auto window = Open({folder.Text()});
  ASSERT_LT(window->palette().color(QPalette::Window).lightness(), 128)
      << "the desktop theme's colours did not arrive";
  ASSERT_TRUE(Activate(*window));
  Select(*window, 0);
  ASSERT_TRUE(ShowsPage(*window, u"fruit"_s));
  QTest::keyClick(List(*window), Qt::Key_F, Qt::ControlModifier);
  auto* field = window->findChild<QWidget*>(u"edtFind"_s);
  auto* count = window->findChild<QLabel*>(u"lblFindCount"_s);
  ASSERT_NE(field, nullptr);
  QTest::keyClicks(field, u"apple"_s);
  ASSERT_TRUE(QTest::qWaitFor([&] { return count->text() == u"1 of 1"_s; }, kPageTimeoutMs));
  const QImage image = window->grab().toImage();
  EXPECT_GE(CaptionContrast(image, AreaIn(*window, count, count->rect())), kLegible);
  EXPECT_GE(CaptionContrast(image, AreaIn(*window, field, field->rect().adjusted(3, 3, -3, -3))),
            kLegible);
  ExpectCaptionsFit(*count->parentWidget());
}

// Runs the named child test in a program started on a KDE desktop with this kdeglobals, which Qt's
// own KDE theme reads when the program starts.
void ExpectChildPassesOnKdeDesktop(const std::string& kdeglobals, const QString& childTest,
                                   const char* variable, const QString& value) {
  TemporaryFolder config;
  std::ofstream(config.Path() / "kdeglobals") << kdeglobals;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(u"QT_QPA_PLATFORMTHEME"_s);
  environment.insert(u"XDG_CURRENT_DESKTOP"_s, u"KDE"_s);
  environment.insert(u"KDE_SESSION_VERSION"_s, u"5"_s);
  environment.insert(u"XDG_CONFIG_HOME"_s, QString::fromStdU16String(config.Text()));
  environment.insert(QString::fromLatin1(variable), value);
  QProcess program;
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::MergedChannels);
  program.start(QCoreApplication::applicationFilePath(), {u"--gtest_filter="_s + childTest});
  ASSERT_TRUE(program.waitForFinished(120000));
  const QByteArray output = program.readAll();
  EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}

struct ThemeFontCase {
  const char* label;
  int pointSize;
};

class DesktopThemeFonts : public testing::TestWithParam<ThemeFontCase> {};

// The desktop font set the way a user sets it: in KDE's kdeglobals.
TEST_P(DesktopThemeFonts, KeepBothButtonsWhole) {
  ExpectChildPassesOnKdeDesktop("[General]\nfont=DejaVu Sans," +
                                    std::to_string(GetParam().pointSize) + ",-1,5,50,0,0,0,0,0\n",
                                u"ThemeFontChild.*"_s, kThemePointSize,
                                QString::number(GetParam().pointSize));
}

INSTANTIATE_TEST_SUITE_P(Cases, DesktopThemeFonts,
                         testing::Values(ThemeFontCase{"SixteenPoints", 16},
                                         ThemeFontCase{"TwentyFourPoints", 24}),
                         [](const auto& info) { return std::string(info.param.label); });

// A dark colour scheme set the way a user sets it, in KDE's kdeglobals, with a large font.
TEST(DesktopThemeColours, KeepTheFindBarLegible) {
  ExpectChildPassesOnKdeDesktop(
      "[General]\nfont=DejaVu Sans,20,-1,5,50,0,0,0,0,0\n"
      "[Colors:Window]\nBackgroundNormal=53,53,53\nForegroundNormal=238,238,238\n"
      "[Colors:View]\nBackgroundNormal=36,36,36\nForegroundNormal=245,245,245\n"
      "[Colors:Button]\nBackgroundNormal=60,60,60\nForegroundNormal=240,240,240\n"
      "[Colors:Selection]\nBackgroundNormal=42,130,218\nForegroundNormal=255,255,255\n",
      u"ThemeColourChild.*"_s, kThemeColours, u"1"_s);
}

}  // namespace
