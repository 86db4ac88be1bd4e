#include "app/tool_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
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

// The two commands as CLI11 sees them. Flags go straight into the options;
// values are kept as written, every occurrence in order, and checked after
// the parse, so that the checks and their messages are the tool's own.
// Anything CLI11 does not recognise is kept as an extra and reported here.
struct TCommandLine {
  CLI::App app;
  CLI::App* asmCommand = nullptr;
  CLI::App* runCommand = nullptr;
  CLI::App* testCommand = nullptr;
  std::string file;
  std::vector<std::string> machineCode;
  std::vector<std::string> maxSteps;
  std::vector<std::string> dump;
  std::vector<std::string> saveState;
  std::vector<std::string> record;
  std::vector<std::string> replay;
  std::vector<std::string> back;
  std::string caseFile;
  std::vector<std::string> sources;
  std::vector<std::string> jobs;
  std::vector<std::string> json;

  explicit TCommandLine(TToolOptions& options) : app("", "qrx") {
    // No help flag (--help is answered before the parse) and unknown
    // arguments kept as extras: the commands inherit both settings, so they
    // are made before the commands exist. At most one command.
    app.set_help_flag();
    app.allow_extras();
    app.require_subcommand(0, 1);
    asmCommand = app.add_subcommand("asm");
    asmCommand->add_option("SOURCE", file);
    AddFlag(*asmCommand, "--listing", options.Listing);
    AddFlag(*asmCommand, "--labels", options.Labels);
    AddFlag(*asmCommand, "--hints", options.Hints);
    AddValues(*asmCommand, "--machine-code", machineCode);
    runCommand = app.add_subcommand("run");
    runCommand->add_option("FILE", file);
    AddValues(*runCommand, "--max-steps", maxSteps);
    AddFlag(*runCommand, "--regs", options.Regs);
    AddFlag(*runCommand, "--screen", options.Screen);
    AddValues(*runCommand, "--dump", dump);
    AddValues(*runCommand, "--save-state", saveState);
    AddValues(*runCommand, "--record", record);
    AddValues(*runCommand, "--replay", replay);
    AddValues(*runCommand, "--back", back);
    testCommand = app.add_subcommand("test");
    testCommand->add_option("CASES", caseFile);
    testCommand->add_option("SOURCE", sources);
    AddValues(*testCommand, "--jobs", jobs);
    AddValues(*testCommand, "--json", json);
  }

  static void AddFlag(CLI::App& command, const std::string& name, bool& target) {
    command.add_flag(name, target)->disable_flag_override();
  }

