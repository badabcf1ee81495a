// The program's window as a user sees it, against a minimal Qt WebEngine window (minimal_browser)
// in the same run: start-up with a file argument, switching pages with Down, and the memory of the
// whole process tree. Every moment is seen from outside the process, on the X display: the window's
// map event, the list's first row drawn, the list's newly selected row turning to the highlight
// colour, the page area showing the page's colour. Prints one table and the lines
// "startup 100000 page: R", "startup 100000 list: R", "startup 1 page: R",
// "startup 100000 floor: R", "switch: R", "highlight: MS" and "memory: R".
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/fixture.h"
#include "bench/median.h"
#include "core/encoding.h"
#include "core/folder_listing.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kStartupRounds = 7;
constexpr int kSwitchRuns = 2;
constexpr int kSwitches = 250;
constexpr int kSwitchesBeforeMemory = 50;
constexpr auto kGiveUp = std::chrono::seconds(60);

// Where the page area is in both windows, and the first row of the program's list, in window
// coordinates (the program's list lies below the menu bar and the button strip).
constexpr int kPageX = 800, kPageY = 400;
constexpr int kListLeft = 6, kListTop = 76, kListWidth = 120, kListHeight = 14;
// A column of the program's list right of the switch pages' names and left of its scroll bar,
// where a row shows only its background or the highlight.
constexpr int kHighlightX = 150;

// Page colours as 24-bit pixels; the switch pages alternate between the first two.
constexpr unsigned long kColours[] = {0x176b87, 0x87176b};
constexpr unsigned long kMenuBarColour = 0xeef5fd;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void WritePage(const fs::path& path, unsigned long colour) {
  char css[16];
  std::snprintf(css, sizeof css, "#%06lx", colour);
  std::ofstream(path) << "<!DOCTYPE html><html style=\"background:" << css
                      << "\"><head><meta charset=\"utf-8\"><title>" << path.filename().string()
                      << "</title></head><body><h1>Generated documentation</h1>"
                         "<p>A class, its members and their types.</p></body></html>";
}

// The session of the process being measured, ended by EndRunningSession when the benchmark itself
// is stopped.
volatile sig_atomic_t runningSession = 0;

void EndRunningSession(int signal) {
  if (runningSession > 0) kill(-runningSession, SIGKILL);
  _exit(128 + signal);
}

