#include "ui/FitToText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace FitToText {
namespace {

// The geometry the window definition gave, remembered before the first fit changes it.
constexpr char kDesignedGeometry[] = "designedGeometry";
constexpr char kDesignedSize[] = "designedSize";

struct Placed {
  QWidget* widget;
  QRect designed;
  QRect fitted;
};

QRect Designed(QWidget* widget) {
  if (!widget->property(kDesignedGeometry).isValid()) {
    widget->setProperty(kDesignedGeometry, widget->geometry());
  }
  return widget->property(kDesignedGeometry).toRect();
}

// The least height, from `from` on, at which the label's text, placed as the label places it, loses
// no ink: a line taller than the label is fine as long as its glyphs fit.
int InkHeight(const QLabel& label, int from) {
  const QFontMetrics metrics = label.fontMetrics();
  const QSize line = metrics.size(Qt::TextShowMnemonic, label.text());
  const QRect ink = metrics.tightBoundingRect(label.text());
  const int enough = from + 4 * line.height();
  for (int height = from; height < enough; ++height) {
    const QRect placed = QStyle::alignedRect(Qt::LeftToRight, label.alignment(), line,
                                             QRect(0, 0, line.width(), height));
    const int baseline = placed.top() + metrics.ascent();
    if (baseline + ink.top() >= 0 && baseline + ink.bottom() < height) return height;
  }
  return enough;
}

// What a control needs: its size hint, a whole line for text in the desktop's font. A label whose
// font size the window fixes keeps the look the design chose for that font, its line reaching
// beyond the label: it needs its text's width and only the height that keeps its glyphs whole.
QSize Needed(QWidget* widget, const QRect& designed) {
  const auto* label = qobject_cast<const QLabel*>(widget);
  if (label == nullptr || !(label->font().resolveMask() & QFont::SizeResolved)) {
    return widget->sizeHint();
  }
  return {label->sizeHint().width(), InkHeight(*label, designed.height())};
}

// The designed rectangle grown to what the control needs: rightwards, and evenly above and below.
QRect Grown(QWidget* widget, const QRect& designed) {
  const QSize needed = Needed(widget, designed).expandedTo(designed.size());
  const int extraHeight = needed.height() - designed.height();
  return QRect(designed.left(), std::max(0, designed.top() - extraHeight / 2), needed.width(),
               needed.height());
}

bool OverlapVertically(const QRect& a, const QRect& b) {
  return a.top() <= b.bottom() && b.top() <= a.bottom();
}
bool OverlapHorizontally(const QRect& a, const QRect& b) {
  return a.left() <= b.right() && b.left() <= a.right();
}

// Moves `later` out of the way of `earlier`. Controls designed side by side keep their designed
// gap; a control designed below another may close up until it touches it (the design's own
// 20-point title already fills the gap above the line below it), but no closer than the design
// has them.
void MoveClear(const Placed& earlier, Placed& later) {
  if (later.designed.left() > earlier.designed.right()) {
    if (!OverlapVertically(earlier.fitted, later.fitted)) return;
    const int gap = later.designed.left() - earlier.designed.right();
    later.fitted.moveLeft(std::max(later.fitted.left(), earlier.fitted.right() + gap));
  } else if (OverlapHorizontally(earlier.fitted, later.fitted)) {
    const int gap = std::min(1, later.designed.top() - earlier.designed.bottom());
    later.fitted.moveTop(std::max(later.fitted.top(), earlier.fitted.bottom() + gap));
  }
}

void Fit(QWidget* container, const WidthNeeded& widthNeeded) {
  if (!container->property(kDesignedSize).isValid()) {
    container->setProperty(kDesignedSize, container->isWindow()
                                              ? container->size()
                                              : QSize(0, container->minimumHeight()));
  }
  std::vector<Placed> placed;
  for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    const QRect designed = Designed(child);
    placed.push_back({child, designed, Grown(child, designed)});
  }
  std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return std::pair(a.designed.top(), a.designed.left()) <
           std::pair(b.designed.top(), b.designed.left());
  });
  // The container keeps the margins the design leaves beyond its farthest controls.
  QRect designedReach;
  QRect fittedReach;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) MoveClear(placed[j], placed[i]);
    placed[i].widget->setGeometry(placed[i].fitted);
    designedReach |= placed[i].designed;
    fittedReach |= placed[i].fitted;
  }
  const QSize designedSize = container->property(kDesignedSize).toSize();
  const QPoint growth = fittedReach.bottomRight() - designedReach.bottomRight();
  const QSize size = designedSize.expandedTo(designedSize + QSize(growth.x(), growth.y()));
  if (container->isWindow()) {
    container->resize(size);
    return;
  }
  container->setFixedHeight(size.height());
  if (widthNeeded) widthNeeded(fittedReach.right() + 1 + designedReach.left());
}

// Fits the container again once a font change has reached its children too.
class FontWatcher final : public QObject {
 public:
  FontWatcher(QWidget* container, WidthNeeded widthNeeded)
      : QObject(container), widthNeeded_(std::move(widthNeeded)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FontChange) {
      // The watcher is the container's child, so the call dies with the container.
      QTimer::singleShot(0, this, [this, container = static_cast<QWidget*>(watched)] {
        Fit(container, widthNeeded_);
      });
    }
    return false;
  }

 private:
  WidthNeeded widthNeeded_;
};

}  // namespace

void Keep(QWidget* container, const WidthNeeded& widthNeeded) {
  Fit(container, widthNeeded);
  container->installEventFilter(new FontWatcher(container, widthNeeded));
}

}  // namespace FitToText
