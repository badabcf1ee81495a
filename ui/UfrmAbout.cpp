#include "ui/UfrmAbout.h"

#include <QKeyEvent>
#include <QPushButton>

#include "ui_UfrmAbout.h"

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
}

TfrmAbout::~TfrmAbout() = default;

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