// A process started in a session of its own, ended with all its descendants.
class Process {
 public:
  explicit Process(const std::vector<std::string>& command) {
    pid_ = fork();
    runningSession = pid_;
    if (pid_ == 0) {
      setsid();
      const int null = open("/dev/null", O_RDWR);
      dup2(null, STDIN_FILENO);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      std::vector<char*> argv;
      for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~Process() {
    for (const pid_t pid : Tree()) kill(pid, SIGKILL);
    waitpid(pid_, nullptr, 0);
    runningSession = 0;
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The process and every descendant it has now.
  std::vector<pid_t> Tree() const {
    std::vector<std::pair<pid_t, pid_t>> parents;  // (pid, parent)
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const std::string name = entry.path().filename();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      std::ifstream stat(entry.path() / "stat");
      std::string line;
      std::getline(stat, line);
      const std::size_t end = line.rfind(')');
      if (end == std::string::npos) continue;
      char state = 0;
      int parent = 0;
      if (std::sscanf(line.c_str() + end + 1, " %c %d", &state, &parent) == 2) {
        parents.emplace_back(std::stoi(name), parent);
      }
    }
    std::vector<pid_t> tree = {pid_};
    for (std::size_t i = 0; i < tree.size(); ++i) {
      for (const auto& [pid, parent] : parents) {
        if (parent == tree[i]) tree.push_back(pid);
      }
    }
    return tree;
  }

  // The proportional set size of the process tree, in bytes.
  double TreePss() const {
    double kilobytes = 0;
    for (const pid_t pid : Tree()) {
      std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
      std::string key;
      double value = 0;
      while (rollup >> key) {
        if (key == "Pss:" && rollup >> value) {
          kilobytes += value;
          break;
        }
      }
    }
    return kilobytes * 1024;
  }

 private:
  pid_t pid_;
};

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// The X display, watched for top-level windows being mapped, and read pixel by pixel.
class XWatch {
 public:
  XWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) {
      std::fprintf(stderr, "window_bench: no X display\n");
      std::exit(1);
    }
    XSetErrorHandler(IgnoreXErrors);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~XWatch() { XCloseDisplay(display_); }
  XWatch(const XWatch&) = delete;
  XWatch& operator=(const XWatch&) = delete;

  // The window, or the one that took its place: a window is made anew when it first holds a
  // browser view's surface.
  Window Latest(Window window) { return NextMapped(Clock::now()).value_or(window); }

  // Forgets the map events seen so far.
  void Drain() {
    XSync(display_, False);
    XEvent event;
    while (XPending(display_) > 0) XNextEvent(display_, &event);
  }

  // The next main window mapped, or nothing once `until` has passed.
  std::optional<Window> NextMapped(Clock::time_point until) {
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect &&
            event.xmap.event == DefaultRootWindow(display_) && IsMainWindow(event.xmap.window)) {
          return event.xmap.window;
        }
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd descriptor = {ConnectionNumber(display_), POLLIN, 0};
      poll(&descriptor, 1, static_cast<int>(left.count()));
    }
  }

  // Tells the main window from the engine's own tiny helper windows.
  bool IsMainWindow(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 && attributes.width > kPageX &&
           attributes.height > kPageY;
  }

  std::optional<unsigned long> Pixel(Window window, int x, int y) {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
  }

  // Whether the window's menu bar is drawn and the list's first row is no longer blank: it shows a
  // name, or the selection.
  bool ListDrawn(Window window) {
    if (Pixel(window, 300, 8) != kMenuBarColour) return false;
    XImage* image = XGetImage(display_, window, kListLeft, kListTop, kListWidth, kListHeight,
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    int drawn = 0;
    for (int y = 0; y < kListHeight; ++y) {
      for (int x = 0; x < kListWidth; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        if (std::min({(pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff}) < 0xc0) ++drawn;
      }
    }
    XDestroyImage(image);
    return drawn >= 10;
  }

  int Height(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 ? attributes.height : 0;
  }

  // The colours of the window's pixels in column x, from the top of the window to row `bottom`.
  std::vector<unsigned long> Column(Window window, int x, int bottom) {
    std::vector<unsigned long> column;
    XImage* image = XGetImage(display_, window, x, 0, 1, bottom + 1, AllPlanes, ZPixmap);
    if (image == nullptr) return column;
    for (int y = 0; y <= bottom; ++y) column.push_back(XGetPixel(image, 0, y) & 0xffffff);
    XDestroyImage(image);
    return column;
  }

  // Gives the window the keyboard and clicks at the point, as a user does before using its keys.
  void Click(Window window, int x, int y) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XWarpPointer(display_, None, window, 0, 0, 0, 0, x, y);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }

  void PressDown() {
    const KeyCode down = XKeysymToKeycode(display_, XK_Down);
    XTestFakeKeyEvent(display_, down, True, CurrentTime);
    XTestFakeKeyEvent(display_, down, False, CurrentTime);
    XFlush(display_);
  }

 private:
  Display* display_;
};

// Polls `done` about every half millisecond until it holds; false once `until` has passed.
bool WaitFor(const std::function<bool()>& done, Clock::time_point until) {
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return true;
}

struct StartupMoments {
  double mapped = 0, list = 0, page = 0;  // ms from the start of the process
};

