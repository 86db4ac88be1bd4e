#include "session/case_input_reader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "monitor/screen_cell.h"
#include "persistence/encoding.h"
#include "session/input_ports.h"
#include "session/key_names.h"

namespace {

constexpr uint16_t kSelectedKeyPort = 272;
constexpr uint16_t kMouseButtonsPort = 512;
constexpr uint16_t kMouseOutside16 = 0xFFFF;

struct TKeyChange {
  uint64_t Step;
  uint8_t Key;
  bool Down;
};

class TInputScriptReader {
 public:
  TInputScriptReader(TCaseValueReader& reader, uint64_t maxSteps)
      : reader_(reader), maxSteps_(maxSteps) {}

  void Read(const TJsonValue& item) {
    if (TCaseValueReader::Member(item, "port") != nullptr) {
      ReadPortEvent(item);
    } else if (TCaseValueReader::Member(item, "key") != nullptr) {
      ReadKey(item);
    } else if (TCaseValueReader::Member(item, "timer") != nullptr) {
      ReadTimer(item);
    } else if (TCaseValueReader::Member(item, "mouse") != nullptr) {
      ReadMouse(item);
    } else if (item.Kind != TJsonValue::TKind::Object) {
      reader_.Object(item, {});  // says what stands there instead
    } else {
      reader_.Problem(item.Position,
                      Sjis("入力には port, key, timer, mouse のどれかのキーを書きます"));
    }
  }

  // Fills the case's log with the events in step order (of two at one step
  // and port, the later wins). Keys mixed with events of the keyboard ports
  // are a problem.
  void Finish(const TJsonValue& list, TTestCase& testCase) {
    if (!keyChanges_.empty() && keyboardEvent_) {
      reader_.Problem(
          *keyboardEvent_,
          Sjis("key の入力と同じケースでキーボードのポート (256～272) の値は書けません"));
    }
    AddKeyRowEvents();
    if (events_.size() > kMaxScriptedEvents) {
      reader_.Problem(list.Position, Sjis("入力のイベントが多すぎます (") +
                                         std::to_string(kMaxScriptedEvents) + Sjis(" まで)"));
      return;
    }
    std::stable_sort(events_.begin(), events_.end(),
                     [](const TInputEvent& a, const TInputEvent& b) { return a.Step < b.Step; });
    for (const TInputEvent& event : events_)
      testCase.Input.AppendInput(event);
    testCase.SelectedKeyFromRows = !selectedKeyEvent_;
  }

 private:
  bool ReadStep(const TJsonValue& item, std::string_view key, uint64_t& step) {
    const TJsonValue* value = reader_.Required(item, key);
    return value != nullptr && reader_.Steps(*value, step);
  }

  bool ReadValue(const TJsonValue& value, uint16_t& out) {
    TCaseWord word;
    if (!reader_.Word(value, false, false, word)) return false;
    out = *word.Number;
    return true;
  }

  void ReadPortEvent(const TJsonValue& item) {
    reader_.Object(item, {"step", "port", "value"});
    uint64_t step = 0;
    int64_t port = 0;
    uint16_t value = 0;
    const TJsonValue* portValue = reader_.Required(item, "port");
    const TJsonValue* valueValue = reader_.Required(item, "value");
    const bool ok = ReadStep(item, "step", step) && portValue != nullptr &&
                    reader_.Integer(*portValue, 0, 0xFFFF, port) && valueValue != nullptr &&
                    ReadValue(*valueValue, value);
    if (!ok) return;
    const auto inputPort = static_cast<uint16_t>(port);
    if (!IsInputPort(inputPort)) {
      reader_.Problem(
          portValue->Position,
          Sjis("ポート ") + std::to_string(port) +
              Sjis(" は外から値の来る入力ポートではありません (21, 256～511, 512～515, 768)"));
      return;
    }
    if (inputPort >= kFirstKeyboardPort && inputPort <= kSelectedKeyPort && !keyboardEvent_)
      keyboardEvent_ = portValue->Position;
    if (inputPort == kSelectedKeyPort) selectedKeyEvent_ = true;
    events_.push_back({step, inputPort, value});
  }

  void ReadKey(const TJsonValue& item) {
    reader_.Object(item, {"key", "from", "to"});
    const TJsonValue& keyValue = *TCaseValueReader::Member(item, "key");
    std::optional<uint8_t> key;
    if (keyValue.Kind == TJsonValue::TKind::String) {
      key = VirtualKeyOf(keyValue.Text);
      if (!key)
        reader_.Problem(keyValue.Position,
                        Sjis("キーの名前ではありません: ") + Utf8ToCp932(keyValue.Text));
    } else {
      int64_t code = 0;
      if (reader_.Integer(keyValue, 0, 255, code)) key = static_cast<uint8_t>(code);
    }
    uint64_t from = 0;
    if (!ReadStep(item, "from", from) || !key) return;
    keyChanges_.push_back({from, *key, true});
    if (const TJsonValue* toValue = TCaseValueReader::Member(item, "to")) {
      uint64_t to = 0;
      if (!reader_.Steps(*toValue, to)) return;
      if (to <= from) {
        reader_.Problem(toValue->Position, Sjis("to は from より後のステップにします"));
        return;
      }
      keyChanges_.push_back({to, *key, false});
    }
  }

