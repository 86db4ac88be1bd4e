#include "app/tool_options.h"

#include <charconv>
#include <string_view>

#include "assembler/literals.h"
#include "persistence/convert_error.h"

namespace {

constexpr uint32_t kMaxDumpCount = 0x10000;

bool ParseSteps(std::string_view text, uint64_t& steps) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), steps);
  return error == std::errc() && end == text.data() + text.size();
}

// START[:COUNT], both read as the assembler reads a literal.
bool ParseDump(std::string_view text, TToolOptions& options) {
  const size_t colon = text.find(':');
  try {
    options.DumpStart = static_cast<uint16_t>(EvalNumber(text.substr(0, colon)));
    if (colon != std::string_view::npos) {
      const int32_t count = EvalNumber(text.substr(colon + 1));
      if (count <= 0 || static_cast<uint32_t>(count) > kMaxDumpCount) return false;
      options.DumpCount = static_cast<uint32_t>(count);
    }
  } catch (const std::exception&) {
    return false;
  }
  options.Dump = true;
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: qrx asm SOURCE [--listing] [--labels] [--machine-code FILE]\n"
         "       qrx run FILE [--max-steps N] [--regs] [--dump START[:COUNT]] [--screen]\n"
         "                    [--save-state FILE]\n"
         "       qrx --help\n"
         "       qrx --version\n"
         "\n"
         "asm  reads SOURCE with its includes (or restores a state file) and assembles it.\n"
         "     --listing            every listing row: address, label, instruction,\n"
         "                          parameter 1, parameter 2, comment, separated by TAB\n"
         "     --labels             every label: key, value, value-only (1/0), defining line\n"
         "     --machine-code FILE  writes the pseudo machine-code file\n"
         "     exit status: 0 clean, 1 assembly errors, 2 the file could not be loaded\n"
         "run  loads FILE like asm and executes it until HALT or the step limit.\n"
         "     --max-steps N        stop after N instructions (no limit by default)\n"
         "     --regs               the registers and the step count\n"
         "     --dump START[:COUNT] COUNT words (16 by default) from START\n"
         "     --screen             the 48 rows of the monitor screen\n"
         "     --save-state FILE    writes the state file after the run\n"
         "     exit status: 0 halted, 1 stopped by the step limit, 2 the file could not be\n"
         "     loaded\n"
         "A usage error exits with 64.\n";
}

bool ParseToolOptions(const std::vector<std::string>& args, TToolOptions& options,
                      std::string& error) {
  options = TToolOptions{};
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      options.Command = TToolCommand::Help;
      return true;
    }
  }
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  if (args[0] == "--version") {
    if (args.size() != 1) {
      error = "--version takes no arguments";
      return false;
    }
    options.Command = TToolCommand::Version;
    return true;
  }
  if (args[0] == "asm") {
    options.Command = TToolCommand::Asm;
  } else if (args[0] == "run") {
    options.Command = TToolCommand::Run;
  } else {
    error = "unknown command: " + args[0];
    return false;
  }
  const bool isAsm = options.Command == TToolCommand::Asm;

  bool haveFile = false;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (name.starts_with("--")) {
      const size_t equals = name.find('=');
      if (equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
      }
    }
    const auto takeValue = [&](std::string& out) {
      if (value) {
        out = *value;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    const auto flag = [&](bool& out) {
      if (value) {
        error = name + " takes no value";
        return false;
      }
      out = true;
      return true;
    };

    std::string text;
    if (isAsm && name == "--listing") {
      if (!flag(options.Listing)) return false;
    } else if (isAsm && name == "--labels") {
      if (!flag(options.Labels)) return false;
    } else if (isAsm && name == "--machine-code") {
      if (!takeValue(text)) return false;
      options.MachineCodePath = text;
    } else if (!isAsm && name == "--max-steps") {
      uint64_t steps = 0;
      if (!takeValue(text)) return false;
      if (!ParseSteps(text, steps)) {
        error = "--max-steps needs a decimal number: " + text;
        return false;
      }
      options.MaxSteps = steps;
    } else if (!isAsm && name == "--regs") {
      if (!flag(options.Regs)) return false;
    } else if (!isAsm && name == "--screen") {
      if (!flag(options.Screen)) return false;
    } else if (!isAsm && name == "--dump") {
      if (!takeValue(text)) return false;
      if (!ParseDump(text, options)) {
        error = "--dump needs START[:COUNT] (COUNT 1 to 65536): " + text;
        return false;
      }
    } else if (!isAsm && name == "--save-state") {
      if (!takeValue(text)) return false;
      options.SaveStatePath = text;
    } else if (name.starts_with("-") && name != "-") {
      error = "unknown option for " + args[0] + ": " + name;
      return false;
    } else if (haveFile) {
      error = "more than one file given: " + name;
      return false;
    } else {
      options.File = name;
      haveFile = true;
    }
  }
  if (!haveFile || options.File.empty()) {
    error = isAsm ? "asm needs a SOURCE" : "run needs a FILE";
    return false;
  }
  return true;
}
