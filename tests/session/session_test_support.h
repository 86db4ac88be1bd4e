// Helpers for the tests of the state file and of TProgramSession: a session
// with its own monitor, and a picture of everything a session holds, to tell
// whether a failed load changed anything.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/memory_stream.h"
#include "session/program_session.h"

// A session and the monitor it drives.
struct TSessionRig {
  std::unique_ptr<TMonitorModel> monitor = std::make_unique<TMonitorModel>();
  std::unique_ptr<TProgramSession> session = std::make_unique<TProgramSession>(*monitor);

  TLoadResult Load(const std::string& path) {
    TLoadOutcome outcome;
    return session->LoadFile(path, outcome);
  }
  TLoadResult Load(const std::string& path, TLoadOutcome& outcome) {
    return session->LoadFile(path, outcome);
  }
};

// Everything a session holds that a load may change.
struct TSessionPicture {
  std::string machine;
  std::string monitor;
  std::vector<std::string> breakpoints;
  std::vector<std::string> files;
  std::vector<int32_t> stamps;
  std::vector<std::string> selectedList;
  std::vector<std::string> visibleList;
  std::vector<std::string> lines;
  // Each listing row with what its record says (reads through the record
  // pointer, so a dangling row shows up under the sanitizers).
  std::vector<std::string> listing;
  std::vector<std::string> labels;
  int errorLines = 0;
  uint64_t steps = 0;
  int32_t callDepth = 0;
  int32_t referenceDepth = 0;

  bool operator==(const TSessionPicture&) const = default;
};

inline std::vector<std::string> Strings(const TCustomStringList& list) {
  return list.ToVector();
}

inline TSessionPicture Picture(const TProgramSession& session) {
  TSessionPicture p;
  TMemoryStream machine;
  session.Machine().SaveToStream(machine);
  p.machine = machine.Bytes();
  TMemoryStream monitor;
  session.Monitor().SaveToStream(monitor);
  p.monitor = monitor.Bytes();
  p.breakpoints = Strings(session.Breakpoints());
  p.files = Strings(session.Files());
  for (int i = 0; i < session.Files().Count(); ++i)
    p.stamps.push_back(session.Files().TimeStamp(i));
  p.selectedList = Strings(session.SelectedLabelList());
  p.visibleList = Strings(session.VisibleUnitList());
  const TQRXAssembler& assembler = session.Assembler();
  p.lines = Strings(assembler.Lines());
  const TListingRows& rows = assembler.Listing();
  for (int r = 0; r < rows.Count(); ++r) {
    const TAsmLine* line = rows.Ref(r);
    p.listing.push_back(rows[r] + "|" + std::to_string(line->LineIndex) + "|" +
                        std::to_string(line->Address) + "|" + std::to_string(line->ErrorCode) +
                        "|" + std::to_string(line->InstructionWord) + "|" + line->Mnemonic);
  }
  const TKwList& labels = assembler.Labels();
  for (int i = 0; i < labels.Count(); ++i)
    p.labels.push_back(labels[i] + "=" + std::to_string(labels.RecordAt(i).Value) +
                       (labels.RecordAt(i).Selected ? "*" : ""));
  p.errorLines = assembler.ErrorLineCount();
  p.steps = session.Machine().StepCount;
  p.callDepth = session.Machine().CallDepth;
  p.referenceDepth = session.ReferenceDepth();
  return p;
}

// Source text from lines, each ended by CR LF.
inline std::string SourceText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}
