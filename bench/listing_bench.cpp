// Listing a huge folder: the program's own path against the floor every viewer must pay (read the
// folder, test the masks, sort by the name order), both at 1,000, 10,000 and 100,000 HTML files
// beside as many other files. Then the program against the physical limit, the kernel's own read
// of the folder, at 100,000 and 1,000,000, and the heap its list keeps against the floor's. Prints
// one table and one line per figure; the last line reads "ratio 100000: R".
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QListView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/fixture.h"
#include "bench/median.h"
#include "core/encoding.h"
#include "ui/UfrmMain.h"
#include "ui/page/PageScheme.h"

namespace {

constexpr int kSizes[] = {1000, 10000, 100000};
constexpr int kKernelSizes[] = {100000, 1000000};
constexpr int kPairs = 7;

BenchFolder& FolderOf(int htmlFiles) {
  static std::map<int, std::unique_ptr<BenchFolder>> folders;
  auto& folder = folders[htmlFiles];
  if (!folder) folder = std::make_unique<BenchFolder>(htmlFiles);
  return *folder;
}

bool EndsWithIgnoringAsciiCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<long>(suffix.size()),
                    [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); });
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The floor: read the entries, test the two masks, sort by the name order. Plain C++, no Qt.
std::vector<std::string> FloorListing(const std::string& folder) {
  std::vector<std::string> names;
  DIR* directory = opendir(folder.c_str());
  while (const dirent* entry = readdir(directory)) {
    if (entry->d_type == DT_DIR) continue;
    const std::string_view name = entry->d_name;
    if (EndsWithIgnoringAsciiCase(name, ".html") || EndsWithIgnoringAsciiCase(name, ".htm")) {
      names.emplace_back(name);
    }
  }
  closedir(directory);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return UpperAscii(x) < UpperAscii(y);
    });
  });
  return names;
}

void BM_Floor(benchmark::State& state) {
  const std::string folder = FolderOf(static_cast<int>(state.range(0))).Path().string();
  for (auto _ : state) benchmark::DoNotOptimize(FloorListing(folder));
}

// The program's path: Reload lists the current folder (checks, read, masks, sort, one batch fill),
// then the list lays its entries out.
void BM_Program(benchmark::State& state) {
  const std::string folder = FolderOf(static_cast<int>(state.range(0))).Path().string();
  TfrmMain window({core::DecodeLossless(folder)});
  auto* reload = window.findChild<QAction*>(QStringLiteral("actReloadFile"));
  auto* list = window.findChild<QListView*>(QStringLiteral("lsbFile"));
  for (auto _ : state) {
    reload->trigger();
    list->doItemsLayout();
  }
  state.counters["entries"] = list->model()->rowCount();
}

// Every size, timed in milliseconds, seven repetitions reported by their aggregates.
void AtEverySize(benchmark::internal::Benchmark* benchmark) {
  for (const int size : kSizes) benchmark->Arg(size);
  benchmark->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Floor)->Apply(AtEverySize);
BENCHMARK(BM_Program)->Apply(AtEverySize);

// Keeps the median of every benchmark, by name ("BM_Floor/1000").
class MedianCollector final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") {
        medians[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;  // milliseconds
};

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Heap the list of `htmlFiles` entries adds to the process: the window lists an empty folder
// through a link, the link is turned to the big folder, and Reload fills the list.
double ListHeapBytes(int htmlFiles) {
  const BenchFolder empty(0);
  const std::filesystem::path link = empty.Path().string() + "-link";
  std::filesystem::create_directory_symlink(empty.Path(), link);
  TfrmMain window({core::DecodeLossless(link.string())});
  auto* list = window.findChild<QListView*>(QStringLiteral("lsbFile"));
  list->doItemsLayout();
  const std::size_t before = HeapInUse();
  std::filesystem::remove(link);
  std::filesystem::create_directory_symlink(FolderOf(htmlFiles).Path(), link);
  window.findChild<QAction*>(QStringLiteral("actReloadFile"))->trigger();
  list->doItemsLayout();
  const std::size_t after = HeapInUse();
  std::filesystem::remove(link);
  return static_cast<double>(after) - static_cast<double>(before);
}

