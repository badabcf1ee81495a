#include "ui/UfrmMain.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolButton>
#include <QWebEngineView>
#include <algorithm>

#include "core/paths.h"
#include "platform/platform.h"
#include "ui/ArgumentListing.h"
#include "ui/EventLoopErrors.h"
#include "ui/FileListModel.h"
#include "ui/FitToText.h"
#include "ui/StyleBook.h"
#include "ui/UfrmAbout.h"
#include "ui/page/FindBar.h"
#include "ui/page/PageArea.h"
#include "ui/page/PageScheme.h"
#include "ui/page/PageZoom.h"
#include "ui_UfrmMain.h"

TfrmMain* frmMain = nullptr;

namespace {

// The left panel's designed width is 192.6 logical units; Qt lays out whole units.
constexpr int kInitialListWidth = 193;
// While the splitter is dragged, the page keeps at least this width.
constexpr int kMinimumPageWidth = 20;

// A command's keys: its shortcut, then those in its "secondaryShortCuts" list.
void TakeSecondaryShortCuts(QAction* command) {
  QList<QKeySequence> keys = {command->shortcut()};
  for (const QString& key : command->property("secondaryShortCuts").toStringList()) keys << key;
  command->setShortcuts(keys);
}

// A menu item bound to a command: it shows the command's caption and keys, follows its enabled
// state and executes it when chosen. The menu item, not the command, listens for the keys, so
// that Qt shows them in the menu and no key has two owners.
void BindToCommand(QAction* item, QAction* command) {
  const auto follow = [item, command] {
    item->setText(command->text());
    item->setShortcuts(command->shortcuts());
    item->setEnabled(command->isEnabled());
  };
  follow();
  QObject::connect(command, &QAction::changed, item, follow);
  QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
}

// A button bound to a command: it shows the command's caption, icon and tool tip, follows its
// enabled state and executes it when clicked. (A default action would make the button a second
// owner of the command's keys, and Qt ignores a key with two owners.)
void BindToCommand(QToolButton* button, QAction* command) {
  const auto follow = [button, command] {
    button->setText(command->text());
    button->setIcon(command->icon());
    button->setToolTip(command->toolTip());
    button->setEnabled(command->isEnabled());
  };
  follow();
  QObject::connect(command, &QAction::changed, button, follow);
  QObject::connect(button, &QToolButton::clicked, command, &QAction::trigger);
}

// The mouse's Back and Forward buttons, pressed anywhere in the window, move the view through its
// history. The press is taken before the widget under the pointer (the page, the list) sees it.
class HistoryButtons final : public QObject {
 public:
  HistoryButtons(QWidget* window, QWebEngineView* view)
      : QObject(window), window_(window), view_(view) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window_) {
      return false;
    }
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (button == Qt::BackButton) view_->back();
    if (button == Qt::ForwardButton) view_->forward();
    return button == Qt::BackButton || button == Qt::ForwardButton;
  }

 private:
  QWidget* window_;
  QWebEngineView* view_;
};

}  // namespace

TfrmMain::TfrmMain(const std::vector<std::u16string>& arguments, QWidget* parent)
    : TfrmMain(StartListingFirstArgument(arguments), parent) {}

