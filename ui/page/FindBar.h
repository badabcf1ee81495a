#pragma once

#include <QFrame>
#include <QPointer>
#include <QWebEnginePage>
#include <memory>

class QWebEngineFindTextResult;
class QWebEngineView;

namespace Ui {
class TFindBar;
}

// The find bar along the bottom of the page area. It finds as the user types, highlights every
// match in the page in view and shows which match is current among how many ("3 of 12"). While it
// is open it searches each new page the view shows. Closing it clears the highlight and gives the
// keyboard focus back to where it was when the bar was asked for.
class TFindBar final : public QFrame {
  Q_OBJECT

 public:
  TFindBar(QWebEngineView* view, QWidget* parent);
  ~TFindBar() override;

  // Shows the bar with the focus in its field, the text there selected.
  void Open();
  // Moves to the next or previous match, wrapping at either end; opens the bar if it is closed.
  void FindNext();
  void FindPrevious();
  void Close();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetIcons();
  void TakeFocus();
  void Find(QWebEnginePage::FindFlags direction);
  void ShowCount(quint64 search, const QWebEngineFindTextResult& result);
  void SearchNewPage();
  void SearchAfresh();

  std::unique_ptr<Ui::TFindBar> ui;
  QWebEngineView* view_;
  QPointer<QWidget> focusBefore_;
  quint64 searches_ = 0;
};