// Starts the command and times its window until the page shows `colour` (and, with `list`, until
// the list's first row is drawn).
StartupMoments TimeStartup(XWatch& screen, const std::vector<std::string>& command,
                           unsigned long colour, bool list) {
  screen.Drain();
  const Clock::time_point start = Clock::now();
  const Clock::time_point until = start + kGiveUp;
  Process process(command);
  StartupMoments moments;
  std::optional<Window> window = screen.NextMapped(until);
  if (!window) {
    std::fprintf(stderr, "window_bench: %s mapped no window\n", command.front().c_str());
    std::exit(1);
  }
  moments.mapped = MillisecondsSince(start);
  bool listDrawn = !list, pageDrawn = false;
  WaitFor(
      [&] {
        window = screen.Latest(*window);
        if (!listDrawn && screen.ListDrawn(*window)) {
          listDrawn = true;
          moments.list = MillisecondsSince(start);
        }
        if (!pageDrawn && screen.Pixel(*window, kPageX, kPageY) == colour) {
          pageDrawn = true;
          moments.page = MillisecondsSince(start);
        }
        return listDrawn && pageDrawn;
      },
      until);
  if (!listDrawn || !pageDrawn) {
    std::fprintf(stderr, "window_bench: %s never drew its %s\n", command.front().c_str(),
                 listDrawn ? "page" : "list");
    std::exit(1);
  }
  return moments;
}

struct StartupFigures {
  double programMapped, programList, programPage, minimalMapped, minimalPage, floorPage;
  // Medians of the rounds' ratios to the minimal window's page.
  double pageRatio, listRatio, floorRatio;
};

// The three start-ups compared: the program, the minimal window, and the floor (the minimal window
// with the folder listed alongside, see ListAlongside).
struct StartupCommands {
  std::vector<std::string> program, minimal, floor;
};

StartupFigures CompareStartups(XWatch& screen, const StartupCommands& commands) {
  enum Run { kProgram, kMinimal, kFloor };
  const auto time = [&](Run run) {
    if (run == kProgram) return TimeStartup(screen, commands.program, kColours[0], true);
    return TimeStartup(screen, run == kMinimal ? commands.minimal : commands.floor, kColours[0],
                       false);
  };
  // One unmeasured run each, so that all find the page and the folder in the cache.
  for (const Run run : {kProgram, kMinimal, kFloor}) time(run);
  std::vector<double> programMapped, programList, programPage, minimalMapped, minimalPage;
  std::vector<double> floorPage, pageRatios, listRatios, floorRatios;
  for (int round = 0; round < kStartupRounds; ++round) {
    // Which one goes first turns with each round.
    StartupMoments moments[3];
    for (int step = 0; step < 3; ++step) {
      const auto run = static_cast<Run>((round + step) % 3);
      moments[run] = time(run);
    }
    const StartupMoments& ours = moments[kProgram];
    const StartupMoments& theirs = moments[kMinimal];
    programMapped.push_back(ours.mapped);
    programList.push_back(ours.list);
    programPage.push_back(ours.page);
    minimalMapped.push_back(theirs.mapped);
    minimalPage.push_back(theirs.page);
    floorPage.push_back(moments[kFloor].page);
    pageRatios.push_back(ours.page / theirs.page);
    listRatios.push_back(ours.list / theirs.page);
    floorRatios.push_back(moments[kFloor].page / theirs.page);
  }
  return {MedianOf(programMapped), MedianOf(programList), MedianOf(programPage),
          MedianOf(minimalMapped), MedianOf(minimalPage), MedianOf(floorPage),
          MedianOf(pageRatios),    MedianOf(listRatios),  MedianOf(floorRatios)};
}

struct SwitchFigures {
  std::vector<double> switches;    // ms from pressing Down to the next page's colour
  std::vector<double> highlights;  // ms from pressing Down to the next row's highlight
  double pss = 0;                  // bytes, after kSwitchesBeforeMemory switches
};

