#include "ui/StyleBook.h"

#include <qdrawutil.h>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <QSplitter>

// The resources are linked into a static library; their registration has to be pulled in.
static void RegisterResources() { Q_INIT_RESOURCE(vellumine); }

namespace StyleBook {
namespace {

const QStringList kEntries = {"panelstyle", "splitterstyle", "menubarstyle"};

// menubarstyle: a nine-slice of this rectangle of the style bitmap, cap insets of 1.
constexpr QRect kMenuBarSlice(166, 5, 72, 29);
constexpr QMargins kMenuBarInsets(1, 1, 1, 1);
constexpr int kMenuBarHeight = 24;

// Paints the entries that a style sheet cannot express: the menu bar's nine-slice background
// under the bar's own painting, and the splitter's round grip instead of the handle's own look.
class EntryPainter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* widget = static_cast<QWidget*>(watched);
    QPainter painter(widget);
    if (qobject_cast<QMenuBar*>(widget)) {
      PaintMenuBar(painter, widget->rect());
      return false;
    }
    PaintGrip(painter, widget->rect());
    return true;
  }

 private:
  static void PaintMenuBar(QPainter& painter, const QRect& area) {
    static const QPixmap slice = QPixmap(":/styles/stylebitmap.png").copy(kMenuBarSlice);
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

void Mark(QWidget* widget, const QString& kindDefault) {
  widget->setProperty("styleEntry",
                      Resolve(widget->property("styleLookup").toString(), kindDefault));
}

}  // namespace

QString Resolve(const QString& requested, const QString& kindDefault) {
  for (const QString& name : {requested, kindDefault}) {
    if (!name.isEmpty() && kEntries.contains(name.toLower())) return name.toLower();
  }
  return {};
}

void Apply(QWidget* window) {
  RegisterResources();
  auto* painter = new EntryPainter(window);
  for (QFrame* panel : window->findChildren<QFrame*>(QRegularExpression("^pnl"))) {
    Mark(panel, "Panelstyle");
  }
  for (QSplitter* splitter : window->findChildren<QSplitter*>()) {
    Mark(splitter, "Splitterstyle");
    if (splitter->property("styleEntry") != "splitterstyle") continue;
    for (int i = 1; i < splitter->count(); ++i) splitter->handle(i)->installEventFilter(painter);
  }
  for (QMenuBar* menuBar : window->findChildren<QMenuBar*>()) {
    Mark(menuBar, "menubarstyle");
    if (menuBar->property("styleEntry") != "menubarstyle") continue;
    menuBar->setFixedHeight(kMenuBarHeight);
    menuBar->installEventFilter(painter);
  }
  QFile sheet(":/styles/styDefault.qss");
  if (sheet.open(QIODevice::ReadOnly)) window->setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

}  // namespace StyleBook
