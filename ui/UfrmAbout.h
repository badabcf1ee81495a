#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmAbout;
}

// The About box: the program's name, version and copyright, closed by its OK button or its close
// box. OK is neither its default nor its cancel button. It is centred on its owner, frames counted.
class TfrmAbout final : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* owner);
  ~TfrmAbout() override;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CentreOnOwner();

  std::unique_ptr<Ui::TfrmAbout> ui;
  bool framed = false;
};

// The About box while it is shown.
extern TfrmAbout* frmAbout;

// Where a window frame of `frameSize` goes so that its centre is the centre of `ownerFrame`, as
// near as whole pixels allow, kept inside `screen` (the screen's available area).
QPoint CentredFramePosition(const QRect& ownerFrame, const QSize& frameSize, const QRect& screen);