// Whether two pixels differ by little in each channel: the highlight of a list with the keyboard
// is a gradient with darker edges.
bool NearColour(unsigned long a, unsigned long b) {
  constexpr long kTolerance = 0x20;
  for (const int shift : {0, 8, 16}) {
    const long difference =
        static_cast<long>((a >> shift) & 0xff) - static_cast<long>((b >> shift) & 0xff);
    if (std::abs(difference) > kTolerance) return false;
  }
  return true;
}

// The selected row of the program's list as column kHighlightX shows it: a band of the highlight
// colour. The row below it is where Down draws the highlight next, as long as that row lies wholly
// inside the list; after that the list scrolls and the band stays where it is.
class HighlightBand {
 public:
  // The band of the selected row under the point (kHighlightX, y), and the list's visible rows.
  HighlightBand(XWatch& screen, Window window, int y) {
    column_ = screen.Column(window, kHighlightX, screen.Height(window) - 1);
    colour_ = column_.at(static_cast<std::size_t>(y));
    FindBand(y);
    const unsigned long background = column_.at(static_cast<std::size_t>(bottom_ + 1));
    listBottom_ = bottom_ + 1;
    while (listBottom_ + 1 < static_cast<int>(column_.size()) &&
           column_[static_cast<std::size_t>(listBottom_ + 1)] == background) {
      ++listBottom_;
    }
  }

  // Where the next row shows the highlight once drawn: half a band below this band. Nothing when
  // that row may not lie wholly inside the list, with a few pixels to spare.
  std::optional<int> NextRowProbe() const {
    const int height = bottom_ - top_ + 1;
    if (bottom_ + 2 * height + kSpare > listBottom_) return std::nullopt;
    return bottom_ + 1 + height / 2;
  }

  // Whether the pixel shows the highlight.
  bool Highlights(std::optional<unsigned long> pixel) const {
    return pixel && NearColour(*pixel, colour_);
  }

  // Follows the highlight to the row around `y`, once it has been drawn there.
  void MoveTo(XWatch& screen, Window window, int y) {
    column_ = screen.Column(window, kHighlightX, listBottom_);
    FindBand(y);
  }

 private:
  static constexpr int kSpare = 6;

  void FindBand(int y) {
    top_ = bottom_ = y;
    while (top_ > 0 && NearColour(column_[static_cast<std::size_t>(top_ - 1)], colour_)) --top_;
    while (bottom_ + 1 < static_cast<int>(column_.size()) &&
           NearColour(column_[static_cast<std::size_t>(bottom_ + 1)], colour_)) {
      ++bottom_;
    }
  }

  std::vector<unsigned long> column_;
  unsigned long colour_ = 0;
  int top_ = 0, bottom_ = 0, listBottom_ = 0;
};

