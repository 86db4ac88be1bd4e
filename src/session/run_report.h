// The texts with which the workbench and the tool report a run: the outcome
// line after a run, trace or step, the line after going back, and the two
// fixed status texts. All are CP932 and begin with one blank, as the message
// line shows them.
#pragma once

#include <cstdint>
#include <string>

// n in decimal with "," between groups of three digits from the right:
// 1234567 gives "1,234,567".
std::string GroupDigits(uint64_t n);

// " 実行終了: <steps>steps(Total:<total>steps)" when the run ended on HALT,
// " 実行停止: ..." otherwise; both numbers grouped.
std::string RunOutcomeText(bool halted, uint64_t steps, uint64_t total);

// " 戻りました: <steps>steps(Total:<total>steps)" after going back <steps>
// instructions to the step count <total>; both numbers grouped.
std::string WentBackText(uint64_t steps, uint64_t total);

// " 実行中", shown while a run or trace is active.
const std::string& RunningText();
// " 初期化完了", shown after a reset.
const std::string& ResetDoneText();
