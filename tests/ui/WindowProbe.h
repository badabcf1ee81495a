#pragma once

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "support/TemporaryFolder.h"
#include "ui/UfrmMain.h"

// Helpers that look at a main window the way a user would: by its components' names.

inline constexpr int kPageTimeoutMs = 30000;

inline std::unique_ptr<TfrmMain> Open(const std::vector<std::u16string>& arguments) {
  auto window = std::make_unique<TfrmMain>(arguments);
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  return window;
}

// Makes the window the active one, as a user's click on it does; returns whether it became so.
inline bool Activate(TfrmMain& window) {
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

inline QListView* List(const TfrmMain& window) {
  return window.findChild<QListView*>(QStringLiteral("lsbFile"));
}
inline QWebEngineView* View(const TfrmMain& window) {
  return window.findChild<QWebEngineView*>(QStringLiteral("webMain"));
}
inline QAction* Command(const TfrmMain& window, const char* name) {
  return window.findChild<QAction*>(QString::fromLatin1(name));
}

inline QStringList Entries(const TfrmMain& window) {
  QStringList entries;
  const QAbstractItemModel* model = List(window)->model();
  for (int row = 0; row < model->rowCount(); ++row)
    entries << model->index(row, 0).data().toString();
  return entries;
}

inline int SelectedRow(const TfrmMain& window) {
  const QModelIndexList selected = List(window)->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.front().row();
}

inline void Select(const TfrmMain& window, int row) {
  List(window)->setCurrentIndex(List(window)->model()->index(row, 0));
}

// Waits until the browser view shows a page with this title; returns whether it did.
inline bool ShowsPage(const TfrmMain& window, const QString& title) {
  return QTest::qWaitFor([&] { return View(window)->title() == title; }, kPageTimeoutMs);
}

inline std::u16string Text(const std::filesystem::path& path) {
  return core::DecodeLossless(path.string());
}

// Answers the folder picker like a user choosing `folder`.
inline void PickFolder(QWidget* modal, const TemporaryFolder& folder) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  ASSERT_NE(dialog, nullptr) << "the folder picker did not come up";
  dialog->setDirectory(QString::fromStdU16String(folder.Text()));
  static_cast<QDialog*>(dialog)->accept();  // accept() is protected in QFileDialog
}

// The rows of `image` that hold anything but its corner's colour.
inline std::pair<int, int> InkRows(const QImage& image) {
  const QRgb background = image.pixel(image.width() - 1, 0);
  int top = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == background) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  return {top, bottom};
}

// Whether the label's text keeps all its ink: as tall as the same text drawn with room to spare.
inline testing::AssertionResult ShowsItsWholeInk(QLabel& label) {
  const auto [top, bottom] = InkRows(label.grab().toImage());
  QLabel roomy(label.text());
  roomy.setFont(label.font());
  roomy.resize(label.width(), 3 * label.height());
  const auto [roomyTop, roomyBottom] = InkRows(roomy.grab().toImage());
  if (top >= 0 && bottom - top == roomyBottom - roomyTop) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << label.objectName().toStdString() << " shows ink rows " << top << ".." << bottom
         << " of " << roomyBottom - roomyTop + 1;
}

// Calls `answer` once for every modal window that comes up while the watcher lives, from inside
// the modal window's own event loop, as a user would answer it.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == answered_) return;
      answered_ = modal;
      answer_(modal);
    });
    timer_.start(20);
  }

 private:
  std::function<void(QWidget*)> answer_;
  QPointer<QWidget> answered_;
  QTimer timer_;
};

// The text the view shows once it holds `expected` (or when the wait ends), read without pausing
// the event loop. A reply that comes after the wait writes into its own copy.
inline QString PageTextOnceItHas(QWebEngineView& view, const QString& expected) {
  const QDeadlineTimer deadline(kPageTimeoutMs);
  const auto text = std::make_shared<QString>();
  while (!text->contains(expected) && !deadline.hasExpired()) {
    QEventLoop loop;
    const QPointer<QEventLoop> waiting(&loop);
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    view.page()->toPlainText([text, waiting](const QString& plain) {
      *text = plain;
      if (waiting) waiting->quit();
    });
    loop.exec();
  }
  return *text;
}
