#include <iostream>
#include <string>
#include <vector>

#include "cli/app/linked_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tagwright::cli::runLinkedProgram(args, std::cout, std::cerr);
}
