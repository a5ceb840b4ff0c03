// The updater program: everything happens in RunProgram.
#include <iostream>
#include <string>
#include <vector>

#include "platform/env.h"
#include "service/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vlau::RunProgram(vlau::Env::Default(), args, std::cout, std::cerr);
}
