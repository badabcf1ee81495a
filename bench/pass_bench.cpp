// Loads a page starts and drops after the program has granted them a pass for the engine's file
// loader: half stopped before they follow their pass, half blocked on the way to it by the page's
// own Content-Security-Policy. What the passes left behind is measured in the window's own process
// (memory once the page is left, the next page's load) and in the program itself (Exit right after
// the page). Prints "pass memory after leaving: MB", "next page after churn: MS" and
// "exit after churn: MS".
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/fixture.h"
#include "core/encoding.h"
#include "ui/UfrmMain.h"
#include "ui/page/LocalFiles.h"
#include "ui/page/PageScheme.h"

// Last: Xlib defines names Qt uses.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr long kDefaultLoads = 1'000'000;
// The stopped half goes in batches: each is started, left to the program while the page's thread
// is kept busy (so that the redirects to the passes wait unread), then stopped.
constexpr int kStoppedBatch = 400;
constexpr int kHoldMs = 40;
// The blocked half keeps this many loads under way.
constexpr int kBlockedBatch = 400;
constexpr auto kGiveUp = std::chrono::minutes(15);
constexpr int kSettleMs = 3000;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void WritePlainPage(const fs::path& path) {
  std::ofstream(path) << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>"
                      << path.stem().string() << "</title></head><body><h1>Generated "
                      << "documentation</h1><p>A class, its members and their types.</p></body>"
                         "</html>";
}

// churn.html stops `half` image loads, then shows blocked.html in a frame, which has `half` more
// blocked; then it loads done.css and takes the title "done". The query makes each load's URL
// distinct, so that none is answered from the engine's memory cache.
void WriteChurnPages(const fs::path& folder, long half) {
  static constexpr char kGif[] =
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
      "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
  std::ofstream(folder / "i.gif", std::ios::binary).write(kGif, sizeof kGif - 1);
  std::ofstream(folder / "done.css") << "body { margin: 1px; }";
  const std::string head = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">";
  std::ofstream(folder / "churn.html") << head << "<title>churn</title></head><body><script>\n"
                                       << "const loads = " << half << ", batch = " << kStoppedBatch
                                       << ", hold = " << kHoldMs << ";\n"
                                       << R"(let started = 0;
const channel = new MessageChannel();
channel.port1.onmessage = step;
function step() {
  const until = performance.now() + hold;
  while (performance.now() < until) {}
  window.stop();
  if (started >= loads) return startBlocked();
  for (let i = 0; i < batch && started < loads; ++i) new Image().src = 'i.gif?n=' + started++;
  channel.port2.postMessage(0);
}
function startBlocked() {
  addEventListener('message', () => {
    const done = document.createElement('link');
    done.rel = 'stylesheet';
    done.href = 'done.css';
    document.head.append(done);
    document.title = 'done';
  });
  const frame = document.createElement('iframe');
  frame.src = 'blocked.html';
  document.body.append(frame);
}
onload = () => channel.port2.postMessage(0);
</script></body></html>)";
  std::ofstream(folder / "blocked.html")
      << head << R"(<meta http-equiv="Content-Security-Policy" content="img-src 'self'">)"
      << "<title>blocked</title></head><body><script>\n"
      << "const loads = " << half << ", batch = " << kBlockedBatch << ";\n"
      << R"(let started = 0, ended = 0;
function end() {
  if (++ended === loads) parent.postMessage('done', '*');
  else if (ended === started) more();
}
function more() {
  for (let i = 0; i < batch && started < loads; ++i) {
    const image = new Image();
    image.onload = image.onerror = end;
    image.src = 'i.gif?b=' + started++;
  }
}
more();
</script></body></html>)";
}

// The process's memory in MB from /proc/PID/smaps_rollup, by its key ("Rss:", "Pss:").
double MegabytesOf(pid_t pid, const std::string& wanted) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string key;
  double kilobytes = 0;
  while (rollup >> key) {
    if (key == wanted && rollup >> kilobytes) break;
  }
  return kilobytes / 1024;
}

pid_t ParentOf(const fs::path& process) {
  std::ifstream stat(process / "stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t end = line.rfind(')');
  char state = 0;
  int parent = 0;
  if (end == std::string::npos ||
      std::sscanf(line.c_str() + end + 1, " %c %d", &state, &parent) != 2)
    return 0;
  return parent;
}

// Every process descended from `root`.
std::vector<pid_t> DescendantsOf(pid_t root) {
  std::vector<std::pair<pid_t, pid_t>> parents;  // (pid, parent)
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    parents.emplace_back(std::stoi(name), ParentOf(entry.path()));
  }
  std::vector<pid_t> tree = {root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [pid, parent] : parents) {
      if (parent == tree[i]) tree.push_back(pid);
    }
  }
  tree.erase(tree.begin());
  return tree;
}

struct Memory {
  double rss = 0, pss = 0, helpers = 0;  // helpers: PSS of the engine's processes
};

Memory OwnMemory() {
  Memory memory{MegabytesOf(getpid(), "Rss:"), MegabytesOf(getpid(), "Pss:"), 0};
  for (const pid_t helper : DescendantsOf(getpid())) memory.helpers += MegabytesOf(helper, "Pss:");
  return memory;
}

// The page file server, counting the passes it grants: one for every resource it is asked for,
// since every resource of the churn pages is a regular file.
class CountingServer final : public QWebEngineUrlSchemeHandler {
 public:
  CountingServer(QWebEngineUrlSchemeHandler* server, QObject* parent)
      : QWebEngineUrlSchemeHandler(parent), server_(server) {}

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    if (job->requestHeaders().contains(kResourceHeader)) ++granted;
    server_->requestStarted(job);
  }

  long granted = 0;

 private:
  QWebEngineUrlSchemeHandler* server_;
};

// Counts the loads that come to the engine's file loader with their pass.
class UsedPasses final : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl url = info.requestUrl();
    if (KindOf(url) == LocalUrlKind::File && url.query().startsWith(QLatin1String("pass="))) ++used;
  }

  long used = 0;
};

void RunFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// Selects the page in the list and runs the event loop until the connection `finished` makes
// quits it; the ms taken.
double Select(
    TfrmMain& window, const QString& name,
    const std::function<QMetaObject::Connection(QWebEngineView*, QEventLoop*)>& finished) {
  auto* list = window.findChild<QListView*>(QStringLiteral("lsbFile"));
  const QModelIndexList found =
      list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
  QEventLoop loop;
  const QMetaObject::Connection connection =
      finished(window.findChild<QWebEngineView*>(QStringLiteral("webMain")), &loop);
  QTimer::singleShot(kGiveUp, &loop, [&name] {
    std::fprintf(stderr, "pass_bench: %s never finished\n", qPrintable(name));
    std::exit(1);
  });
  const Clock::time_point start = Clock::now();
  list->setCurrentIndex(found.value(0));
  loop.exec();
  QObject::disconnect(connection);
  return MillisecondsSince(start);
}

double LoadPage(TfrmMain& window, const QString& name) {
  return Select(window, name, [](QWebEngineView* view, QEventLoop* loop) {
    return QObject::connect(view, &QWebEngineView::loadFinished, loop, &QEventLoop::quit);
  });
}

// Ms until the churn page takes the title "done".
double Churn(TfrmMain& window) {
  return Select(window, QStringLiteral("churn.html"), [](QWebEngineView* view, QEventLoop* loop) {
    return QObject::connect(view, &QWebEngineView::titleChanged, loop,
                            [loop](const QString& title) {
                              if (title == u"done") loop->quit();
                            });
  });
}

struct WindowFigures {
  Memory start, churned, left;
  double nextBefore = 0, nextAfter = 0, churnSeconds = 0;
  long granted = 0, used = 0;
};

// The window in this process: memory before the churn page, once it is done and once the next
// page has loaded (and a few seconds passed), and that load's time against one before the churn.
WindowFigures MeasureWindow(const fs::path& folder) {
  TfrmMain window({core::DecodeLossless(folder.string())});
  window.show();
  auto* view = window.findChild<QWebEngineView*>(QStringLiteral("webMain"));
  QWebEngineProfile* profile = view->page()->profile();
  auto* server = profile->findChild<QWebEngineUrlSchemeHandler*>();
  profile->removeUrlSchemeHandler(server);
  auto* counting = new CountingServer(server, profile);
  profile->installUrlSchemeHandler(PageScheme(), counting);
  UsedPasses usedPasses;
  view->page()->setUrlRequestInterceptor(&usedPasses);

  WindowFigures figures;
  LoadPage(window, QStringLiteral("start.html"));
  figures.nextBefore = LoadPage(window, QStringLiteral("next.html"));
  RunFor(kSettleMs);
  figures.start = OwnMemory();
  figures.churnSeconds = Churn(window) / 1000;
  figures.churned = OwnMemory();
  figures.granted = counting->granted;
  figures.used = usedPasses.used;
  figures.nextAfter = LoadPage(window, QStringLiteral("next.html"));
  RunFor(kSettleMs);
  figures.left = OwnMemory();
  return figures;
}