  // One value per occurrence, taken even when it begins with "-".
  static void AddValues(CLI::App& command, const std::string& name,
                        std::vector<std::string>& target) {
    command.add_option(name, target)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
};

// CLI11 names the option first in both of its complaints about values: a
// value option at the end of the line ("--dump: ...") and a flag given a
// value ("regs was given ...", without the dashes).
std::string ValueErrorText(const CLI::App& command, const CLI::ArgumentMismatch& mismatch) {
  const std::string_view what = mismatch.what();
  std::string name(what.substr(0, what.find_first_of(": ")));
  if (!name.starts_with("-")) name.insert(0, "--");
  const CLI::Option* option = command.get_option_no_throw(name);
  if (option != nullptr && option->get_expected_max() == 0) return name + " takes no value";
  return name + " needs a value";
}

// An unknown option is named without the value it was given.
std::string OptionName(const std::string& arg) {
  return arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg;
}

// CLI11 takes a few spellings that the tool refuses: a flag with an empty
// or "true" value ("--regs=", "--regs=true") and "--" as the end of the
// options. Such a token is refused unless it was taken as an option's
// value; every occurrence that no option took was read as CLI11's spelling.
bool RefusedSpelling(const std::vector<std::string>& args, const TCommandLine& line,
                     const CLI::App& command, const std::string& commandName, std::string& error) {
  const auto takenAsValue = [&](const std::string& token) {
    size_t count = (line.file == token ? 1 : 0) + (line.caseFile == token ? 1 : 0);
    for (const auto* values :
         {&line.machineCode, &line.maxSteps, &line.dump, &line.saveState, &line.record,
          &line.replay, &line.back, &line.sources, &line.jobs, &line.json})
      count += static_cast<size_t>(std::ranges::count(*values, token));
    return count;
  };
  for (const std::string& arg : args) {
    std::string refusal;
    if (arg == "--") {
      refusal = "unknown option for " + commandName + ": --";
    } else if (arg.starts_with("--") && arg.find('=') != std::string::npos) {
      const CLI::Option* option = command.get_option_no_throw(OptionName(arg));
      if (option != nullptr && option->get_expected_max() == 0)
        refusal = OptionName(arg) + " takes no value";
    }
    if (!refusal.empty() &&
        static_cast<size_t>(std::ranges::count(args, arg)) > takenAsValue(arg)) {
      error = refusal;
      return true;
    }
  }
  return false;
}

// The checks after the parse, each with the tool's message.
bool CheckCommand(const std::vector<std::string>& args, const TCommandLine& line,
                  const std::string& commandName, TToolOptions& options, std::string& error) {
  const CLI::App& command =
      options.Command == TToolCommand::Asm ? *line.asmCommand : *line.runCommand;
  const std::vector<std::string> extras = command.remaining();
  if (!extras.empty()) {
    const std::string& extra = extras.front();
    if (extra.starts_with("-") && extra != "-") {
      error = "unknown option for " + commandName + ": " + OptionName(extra);
    } else {
      error = "more than one file given: " + extra;
    }
    return false;
  }
  if (RefusedSpelling(args, line, command, commandName, error)) return false;
  for (const std::string& text : line.maxSteps) {
    uint64_t steps = 0;
    if (!ParseSteps(text, steps)) {
      error = "--max-steps needs a decimal number: " + text;
      return false;
    }
    options.MaxSteps = steps;
  }
  for (const std::string& text : line.back) {
    uint64_t steps = 0;
    if (!ParseSteps(text, steps)) {
      error = "--back needs a decimal number: " + text;
      return false;
    }
    options.BackSteps = steps;
  }
  for (const std::string& text : line.dump) {
    if (!ParseDump(text, options)) {
      error = "--dump needs START[:COUNT] (COUNT 1 to 65536): " + text;
      return false;
    }
  }
  if (!line.machineCode.empty()) options.MachineCodePath = line.machineCode.back();
  if (!line.saveState.empty()) options.SaveStatePath = line.saveState.back();
  if (!line.record.empty()) options.RecordPath = line.record.back();
  if (!line.replay.empty()) options.ReplayPath = line.replay.back();
  options.File = line.file;
  if (options.File.empty()) {
    error = options.Command == TToolCommand::Asm ? "asm needs a SOURCE" : "run needs a FILE";
    return false;
  }
  return true;
}

// qrx test: a case file, any number of sources, --jobs and --json.
bool CheckTestCommand(const std::vector<std::string>& args, const TCommandLine& line,
                      TToolOptions& options, std::string& error) {
  const CLI::App& command = *line.testCommand;
  const std::vector<std::string> extras = command.remaining();
  if (!extras.empty()) {
    error = "unknown option for test: " + OptionName(extras.front());
    return false;
  }
  if (RefusedSpelling(args, line, command, "test", error)) return false;
  for (const std::string& text : line.jobs) {
    uint64_t jobs = 0;
    if (!ParseSteps(text, jobs) || jobs < 1 || jobs > kMaxJobs) {
      error = "--jobs needs a number from 1 to " + std::to_string(kMaxJobs) + ": " + text;
      return false;
    }
    options.Jobs = static_cast<unsigned>(jobs);
  }
  if (!line.json.empty()) options.JsonReportPath = line.json.back();
  options.CaseFile = line.caseFile;
  options.Sources = line.sources;
  if (options.CaseFile.empty()) {
    error = "test needs a CASES file";
    return false;
  }
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: qrx asm SOURCE [--listing] [--labels] [--hints] [--machine-code FILE]\n"
         "       qrx run FILE [--max-steps N] [--regs] [--dump START[:COUNT]] [--screen]\n"
         "                    [--save-state FILE] [--record LOG] [--replay LOG]\n"
         "                    [--back K]\n"
         "       qrx test CASES [SOURCE...] [--jobs N] [--json REPORT]\n"
         "       qrx --help\n"
         "       qrx --version\n"
         "\n"
         "asm  reads SOURCE with its includes (or restores a state file) and assembles it.\n"
         "     --listing            every listing row: address, label, instruction,\n"
         "                          parameter 1, parameter 2, comment, separated by TAB\n"
         "     --labels             every label: key, value, value-only (1/0), defining line\n"
         "     --hints              after a clean assembly, the likely mistakes that\n"
         "                          assemble silently, as FILE(LINE): text on stderr\n"
         "     --machine-code FILE  writes the pseudo machine-code file\n"
         "     Each error row is written as FILE(LINE): message on stderr before the count.\n"
         "     exit status: 0 clean, 1 assembly errors, 2 the file could not be loaded\n"
         "run  loads FILE like asm and executes it until HALT or the step limit.\n"
         "     --max-steps N        stop after N instructions (no limit by default)\n"
         "     --regs               the registers and the step count\n"
         "     --dump START[:COUNT] COUNT words (16 by default) from START\n"
         "     --screen             the 48 rows of the monitor screen\n"
         "     --save-state FILE    writes the state file after the run\n"
         "     --record LOG         writes the input log of the run: what IN read from the\n"
         "                          frame counter, keys, mouse and timer, one event a line\n"
         "     --replay LOG         IN reads frame counter, keys, mouse and timer from LOG\n"
         "                          (written by --record, or a workbench session's) and\n"
         "                          the run ends at the log's end; a larger --max-steps\n"
         "                          runs on from there with the tool's own inputs\n"
         "     --back K             goes back K instructions before the reports: they, the\n"
         "                          state file and the exit status are those of a run K\n"
         "                          instructions shorter\n"
         "     exit status: 0 halted, 1 stopped by the step limit (or the log's end), 2 the\n"
         "     file or the log could not be loaded\n"
         "test checks programs against the cases of the case file CASES (JSON): each case\n"
         "     runs its own source, or with SOURCEs every case runs on every SOURCE. One\n"
         "     line per case, PASS name or FAIL name: first difference, then N passed, M\n"
         "     failed.\n"
         "     --jobs N             worker threads (the number of cores by default)\n"
         "     --json REPORT        writes every expectation's result as JSON\n"
         "     exit status: 0 all passed, 1 a case failed, 2 the case file is broken (or\n"
         "     the report could not be written)\n"
         "A usage error exits with 64.\n";
}

bool ParseToolOptions(const std::vector<std::string>& args, TToolOptions& options,
                      std::string& error) {
  options = TToolOptions{};
  // --help wins wherever it stands; --version stands alone.
  if (std::ranges::any_of(args, [](const std::string& a) { return a == "--help" || a == "-h"; })) {
    options.Command = TToolCommand::Help;
    return true;
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

  TCommandLine line(options);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    line.app.parse(reversed);
  } catch (const CLI::ArgumentMismatch& mismatch) {
    const CLI::App* command = line.asmCommand->parsed()    ? line.asmCommand
                              : line.testCommand->parsed() ? line.testCommand
                                                           : line.runCommand;
    error = ValueErrorText(*command, mismatch);
    return false;
  } catch (const CLI::ParseError& failure) {
    error = failure.what();
    return false;
  }
  const std::vector<std::string> unknown = line.app.remaining();
  if (!unknown.empty()) {
    error = "unknown command: " + unknown.front();
    return false;
  }
  if (line.asmCommand->parsed()) {
    options.Command = TToolCommand::Asm;
    return CheckCommand(args, line, "asm", options, error);
  }
  if (line.runCommand->parsed()) {
    options.Command = TToolCommand::Run;
    return CheckCommand(args, line, "run", options, error);
  }
  if (line.testCommand->parsed()) {
    options.Command = TToolCommand::Test;
    return CheckTestCommand(args, line, options, error);
  }
  error = "no command given";
  return false;
}
