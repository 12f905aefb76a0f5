#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tagwright::cli {

// The whole program over the linked component; `args` without the
// program name. Returns the exit status.
class ComponentBackEnd;

// The back end over the linked component, as the program uses it; for the
// benchmarks that drive a command's pieces without its command line.
std::unique_ptr<ComponentBackEnd> makeLinkedBackEnd();

int runLinkedProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli
