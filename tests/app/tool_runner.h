// Runs the built qrx tool and captures its exit status, stdout and stderr.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../persistence/temp_folder.h"

struct TToolRun {
  int exit = -1;
  std::string out;
  std::string err;
};

inline std::string ProgramPath(const std::string& name) {
  return std::string(QRX_TEST_DATA_DIR) + "/" + name;
}

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs qrx with the arguments; its output goes to files in `scratch`. With a
// working folder, qrx runs there.
inline TToolRun RunTool(const TTempFolder& scratch, const std::vector<std::string>& args,
                        const std::string& workingFolder = {}) {
  std::string command;
  if (!workingFolder.empty()) command = "cd " + ShellQuoted(workingFolder) + " && ";
  command += ShellQuoted(QRX_TOOL_PATH);
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  const std::string out = scratch.Path("stdout.txt");
  const std::string err = scratch.Path("stderr.txt");
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
  const int status = std::system(command.c_str());
  TToolRun run;
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = FileText(out);
  run.err = FileText(err);
  return run;
}

// The lines of a text, without their line breaks.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}
