#include "ui/EventLoopErrors.h"

#include <QApplication>
#include <QMessageBox>

#include "core/error_texts.h"
#include "core/failure.h"
#include "platform/platform.h"

// Captioned "エラー", owned by and modal to the active window (or the whole application when no
// window is active), with the error icon and one OK button.
void ShowErrorBox(const std::exception_ptr& failure) {
  const std::u16string text = core::ErrorBoxText(core::InnermostMessage(failure));
#ifdef _WIN32
  const QWidget* owner = QApplication::activeWindow();
  platform::ShowErrorBox(owner ? static_cast<std::uintptr_t>(owner->winId()) : 0,
                         std::u16string(core::kErrorBoxCaption), text);
#else
  QMessageBox box(QMessageBox::Critical,
                  QString::fromStdU16String(std::u16string(core::kErrorBoxCaption)),
                  QString::fromStdU16String(text), QMessageBox::Ok, QApplication::activeWindow());
  box.setWindowModality(box.parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
  box.exec();
#endif
}