  void ReadTimer(const TJsonValue& item) {
    reader_.Object(item, {"timer", "from", "every"});
    uint16_t value = 0;
    uint64_t from = 0;
    if (!ReadValue(*TCaseValueReader::Member(item, "timer"), value) ||
        !ReadStep(item, "from", from))
      return;
    uint64_t every = 0;
    const TJsonValue* everyValue = TCaseValueReader::Member(item, "every");
    if (everyValue != nullptr && !reader_.Steps(*everyValue, every)) return;
    if (everyValue != nullptr && every == 0) {
      reader_.Problem(everyValue->Position, Sjis("every は 1 以上にします"));
      return;
    }
    uint64_t count = 1;
    if (every > 0 && from < maxSteps_) count = (maxSteps_ - from + every - 1) / every;
    if (events_.size() + count > kMaxScriptedEvents) {
      reader_.Problem(everyValue->Position,
                      Sjis("every が小さすぎます: ステップ上限までに ") + std::to_string(count) +
                          Sjis(" 個のイベントになります (") + std::to_string(kMaxScriptedEvents) +
                          Sjis(" まで)"));
      return;
    }
    for (uint64_t i = 0; i < count; ++i)
      events_.push_back({from + i * every, kTimerPort, static_cast<uint16_t>(value + i)});
  }

  void ReadMouse(const TJsonValue& item) {
    reader_.Object(item, {"mouse", "buttons", "from"});
    const TJsonValue& place = *TCaseValueReader::Member(item, "mouse");
    uint16_t row = kMouseOutside16;
    uint16_t column = kMouseOutside16;
    bool ok = true;
    if (place.Kind == TJsonValue::TKind::String && place.Text == "outside") {
      // stays outside
    } else if (reader_.Object(place, {"row", "column"})) {
      int64_t r = 0;
      int64_t c = 0;
      const TJsonValue* rowValue = reader_.Required(place, "row");
      const TJsonValue* columnValue = reader_.Required(place, "column");
      ok = rowValue != nullptr && reader_.Integer(*rowValue, 0, kScreenRows - 1, r) &&
           columnValue != nullptr && reader_.Integer(*columnValue, 0, kScreenColumns - 1, c);
      row = static_cast<uint16_t>(r);
      column = static_cast<uint16_t>(c);
    } else {
      ok = false;
    }
    uint16_t buttons = 0;
    if (const TJsonValue* list = TCaseValueReader::Member(item, "buttons"))
      ok = ReadButtons(*list, buttons) && ok;
    uint64_t from = 0;
    if (!ReadStep(item, "from", from) || !ok) return;
    const uint16_t cell = row == kMouseOutside16
                              ? kMouseOutside16
                              : static_cast<uint16_t>(row * kScreenColumns + column);
    // Ports 512..515: buttons, cell, row, column.
    const std::array<uint16_t, 4> values = {buttons, cell, row, column};
    for (size_t i = 0; i < values.size(); ++i)
      events_.push_back({from, static_cast<uint16_t>(kMouseButtonsPort + i), values[i]});
  }

  bool ReadButtons(const TJsonValue& list, uint16_t& buttons) {
    if (!reader_.Array(list)) return false;
    bool ok = true;
    for (const TJsonValue& name : list.Items) {
      const bool isString = name.Kind == TJsonValue::TKind::String;
      if (isString && name.Text == "left") {
        buttons |= 1;
      } else if (isString && name.Text == "right") {
        buttons |= 2;
      } else if (isString && name.Text == "middle") {
        buttons |= 4;
      } else {
        reader_.Problem(name.Position,
                        Sjis("ボタンは \"left\", \"right\", \"middle\" のどれかです"));
        ok = false;
      }
    }
    return ok;
  }

  // The key changes as events of the key rows: at each step where a row's
  // bits change, one event with its new value.
  void AddKeyRowEvents() {
    std::stable_sort(keyChanges_.begin(), keyChanges_.end(),
                     [](const TKeyChange& a, const TKeyChange& b) { return a.Step < b.Step; });
    std::array<uint16_t, 16> rows{};
    for (size_t i = 0; i < keyChanges_.size();) {
      const uint64_t step = keyChanges_[i].Step;
      const std::array<uint16_t, 16> before = rows;
      for (; i < keyChanges_.size() && keyChanges_[i].Step == step; ++i) {
        const TKeyChange& change = keyChanges_[i];
        const auto bit = static_cast<uint16_t>(1u << (change.Key % 16));
        uint16_t& row = rows[change.Key / 16];
        row = change.Down ? (row | bit) : (row & ~bit);
      }
      for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r] != before[r])
          events_.push_back({step, static_cast<uint16_t>(kFirstKeyboardPort + r), rows[r]});
    }
  }

  TCaseValueReader& reader_;
  uint64_t maxSteps_;
  std::vector<TInputEvent> events_;
  std::vector<TKeyChange> keyChanges_;
  std::optional<TJsonPosition> keyboardEvent_;
  bool selectedKeyEvent_ = false;
};

}  // namespace

void ReadCaseInput(TCaseValueReader& reader, const TJsonValue& list, TTestCase& testCase) {
  if (!reader.Array(list)) return;
  TInputScriptReader script(reader, testCase.MaxSteps);
  for (const TJsonValue& item : list.Items)
    script.Read(item);
  script.Finish(list, testCase);
}
