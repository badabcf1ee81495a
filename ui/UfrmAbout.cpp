#include "ui/UfrmAbout.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "ui/FitToText.h"
#include "ui_UfrmAbout.h"

TfrmAbout* frmAbout = nullptr;

namespace {

// The name's font size, in the same logical units as the box's geometry: pixels, not points.
constexpr int kNameFontPixels = 20;

int CentredStart(int ownerStart, int ownerLength, int length, int screenStart, int screenLength) {
  const int start = qRound(ownerStart + (ownerLength - length) / 2.0);
  return qMax(screenStart, qMin(start, screenStart + screenLength - length));
}

}  // namespace

QPoint CentredFramePosition(const QRect& ownerFrame, const QSize& frameSize, const QRect& screen) {
  return {CentredStart(ownerFrame.x(), ownerFrame.width(), frameSize.width(), screen.x(),
                       screen.width()),
          CentredStart(ownerFrame.y(), ownerFrame.height(), frameSize.height(), screen.y(),
                       screen.height())};
}

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont nameFont = ui->lblApplicationName->font();
  nameFont.setPixelSize(kNameFontPixels);
  ui->lblApplicationName->setFont(nameFont);
  FitToText::Keep(this);
  CentreOnOwner();
}

TfrmAbout::~TfrmAbout() = default;

// The box's own frame is known only once the window system has framed it: until then it is taken
// to be like the owner's, and once the box is active it is centred again by its real frame.
void TfrmAbout::CentreOnOwner() {
  // QWindow asks the window system for the frame each time; QWidget may keep a frame it saw
  // earlier.
  const QWindow* owner = parentWidget()->window()->windowHandle();
  const QMargins frame = (framed ? windowHandle() : owner)->frameMargins();
  move(CentredFramePosition(owner->frameGeometry(), size().grownBy(frame),
                            owner->screen()->availableGeometry()));
}

bool TfrmAbout::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !framed) {
    framed = true;
    CentreOnOwner();
  }
  return QDialog::event(event);
}

// The box has no default and no cancel button: Esc does nothing, and Enter presses a button only
// while that button has the focus.
void TfrmAbout::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) return event->accept();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->hasFocus()) {
      focused->click();
    }
    return event->accept();
  }
  QDialog::keyPressEvent(event);
}