// Heap the floor's sorted names keep.
double FloorHeapBytes(int htmlFiles) {
  const std::string folder = FolderOf(htmlFiles).Path().string();
  const std::size_t before = HeapInUse();
  const std::vector<std::string> names = FloorListing(folder);
  return static_cast<double>(HeapInUse()) - static_cast<double>(before);
}

// The physical limit: the kernel's own read of the folder's entries (getdents64, with as large a
// buffer as the program reads with), nothing kept.
std::size_t KernelRead(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  static std::vector<char> buffer(1 << 20);
  std::size_t entries = 0;
  ssize_t filled = 0;
  while ((filled = getdents64(fd, buffer.data(), buffer.size())) > 0) {
    for (ssize_t offset = 0; offset < filled; ++entries) {
      offset += reinterpret_cast<const dirent64*>(buffer.data() + offset)->d_reclen;
    }
  }
  close(fd);
  return entries;
}

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

struct PairedTimes {
  double kernel;   // median, ms
  double program;  // median, ms
  double ratio;    // median of the pairs' ratios
};

// The program's Reload + layout against the kernel's read of the same folder, in pairs run back to
// back in this process (which goes first alternates), so that both see the same machine.
PairedTimes ProgramAgainstKernel(int htmlFiles) {
  const std::string folder = FolderOf(htmlFiles).Path().string();
  TfrmMain window({core::DecodeLossless(folder)});
  auto* reload = window.findChild<QAction*>(QStringLiteral("actReloadFile"));
  auto* list = window.findChild<QListView*>(QStringLiteral("lsbFile"));
  const auto program = [&] {
    reload->trigger();
    list->doItemsLayout();
  };
  const auto kernel = [&] { benchmark::DoNotOptimize(KernelRead(folder)); };
  std::vector<double> kernelTimes, programTimes, ratios;
  for (int pair = 0; pair < kPairs; ++pair) {
    const bool kernelFirst = pair % 2 == 0;
    const double first = MillisecondsOf(kernelFirst ? std::function<void()>(kernel) : program);
    const double second = MillisecondsOf(kernelFirst ? std::function<void()>(program) : kernel);
    kernelTimes.push_back(kernelFirst ? first : second);
    programTimes.push_back(kernelFirst ? second : first);
    ratios.push_back(programTimes.back() / kernelTimes.back());
  }
  return {MedianOf(kernelTimes), MedianOf(programTimes), MedianOf(ratios)};
}

}  // namespace

int main(int argc, char** argv) {
  RegisterPageScheme();
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  MedianCollector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  std::printf("\n%8s %12s %12s %7s %12s\n", "size", "floor ms", "program ms", "ratio", "memory MB");
  double ratio100k = 0;
  for (const int size : kSizes) {
    const double floor = collector.medians["BM_Floor/" + std::to_string(size)];
    const double program = collector.medians["BM_Program/" + std::to_string(size)];
    const double memory = ListHeapBytes(size) / 1e6;
    std::printf("%8d %12.2f %12.2f %7.2f %12.1f\n", size, floor, program, program / floor, memory);
    if (size == 100000) ratio100k = program / floor;
  }

  // Against the kernel's own read, and the heap per entry against the floor's.
  std::printf("\n%8s %10s %11s %7s %12s %12s %7s\n", "size", "kernel ms", "program ms", "ratio",
              "heap B/entry", "floor B/entry", "ratio");
  std::map<int, double> kernelRatios, heapRatios;
  for (const int size : kKernelSizes) {
    const PairedTimes times = ProgramAgainstKernel(size);
    const double heap = ListHeapBytes(size) / size;
    const double floorHeap = FloorHeapBytes(size) / size;
    std::printf("%8d %10.1f %11.1f %7.2f %12.1f %12.1f %7.2f\n", size, times.kernel, times.program,
                times.ratio, heap, floorHeap, heap / floorHeap);
    kernelRatios[size] = times.ratio;
    heapRatios[size] = heap / floorHeap;
  }

  for (const auto& [size, ratio] : heapRatios) {
    std::printf("heap per entry %d: %.2f\n", size, ratio);
  }
  for (const auto& [size, ratio] : kernelRatios) std::printf("kernel %d: %.2f\n", size, ratio);
  std::printf("ratio 100000: %.2f\n", ratio100k);
  return 0;
}