// The program started on a page, in a session of its own.
pid_t StartProgram(const fs::path& program, const fs::path& page) {
  const pid_t pid = fork();
  if (pid == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(program.c_str(), program.c_str(), page.c_str(), nullptr);
    _exit(127);
  }
  return pid;
}

// A watch for the file's opening.
int WatchOpening(const fs::path& file) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, file.c_str(), IN_OPEN);
  return watch;
}

// Waits until the watched file is opened; false once the time is up.
bool Opened(int watch) {
  pollfd descriptor = {watch, POLLIN, 0};
  const bool opened =
      poll(&descriptor, 1, static_cast<int>(std::chrono::milliseconds(kGiveUp).count())) > 0;
  close(watch);
  return opened;
}

unsigned long PidOfWindow(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  unsigned long pid = 0;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data != nullptr && count == 1) {
    pid = *reinterpret_cast<unsigned long*>(data);
  }
  if (data != nullptr) XFree(data);
  return pid;
}

// The process's largest top-level window on screen: its main window.
Window MainWindowOf(Display* display, pid_t pid) {
  Window root = 0, parent = 0, best = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  long bestArea = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, children[i], &attributes) == 0 ||
        attributes.map_state != IsViewable ||
        PidOfWindow(display, children[i]) != static_cast<unsigned long>(pid)) {
      continue;
    }
    const long area = static_cast<long>(attributes.width) * attributes.height;
    if (area > bestArea) {
      best = children[i];
      bestArea = area;
    }
  }
  if (children != nullptr) XFree(children);
  return best;
}

// Closes the window as the window system's close button does; the window then closes as Exit
// closes it.
void AskToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// Ms from asking the window to close until the process has ended.
double TimeExit(Display* display, pid_t pid) {
  const Window window = MainWindowOf(display, pid);
  if (window == 0) return -1;
  const Clock::time_point start = Clock::now();
  AskToClose(display, window);
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Clock::now() - start > kGiveUp) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return MillisecondsSince(start);
}

// The program itself run on the churn page and closed once the page is done: ms until it ended.
double MeasureExit(const fs::path& program, const fs::path& folder) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "pass_bench: no X display\n");
    std::exit(1);
  }
  const int watch = WatchOpening(folder / "done.css");
  const pid_t pid = StartProgram(program, folder / "churn.html");
  double milliseconds = -1;
  if (Opened(watch)) milliseconds = TimeExit(display, pid);
  kill(-pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  if (milliseconds < 0) {
    std::fprintf(stderr, "pass_bench: the program did not finish the page or did not end\n");
    std::exit(1);
  }
  return milliseconds;
}

void Report(const WindowFigures& window, double exit, long loads) {
  std::printf("%ld loads asked for in %.1f s; passes granted: %ld, used: %ld, never used: %ld\n",
              loads, window.churnSeconds, window.granted, window.used,
              window.granted - window.used);
  std::printf("window's process    RSS MB  PSS MB  engine's processes PSS MB\n");
  const auto row = [](const char* when, const Memory& memory) {
    std::printf("%-18s %7.1f %7.1f %10.1f\n", when, memory.rss, memory.pss, memory.helpers);
  };
  row("before the page", window.start);
  row("page done", window.churned);
  row("page left", window.left);
  std::printf("next page: before %.1f ms, after %.1f ms; exit after the page: %.1f ms\n",
              window.nextBefore, window.nextAfter, exit);
  std::printf(
      "pass memory after leaving: %.1f\nnext page after churn: %.1f\n"
      "exit after churn: %.1f\n",
      window.left.rss - window.start.rss, window.nextAfter, exit);
}

}  // namespace

int main(int argc, char** argv) {
  const long loads = argc > 1 ? std::atol(argv[1]) : kDefaultLoads;
  const BenchFolder folder(0);
  WritePlainPage(folder.Path() / "start.html");
  WritePlainPage(folder.Path() / "next.html");
  WriteChurnPages(folder.Path(), loads / 2);
  const fs::path program =
      fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "vellumine";
  // Before this process starts an engine of its own, which would compete for the cores.
  const double exitMs = MeasureExit(program, folder.Path());

  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  AddEngineSwitches();
  RegisterPageScheme();
  QApplication application(argc, argv);
  Report(MeasureWindow(folder.Path()), exitMs, loads);
  return 0;
}
