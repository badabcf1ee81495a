#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmAbout;
}

// The About box: the program's name, version and copyright, closed by its OK button or its close
// box. OK is neither its default nor its cancel button.
class TfrmAbout final : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* owner);
  ~TfrmAbout() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmAbout> ui;
};

// The About box while it is shown.
extern TfrmAbout* frmAbout;
