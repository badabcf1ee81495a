#include "ui/page/PageZoom.h"

#include <QApplication>
#include <QWebEngineView>
#include <QWheelEvent>

#include "core/zoom_steps.h"

namespace {

// One notch of a mouse wheel; touchpads send smaller turns that add up to it.
constexpr int kWheelNotch = QWheelEvent::DefaultDeltasPerStep;

}  // namespace

TPageZoom::TPageZoom(QWebEngineView* view)
    : QObject(view), view_(view), factor_(core::kNaturalZoom) {
  // A page that replaced a hung one starts at the natural size, and the engine keeps a zoom for
  // each host; whatever page the view shows next gets ours.
  connect(view_, &QWebEngineView::loadStarted, this, &TPageZoom::KeepFactor);
  connect(view_, &QWebEngineView::urlChanged, this, &TPageZoom::KeepFactor);
  qApp->installEventFilter(this);
}

void TPageZoom::ZoomIn() { SetFactor(core::ZoomedIn(factor_)); }

void TPageZoom::ZoomOut() { SetFactor(core::ZoomedOut(factor_)); }

void TPageZoom::ZoomToNatural() { SetFactor(core::kNaturalZoom); }

void TPageZoom::SetFactor(double factor) {
  factor_ = factor;
  KeepFactor();
}

void TPageZoom::KeepFactor() {
  if (view_->zoomFactor() != factor_) view_->setZoomFactor(factor_);
}

// Ctrl+wheel over the page zooms in our steps instead of the engine's own.
bool TPageZoom::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget != view_ && !view_->isAncestorOf(widget)) return false;
  return TurnWheel(*wheel);
}

bool TPageZoom::TurnWheel(const QWheelEvent& wheel) {
  wheelTurn_ += wheel.angleDelta().y();
  for (; wheelTurn_ >= kWheelNotch; wheelTurn_ -= kWheelNotch) ZoomIn();
  for (; wheelTurn_ <= -kWheelNotch; wheelTurn_ += kWheelNotch) ZoomOut();
  return true;
}