// Starts the command on the first switch page, then presses Down kSwitches times, each time
// waiting for the other colour and, with `list`, for the newly selected row's highlight while that
// row lies inside the list.
SwitchFigures TimeSwitches(XWatch& screen, const std::vector<std::string>& command, bool list) {
  screen.Drain();
  const Clock::time_point until = Clock::now() + kGiveUp;
  Process process(command);
  std::optional<Window> window = screen.NextMapped(until);
  const auto shows = [&](unsigned long colour) {
    return WaitFor(
        [&] {
          window = screen.Latest(*window);
          return screen.Pixel(*window, kPageX, kPageY) == colour;
        },
        Clock::now() + std::chrono::seconds(10));
  };
  if (!window || !shows(kColours[0])) {
    std::fprintf(stderr, "window_bench: %s never showed its first page\n", command.front().c_str());
    std::exit(1);
  }
  // The program's list gets the keyboard by a click on its selected first row; the click falls
  // on the minimal window's page, where it does nothing.
  screen.Click(*window, kListLeft + 20, kListTop + kListHeight / 2);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  window = screen.Latest(*window);
  std::optional<HighlightBand> band;
  if (list) band.emplace(screen, *window, kListTop + kListHeight / 2);
  SwitchFigures figures;
  for (int i = 1; i <= kSwitches; ++i) {
    const std::optional<int> probe = band ? band->NextRowProbe() : std::nullopt;
    std::optional<double> highlight;
    bool switched = false;
    const Clock::time_point start = Clock::now();
    screen.PressDown();
    WaitFor(
        [&] {
          window = screen.Latest(*window);
          if (probe && !highlight && band->Highlights(screen.Pixel(*window, kHighlightX, *probe))) {
            highlight = MillisecondsSince(start);
          }
          if (!switched && screen.Pixel(*window, kPageX, kPageY) == kColours[i % 2]) {
            switched = true;
            figures.switches.push_back(MillisecondsSince(start));
          }
          return switched && (!probe || highlight);
        },
        start + std::chrono::seconds(10));
    if (!switched || (probe && !highlight)) {
      std::fprintf(stderr, "window_bench: %s did not %s\n", command.front().c_str(),
                   switched ? "draw the new selection" : "switch pages");
      std::exit(1);
    }
    if (highlight) {
      figures.highlights.push_back(*highlight);
      band->MoveTo(screen, *window, *probe);
    }
    // Lets the window finish what follows the page's first frame, as between a user's presses.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (i == kSwitchesBeforeMemory) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      figures.pss = process.TreePss();
    }
  }
  return figures;
}

fs::path OwnPath() { return fs::read_symlink("/proc/self/exe"); }

fs::path OwnFolder() { return OwnPath().parent_path(); }

constexpr const char* kListAlongside = "--list-alongside";

// The floor of a start-up with a file argument on these cores: the minimal window, while the
// program's own listing code lists the page's folder at the same moment and priority in a process
// of its own, sharing nothing with the window (it neither waits for the list nor shows it).
[[noreturn]] void ListAlongside(const char* minimal, const char* page) {
  if (fork() == 0) {
    try {
      core::ListArgumentFolder(platform::FileSystem(), core::DecodeLossless(page));
    } catch (...) {
    }
    _exit(0);
  }
  execl(minimal, minimal, page, nullptr);
  _exit(127);
}

void PrintStartup(const char* label, const StartupFigures& figures) {
  std::printf("%-22s %9.0f %9.0f %9.0f %9.0f %9.0f %9.0f %7.2f %7.2f %7.2f\n", label,
              figures.programMapped, figures.programList, figures.programPage,
              figures.minimalMapped, figures.minimalPage, figures.floorPage, figures.listRatio,
              figures.pageRatio, figures.floorRatio);
}

// Start-up in a folder of 100,000 pages and in a folder of one; returns the figure lines.
std::string CompareStartupsInFolders(XWatch& screen, const std::string& program,
                                     const std::string& minimal) {
  const auto commands = [&](const fs::path& page) {
    return StartupCommands{{program, page.string()},
                           {minimal, page.string()},
                           {OwnPath().string(), kListAlongside, minimal, page.string()}};
  };
  BenchFolder huge(100000);
  BenchFolder single(0);
  const fs::path hugePage = huge.Path() / "index.html";
  const fs::path singlePage = single.Path() / "index.html";
  WritePage(hugePage, kColours[0]);
  WritePage(singlePage, kColours[0]);
  std::printf(
      "\nstart-up with a file argument, ms from starting the process (medians of %d rounds)"
      "\n%-22s %9s %9s %9s %9s %9s %9s %7s %7s %7s\n",
      kStartupRounds, "", "mapped", "list", "page", "min map", "min page", "floor", "list x",
      "page x", "floor x");
  const StartupFigures hugeFigures = CompareStartups(screen, commands(hugePage));
  PrintStartup("100,000 (+100,000)", hugeFigures);
  const StartupFigures singleFigures = CompareStartups(screen, commands(singlePage));
  PrintStartup("1 page", singleFigures);
  char lines[200];
  std::snprintf(lines, sizeof lines,
                "startup 100000 page: %.2f\nstartup 100000 list: %.2f\nstartup 1 page: %.2f\n"
                "startup 100000 floor: %.2f\n",
                hugeFigures.pageRatio, hugeFigures.listRatio, singleFigures.pageRatio,
                hugeFigures.floorRatio);
  return lines;
}

