#include <iostream>
#include <string>
#include <vector>

#include "cli/app/native_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tagwright::cli::runNativeProgram(args, std::cout, std::cerr);
}