TfrmMain::TfrmMain(std::future<core::ArgumentFolder> firstArgument, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TfrmMain>()),
      profile(nullptr),
      pageArea(nullptr),
      pageZoom(nullptr),
      findBar(nullptr),
      fileList(new TFileListModel(this)) {
  ui->setupUi(this);
  // The window has no minimum size of its own; its parts may shrink to nothing.
  layout()->setSizeConstraint(QLayout::SetNoConstraint);
  // Made after the window's widgets so that it outlives the page they hold when they are deleted.
  profile = MakePageProfile(this);
  pageArea = new TPageArea(ui->webMain, profile);
  pageZoom = new TPageZoom(ui->webMain);
  StyleBook::Apply(this);
  // The list keeps its width when the window is resized; the page takes the rest. Its first width
  // is set once the buttons above it are fitted to the font.
  ui->splLeft->setStretchFactor(1, 1);
  ui->splLeft->handle(1)->installEventFilter(this);
  ui->lsbFile->setModel(fileList);
  BindCommands();
  FitToText::Keep(ui->pnlLeftTop, [this](int width) { WidenLeftPanel(width); });
  FormCreate(std::move(firstArgument));
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BindCommands() {
  ui->actReloadFile->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  for (QAction* command : ui->actMain->actions()) TakeSecondaryShortCuts(command);
  BindToCommand(ui->btnOpenFolder, ui->actOpenFolder);
  BindToCommand(ui->btnReload, ui->actReloadFile);
  BindToCommand(ui->mniWinFileOpenFolder, ui->actOpenFolder);
  BindToCommand(ui->mniWinFileReload, ui->actReloadFile);
  BindToCommand(ui->mniWinFileExit, ui->actExit);
  BindToCommand(ui->mniWinHelpAbout, ui->actAbout);
  BindToCommand(ui->mniWinHelpHelp, ui->actHelp);

  connect(ui->actOpenFolder, &QAction::triggered, this,
          Guarded([this] { actOpenFolderExecute(); }));
  connect(ui->actReloadFile, &QAction::triggered, this,
          Guarded([this] { actReloadFileExecute(); }));
  connect(ui->actExit, &QAction::triggered, this, Guarded([this] { actExitExecute(); }));
  connect(ui->actAbout, &QAction::triggered, this, Guarded([this] { actAboutExecute(); }));
  connect(ui->actHelp, &QAction::triggered, this, Guarded([this] { actHelpExecute(); }));
  connect(ui->lsbFile, &TListBox::selectedEntryChanged, this, Guarded([this] { lsbFileChange(); }));
  connect(ui->lsbFile, &QAbstractItemView::clicked, this,
          Guarded([this] { ShowStoppedPageAgain(); }));
  connect(ui->lsbFile, &QAbstractItemView::activated, this,
          Guarded([this] { ShowStoppedPageAgain(); }));
  BindHistoryKeys();
  BindReadingKeys();
}

// Back and forward through the page's history, as in web browsers: Alt+Left and Alt+Right, and the
// mouse's Back and Forward buttons anywhere in the window. They act on the view rather than on a
// page object, so they hold for whatever page the view shows.
void TfrmMain::BindHistoryKeys() {
  new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this,
                Guarded([this] { ui->webMain->back(); }));
  new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this,
                Guarded([this] { ui->webMain->forward(); }));
  new HistoryButtons(this, ui->webMain);
}

// Find in page and zoom, as in web browsers. They have no menu items: the keys reach them from
// anywhere in the window.
void TfrmMain::BindReadingKeys() {
  const auto bind = [this](QKeyCombination key, auto run) {
    new QShortcut(QKeySequence(key), this, Guarded(run));
  };
  bind(Qt::CTRL | Qt::Key_F, [this] { FindBar()->Open(); });
  bind(QKeyCombination(Qt::Key_F3), [this] { FindBar()->FindNext(); });
  bind(Qt::SHIFT | Qt::Key_F3, [this] { FindBar()->FindPrevious(); });
  bind(Qt::CTRL | Qt::Key_Plus, [this] { pageZoom->ZoomIn(); });
  bind(Qt::CTRL | Qt::Key_Equal, [this] { pageZoom->ZoomIn(); });
  bind(Qt::CTRL | Qt::Key_Minus, [this] { pageZoom->ZoomOut(); });
  bind(Qt::CTRL | Qt::Key_0, [this] { pageZoom->ZoomToNatural(); });
}

// The find bar joins the page area below the page the first time it is asked for.
TFindBar* TfrmMain::FindBar() {
  if (findBar == nullptr) {
    findBar = new TFindBar(ui->webMain, ui->pnlMain);
    StyleBook::ApplyPanelSurface(findBar);
    ui->layMain->addWidget(findBar);
  }
  return findBar;
}

void TfrmMain::FormCreate(std::future<core::ArgumentFolder> firstArgument) {
  delete ui->mnuMac;
  ui->mnuMac = nullptr;
  ui->actReloadFile->setEnabled(false);
  if (!firstArgument.valid()) return;

  core::ArgumentFolder opened = firstArgument.get();
  OpenListedFolder(opened.folder, std::move(opened.names));
  if (opened.entryName) SelectEntryNamed(*opened.entryName);
  // The arrow keys move through the pages from the start.
  if (fileList->rowCount() > 0) ui->lsbFile->setFocus();
}

