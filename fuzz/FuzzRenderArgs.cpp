// Splits the input at NUL bytes into a command line for morvane-render.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/RenderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  RenderOptions options;
  std::string error;
  if (ParseRenderOptions(args, options, error)) {
    // Whatever parses must be usable as it stands.
    if (options.tempo < 10 || options.tempo > 280 || options.subdivisions < 1 || options.subdivisions > 8 ||
        options.measure < 0 || options.measure > 11)
      __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();  // every refusal says why
  }
  return 0;
}
