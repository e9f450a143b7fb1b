#include "foundation/halt.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace tavrin {
namespace {
ExitHook exit_hook = nullptr;
HaltHandler halt_handler = nullptr;
}  // namespace

ExitHook set_exit_hook(ExitHook hook) {
  const ExitHook old = exit_hook;
  exit_hook = hook;
  return old;
}

HaltHandler set_halt_handler(HaltHandler handler) {
  const HaltHandler old = halt_handler;
  halt_handler = handler;
  return old;
}

void flush_all_output() {
  if (exit_hook) exit_hook();
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
}

void halt(int status, std::string_view text) {
  flush_all_output();
  if (!text.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  std::fflush(nullptr);
  if (halt_handler) halt_handler(status);
  std::exit(status);
}

}  // namespace tavrin
