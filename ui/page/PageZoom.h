#pragma once

#include <QObject>

class QWebEngineView;
class QWheelEvent;

// The page area's zoom: one factor for every page the view shows until the program ends. The keys
// and Ctrl+wheel over the page move it through the same browser steps.
class TPageZoom final : public QObject {
  Q_OBJECT

 public:
  explicit TPageZoom(QWebEngineView* view);

  void ZoomIn();
  void ZoomOut();
  void ZoomToNatural();
  double Factor() const { return factor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetFactor(double factor);
  void KeepFactor();
  bool TurnWheel(const QWheelEvent& wheel);

  QWebEngineView* view_;
  double factor_;
  int wheelTurn_ = 0;
};
