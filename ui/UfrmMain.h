#pragma once

#include <QEvent>
#include <QMainWindow>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "core/folder_listing.h"

class QWebEngineProfile;
class TFileListModel;
class TFindBar;
class TPageArea;
class TPageZoom;

namespace Ui {
class TfrmMain;
}

// The main window: the file list of the current folder on the left, the selected page on the
// right, and the command objects the menu bar and the buttons are bound to.
class TfrmMain final : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window from its definition, then runs FormCreate with the listing of the folder the
  // first command-line argument opens (see StartListingFirstArgument; empty without arguments).
  // A failure in FormCreate propagates: the half-made window is destroyed with the exception.
  explicit TfrmMain(std::future<core::ArgumentFolder> firstArgument, QWidget* parent = nullptr);
  // The same, listing the first of the arguments itself.
  explicit TfrmMain(const std::vector<std::u16string>& arguments, QWidget* parent = nullptr);
  ~TfrmMain() override;

  const std::u16string& CurrentFolder() const { return FLastOpenFoloder; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(std::future<core::ArgumentFolder> firstArgument);
  void BindCommands();
  void BindHistoryKeys();
  void BindReadingKeys();
  TFindBar* FindBar();
  void SelectEntryNamed(std::u16string_view name);
  void LimitSplitterDrag(QEvent::Type type);
  void WidenLeftPanel(int neededWidth);

  void lsbFileChange();
  void ShowStoppedPageAgain();
  void actOpenFolderExecute();
  void actReloadFileExecute();
  void actExitExecute();
  void actAboutExecute();
  void actHelpExecute();

  void OpenFolder(const std::u16string& folder);
  void OpenListedFolder(const std::u16string& folder, core::NameList names);
  void ListFiles(const std::u16string& folder);
  void ShowFile(const std::u16string& path);

  std::unique_ptr<Ui::TfrmMain> ui;
  QWebEngineProfile* profile;
  TPageArea* pageArea;
  TPageZoom* pageZoom;
  TFindBar* findBar;
  TFileListModel* fileList;
  std::u16string FLastOpenFoloder;
};

// The main window once it exists.
extern TfrmMain* frmMain;
