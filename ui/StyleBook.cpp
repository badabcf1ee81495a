#include "ui/StyleBook.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <QSplitter>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// The resources are linked into a static library; their registration has to be pulled in.
static void RegisterResources() { Q_INIT_RESOURCE(vellumine); }

namespace StyleBook {
namespace {

const QStringList kEntries = {u"panelstyle"_s, u"splitterstyle"_s, u"menubarstyle"_s};

// Panelstyle: a flat rectangle of this colour.
constexpr QColor kPanelColour(0xF0, 0xF0, 0xF0);

// menubarstyle: a nine-slice of this rectangle of the style bitmap, cap insets of 1; 24 high, or
// as high as its font needs.
constexpr QRect kMenuBarSlice(166, 5, 72, 29);
constexpr QMargins kMenuBarInsets(1, 1, 1, 1);
constexpr int kMenuBarHeight = 24;

// Captions drawn on a surface whose colour the book fixes (the menu bar, the panels' buttons) are
// black on a light face whatever the desktop's palette, so that a dark desktop palette cannot
// turn them light on light. The palette is derived from the panel colour: windows and buttons
// #F0F0F0, text black (a contrast ratio of 18:1, 16:1 on the menu bar).
QPalette FixedSurfacePalette() { return QPalette(kPanelColour); }

void FitMenuBarHeight(QMenuBar* menuBar) {
  menuBar->setFixedHeight(std::max(kMenuBarHeight, menuBar->sizeHint().height()));
}

// Carries out the entries that a style sheet cannot express: the menu bar's nine-slice background
// under the bar's own painting and its height following its font, and the splitter's round grip
// instead of the handle's own look.
class EntryPainter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* menuBar = qobject_cast<QMenuBar*>(watched);
    if (menuBar && event->type() == QEvent::FontChange) FitMenuBarHeight(menuBar);
    if (event->type() != QEvent::Paint) return false;
    auto* widget = static_cast<QWidget*>(watched);
    QPainter painter(widget);
    if (menuBar) {
      PaintMenuBar(painter, widget->rect());
      return false;
    }
    PaintGrip(painter, widget->rect());
    return true;
  }

 private:
  static void PaintMenuBar(QPainter& painter, const QRect& area) {
    static const QPixmap slice = QPixmap(u":/styles/stylebitmap.png"_s).copy(kMenuBarSlice);
    qDrawBorderPixmap(&painter, area, kMenuBarInsets, slice);
  }

  // A circle as wide as the handle at its vertical middle, a diagonal gradient, a black outline.
  static void PaintGrip(QPainter& painter, const QRect& area) {
    const int diameter = area.width();
    const QRectF circle(area.left(), area.top() + (area.height() - diameter) / 2, diameter,
                        diameter);
    QLinearGradient gradient(circle.topLeft(), circle.bottomRight());
    gradient.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    gradient.setColorAt(0.5, QColor(0xF0, 0xF0, 0xF0));
    gradient.setColorAt(1, QColor(0xC1, 0xC1, 0xC1));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(gradient);
    painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
  }
};

// Marks the widget with the entry it gets and returns that entry.
QString Mark(QWidget* widget, const QString& kindDefault) {
  const QString entry = Resolve(widget->property("styleLookup").toString(), kindDefault);
  widget->setProperty("styleEntry", entry);
  return entry;
}

// Panelstyle: the panel's own surface, and the fixed palette for the buttons drawn on it. The
// list and the page cover their panels with surfaces of their own and follow the desktop.
void ApplyPanelStyle(QFrame* panel) {
  panel->setAutoFillBackground(true);
  panel->setPalette(FixedSurfacePalette());
  for (QAbstractButton* button :
       panel->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    button->setPalette(FixedSurfacePalette());
  }
}

}  // namespace

QString Resolve(const QString& requested, const QString& kindDefault) {
  for (const QString& name : {requested, kindDefault}) {
    if (!name.isEmpty() && kEntries.contains(name.toLower())) return name.toLower();
  }
  return {};
}

void ApplyPanelSurface(QWidget* strip) {
  strip->setAutoFillBackground(true);
  strip->setPalette(FixedSurfacePalette());
  for (QWidget* control : strip->findChildren<QWidget*>())
    control->setPalette(FixedSurfacePalette());
}

void Apply(QWidget* window) {
  RegisterResources();
  auto* painter = new EntryPainter(window);
  for (QFrame* panel : window->findChildren<QFrame*>(QRegularExpression(u"^pnl"_s))) {
    if (Mark(panel, u"Panelstyle"_s) == u"panelstyle"_s) ApplyPanelStyle(panel);
  }
  for (QSplitter* splitter : window->findChildren<QSplitter*>()) {
    if (Mark(splitter, u"Splitterstyle"_s) != u"splitterstyle"_s) continue;
    for (int i = 1; i < splitter->count(); ++i) splitter->handle(i)->installEventFilter(painter);
  }
  for (QMenuBar* menuBar : window->findChildren<QMenuBar*>()) {
    if (Mark(menuBar, u"menubarstyle"_s) != u"menubarstyle"_s) continue;
    menuBar->setPalette(FixedSurfacePalette());
    menuBar->installEventFilter(painter);
  }
  QFile sheet(u":/styles/styDefault.qss"_s);
  if (sheet.open(QIODevice::ReadOnly)) window->setStyleSheet(QString::fromUtf8(sheet.readAll()));
  // The bar's height counts the sheet's padding, so it is fitted once the sheet is in force.
  for (QMenuBar* menuBar : window->findChildren<QMenuBar*>()) {
    if (menuBar->property("styleEntry") == u"menubarstyle"_s) FitMenuBarHeight(menuBar);
  }
}

}  // namespace StyleBook