// Page switches and memory in a folder of light pages; returns the figure lines.
std::string CompareSwitches(XWatch& screen, const std::string& program,
                            const std::string& minimal) {
  BenchFolder switching(0);
  std::vector<std::string> switchPages;
  for (int i = 0; i <= kSwitches; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "page_%04d.html", i);
    switchPages.push_back((switching.Path() / name).string());
    WritePage(switchPages.back(), kColours[i % 2]);
  }
  std::vector<std::string> minimalSwitching = {minimal};
  minimalSwitching.insert(minimalSwitching.end(), switchPages.begin(), switchPages.end());
  std::vector<double> programSwitches, minimalSwitches, highlights, programPss, minimalPss;
  for (int run = 0; run < kSwitchRuns; ++run) {
    for (const bool ours : run % 2 == 0 ? std::vector{true, false} : std::vector{false, true}) {
      const SwitchFigures figures = TimeSwitches(
          screen, ours ? std::vector<std::string>{program, switchPages.front()} : minimalSwitching,
          ours);
      auto& switches = ours ? programSwitches : minimalSwitches;
      switches.insert(switches.end(), figures.switches.begin(), figures.switches.end());
      highlights.insert(highlights.end(), figures.highlights.begin(), figures.highlights.end());
      (ours ? programPss : minimalPss).push_back(figures.pss);
    }
  }
  if (highlights.empty()) {
    std::fprintf(stderr, "window_bench: no selected row lay inside the program's list\n");
    std::exit(1);
  }
  const double switchRatio = MedianOf(programSwitches) / MedianOf(minimalSwitches);
  const double memoryRatio = MedianOf(programPss) / MedianOf(minimalPss);
  std::printf(
      "\npage switch, Down to the next page drawn (median of %zu): program %.1f ms, "
      "minimal %.1f ms, ratio %.2f\n",
      programSwitches.size(), MedianOf(programSwitches), MedianOf(minimalSwitches), switchRatio);
  std::printf(
      "highlight, Down to the newly selected row drawn in the list (median of the %zu switches "
      "whose row lay inside the list): %.1f ms\n",
      highlights.size(), MedianOf(highlights));
  std::printf(
      "memory after %d switches, the process tree's PSS: program %.1f MB, minimal %.1f MB, "
      "ratio %.2f\n",
      kSwitchesBeforeMemory, MedianOf(programPss) / 1e6, MedianOf(minimalPss) / 1e6, memoryRatio);
  char lines[80];
  std::snprintf(lines, sizeof lines, "switch: %.2f\nhighlight: %.1f\nmemory: %.2f\n", switchRatio,
                MedianOf(highlights), memoryRatio);
  return lines;
}

}  // namespace

// Usage: window_bench [startup] [switch] (both when none is named). The floor's start-ups run it
// as: window_bench --list-alongside MINIMAL PAGE.
int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == kListAlongside) ListAlongside(argv[2], argv[3]);
  const std::set<std::string> named(argv + 1, argv + argc);
  const auto runs = [&](const char* part) { return named.empty() || named.contains(part); };
  const std::string program = (OwnFolder().parent_path() / "vellumine").string();
  const std::string minimal = (OwnFolder() / "minimal_browser").string();
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, EndRunningSession);
  XWatch screen;
  std::string figures;
  if (runs("startup")) figures += CompareStartupsInFolders(screen, program, minimal);
  if (runs("switch")) figures += CompareSwitches(screen, program, minimal);
  std::fputs(figures.c_str(), stdout);
  return 0;
}
