// The entry point of the Windows test programs. Output is unbuffered, so everything a test wrote
// reaches the log even when the process dies, and the first line is written before any test runs:
// a run that ends with no output at all never reached this program (see scripts/wine-test).
#include <stdio.h>

#include <gmock/gmock.h>

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  setvbuf(stderr, nullptr, _IONBF, 0);
  fputs("Windows test program started\n", stdout);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
