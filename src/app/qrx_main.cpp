// qrx: the command-line tool. It assembles and runs QRX programs with the
// workbench's core and no display.
#include <cstdio>
#include <string>
#include <vector>

#include "app/tool_asm.h"
#include "app/tool_options.h"
#include "app/tool_run.h"
#include "app/tool_test.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  TToolOptions options;
  std::string error;
  if (!ParseToolOptions(args, options, error)) {
    std::fprintf(stderr, "qrx: %s\n%s", error.c_str(), UsageText());
    return kExitUsage;
  }
  switch (options.Command) {
    case TToolCommand::Help:
      std::fputs(UsageText(), stdout);
      return 0;
    case TToolCommand::Version:
      std::puts("qrx " QRX_VERSION_STRING);
      return 0;
    case TToolCommand::Asm:
      return RunAsmCommand(options);
    case TToolCommand::Run:
      return RunRunCommand(options);
    case TToolCommand::Test:
      return RunTestCommand(options);
  }
  return kExitUsage;
}
