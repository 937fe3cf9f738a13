// Writes the commented vyk.cfg template to the file named on the command line (for the package).
#include <cstdio>

#include "core/config_template.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: config-template OUT\n");
    return 2;
  }
  const std::string text = ConfigTemplateText();
  FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return (std::fclose(out) == 0 && written) ? 0 : 1;
}