void TfrmMain::SelectEntryNamed(std::u16string_view name) {
  if (const std::optional<int> row = fileList->RowNamed(name)) {
    ui->lsbFile->setCurrentIndex(fileList->index(*row));
  }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->splLeft->handle(1)) LimitSplitterDrag(event->type());
  return QMainWindow::eventFilter(watched, event);
}

// The limit holds only while the splitter is dragged: a drag never leaves the page narrower than
// kMinimumPageWidth at the window width it started with, but resizing the window is not limited.
void TfrmMain::LimitSplitterDrag(QEvent::Type type) {
  if (type == QEvent::MouseButtonPress) ui->pnlMain->setMinimumWidth(kMinimumPageWidth);
  if (type == QEvent::MouseButtonRelease) ui->pnlMain->setMinimumWidth(0);
}

// The left panel starts at its designed width, or wider when its buttons need more, and a larger
// font later widens it to what its buttons need, so that both stay whole side by side; the page
// gives up the width. The panel never becomes narrower here.
void TfrmMain::WidenLeftPanel(int neededWidth) {
  const int listWidth = isVisible() ? ui->splLeft->sizes().front() : kInitialListWidth;
  if (isVisible() && listWidth >= neededWidth) return;
  const int widened = std::max(listWidth, neededWidth);
  ui->splLeft->setSizes({widened, std::max(0, width() - widened - ui->splLeft->handleWidth())});
}

void TfrmMain::lsbFileChange() {
  const QModelIndexList selected = ui->lsbFile->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  const std::u16string name = fileList->Name(selected.front().row());
  ShowFile(core::SelectedFilePath(platform::kPathStyle, FLastOpenFoloder, name));
}

// After its renderer stopped, the selected entry's page comes back when the entry is chosen again.
void TfrmMain::ShowStoppedPageAgain() {
  if (pageArea->ShowsStoppedNotice()) lsbFileChange();
}

void TfrmMain::actOpenFolderExecute() {
  const QString folder =
      QFileDialog::getExistingDirectory(this, ui->btnOpenFolder->text(), QString());
  if (!folder.isEmpty()) OpenFolder(folder.toStdU16String());
}

void TfrmMain::actReloadFileExecute() {
  if (!FLastOpenFoloder.empty()) ListFiles(FLastOpenFoloder);
}

void TfrmMain::actExitExecute() { close(); }

void TfrmMain::actAboutExecute() {
  frmAbout = new TfrmAbout(this);
  frmAbout->exec();
  delete frmAbout;
  frmAbout = nullptr;
}

// The desktop's own "open" for the help page (the shell's on Windows); whether it succeeds is the
// desktop's affair.
void TfrmMain::actHelpExecute() {
  const std::u16string helpPage =
      core::HelpPagePath(platform::kPathStyle, platform::ExecutablePath());
#ifdef _WIN32
  platform::OpenDocument(helpPage);
#else
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdU16String(helpPage)));
#endif
}

void TfrmMain::OpenFolder(const std::u16string& folder) {
  OpenListedFolder(folder, core::ListHtmlFiles(platform::FileSystem(), folder));
}

void TfrmMain::OpenListedFolder(const std::u16string& folder, core::NameList names) {
  fileList->Fill(std::move(names));
  FLastOpenFoloder = folder;
  ui->actReloadFile->setEnabled(true);
}

void TfrmMain::ListFiles(const std::u16string& folder) {
  fileList->Fill(core::ListHtmlFiles(platform::FileSystem(), folder));
}

// The engine loads the page's file in its folder's full path, expanded as the listing expanded it,
// so that the page shown is the file the list read (a relative folder, a link followed by "..").
void TfrmMain::ShowFile(const std::u16string& path) {
  const std::u16string fullPath = core::FullFilePath(platform::FileSystem(), path);
  const std::string url = core::EngineUrlFromPath(platform::kPathStyle, fullPath);
  pageArea->Load(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}
