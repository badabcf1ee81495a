// Starts QApplication with this process's arguments and prints, one a line, the arguments Qt left
// in argv after the program's name.
#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  for (int i = 1; i < argc; ++i) std::printf("%s\n", argv[i]);
  return 0;
}
