#include "history_fixture.h"

#include <array>
#include <sstream>

namespace {

constexpr int kMainInstructions = 300;
constexpr int kSubroutines = 8;

// Ports IN reads: every input port kind and the screen ports.
constexpr std::array<uint16_t, 22> kInPorts = {21,  256, 257, 260, 265, 271, 272, 300,
                                               512, 513, 514, 515, 768, 768, 17,  18,
                                               19,  32,  35,  39,  41,  49};
// Ports OUT writes: the screen, the selected key, the timer, the frame counter.
constexpr std::array<uint16_t, 20> kOutPorts = {16, 17, 17, 17, 18, 19, 20,  21,  32,  33,
                                                34, 36, 38, 41, 48, 50, 272, 272, 768, 768};

uint16_t Pick(std::mt19937& rng, size_t low, size_t high) {
  return static_cast<uint16_t>(std::uniform_int_distribution<size_t>(low, high)(rng));
}

uint16_t DataAddress(std::mt19937& rng) {
  return Pick(rng, kDataStart, kDataStart + kDataWords - 1);
}

// An instruction whose operand word 1 is a jump or call target still to be
// placed: a start in the same body, or the entry of a subroutine.
struct TDraft {
  std::vector<uint16_t> words;
  enum { None, Local, Subroutine } target = None;
  int subroutine = 0;
};

// One instruction that stays in its body: no RET, calls only to the
// subroutines after `firstCallable`, PUSH always followed by a POP.
TDraft RandomInstruction(std::mt19937& rng, int firstCallable) {
  const uint16_t d = DataAddress(rng);
  const unsigned m2 = Pick(rng, 1, 3);  // immediate, direct or indirect
  const uint16_t w2 = m2 == 1 ? Pick(rng, 0, 0xFFFF) : DataAddress(rng);
  switch (Pick(rng, 0, 14)) {
    case 0:
    case 1:
    case 2:  // IN d, #port
      return {{0x5009, d, kInPorts[Pick(rng, 0, kInPorts.size() - 1)]}};
    case 3:
    case 4:
    case 5:  // OUT #port, value
      return {{static_cast<uint16_t>(0x5104 + m2), kOutPorts[Pick(rng, 0, kOutPorts.size() - 1)],
               m2 == 1 ? Pick(rng, 0, 3100) : w2}};
    case 6:
    case 7: {  // LD ADD SUB CMP OR XOR AND BIT d, source
      constexpr std::array<uint16_t, 8> ops = {0x1000, 0x2100, 0x2200, 0x2210,
                                               0x3100, 0x3200, 0x3300, 0x3310};
      return {{static_cast<uint16_t>(ops[Pick(rng, 0, ops.size() - 1)] + 8 + m2), d, w2}};
    }
    case 8: {  // NEG NOT SL SR d
      constexpr std::array<uint16_t, 4> ops = {0x2000, 0x3000, 0x7000, 0x7100};
      return {{static_cast<uint16_t>(ops[Pick(rng, 0, ops.size() - 1)] + 2), d}};
    }
    case 9:
    case 10:  // JPF / JPT target, flag
      return {{static_cast<uint16_t>(Pick(rng, 0, 1) == 0 ? 0x410A : 0x420A), 0,
               static_cast<uint16_t>(TQRXEmulater::CF + Pick(rng, 0, 3))},
              TDraft::Local};
    case 11:  // CALL a later subroutine
      if (firstCallable < kSubroutines)
        return {{0x8002, 0}, TDraft::Subroutine, Pick(rng, firstCallable, kSubroutines - 1)};
      return {{0x0000}};
    case 12:  // PUSH source, POP d
      return {{static_cast<uint16_t>(0x6000 + m2), w2, 0x6102, d}};
    case 13:  // now and then the program rewrites a word of its data or code
      if (Pick(rng, 0, 9) == 0)
        return {{0x1009, Pick(rng, 0, kDataStart - 1), Pick(rng, 0, 0xFFFF)}};
      return {{0x0000}};
    default:
      return {{0x4002, 0}, TDraft::Local};  // JP
  }
}

// Places a body of drafts at address and returns where it ends; local
// targets become starts of later instructions of the same body, so every
// body runs through to its last instruction (JP 0 or RET).
uint16_t PlaceBody(std::mt19937& rng, std::vector<TDraft>& body, uint16_t address,
                   std::vector<uint16_t>& image) {
  std::vector<uint16_t> starts;
  for (const TDraft& draft : body) {
    starts.push_back(address);
    address = static_cast<uint16_t>(address + draft.words.size());
  }
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i].target == TDraft::Local)
      body[i].words[1] = starts[Pick(rng, i + 1, starts.size() - 1)];
    std::copy(body[i].words.begin(), body[i].words.end(), image.begin() + starts[i]);
  }
  return address;
}

}  // namespace

std::vector<uint16_t> RandomProgram(std::mt19937& rng) {
  // Past the data every word pair is "JP 0", so anything that goes astray
  // soon comes back to the program.
  std::vector<uint16_t> image(TQRXEmulater::kStackStart + 1, 0);
  for (size_t a = 0; a + 1 < image.size(); a += 2)
    image[a] = 0x4002;
  for (uint16_t i = 0; i < kDataWords; ++i) {
    // Pointers into the data block, small numbers and arbitrary words.
    const int kind = Pick(rng, 0, 2);
    image[kDataStart + i] = kind == 0   ? DataAddress(rng)
                            : kind == 1 ? Pick(rng, 0, 200)
                                        : Pick(rng, 0, 0xFFFF);
  }
  // The main body loops for ever; each subroutine ends with RET and calls
  // only subroutines after it, so calls always return.
  std::vector<TDraft> main;
  for (int i = 0; i < kMainInstructions; ++i)
    main.push_back(RandomInstruction(rng, 0));
  main.push_back({{0x4002, 0}});
  std::vector<std::vector<TDraft>> subroutines(kSubroutines);
  for (int k = 0; k < kSubroutines; ++k) {
    for (int i = Pick(rng, 3, 12); i > 0; --i)
      subroutines[k].push_back(RandomInstruction(rng, k + 1));
    subroutines[k].push_back({{0x8100}});
  }
  const auto sizeOf = [](const std::vector<TDraft>& body) {
    size_t words = 0;
    for (const TDraft& draft : body)
      words += draft.words.size();
    return static_cast<uint16_t>(words);
  };
  std::vector<uint16_t> entries;
  uint16_t address = sizeOf(main);
  for (const std::vector<TDraft>& body : subroutines) {
    entries.push_back(address);
    address = static_cast<uint16_t>(address + sizeOf(body));
  }
  const auto placeCalls = [&entries](std::vector<TDraft>& body) {
    for (TDraft& draft : body)
      if (draft.target == TDraft::Subroutine) draft.words[1] = entries[draft.subroutine];
  };
  placeCalls(main);
  PlaceBody(rng, main, 0, image);
  for (int k = 0; k < kSubroutines; ++k) {
    placeCalls(subroutines[k]);
    PlaceBody(rng, subroutines[k], entries[k], image);
  }
  return image;
}

void RandomOutsideEvent(std::mt19937& rng, TRig& rig) {
  const int kind = Pick(rng, 0, 40);
  switch (kind) {
    case 0:
      rig.keyboard.Press(static_cast<uint8_t>(Pick(rng, 0, 255)));
      break;
    case 1:
      rig.keyboard.Release(static_cast<uint8_t>(Pick(rng, 0, 255)));
      break;
    case 2:
      rig.monitor.TrackMouse(Pick(rng, 0, 800) - 10, Pick(rng, 0, 600) - 10, Pick(rng, 0, 7));
      break;
    case 3:
    case 4:
      rig.clock.AdvanceMs(Pick(rng, 1, 30));
      break;
    case 5:
      rig.monitor.AdvanceFrame();
      break;
    default:
      break;
  }
}

::testing::AssertionResult SameState(const TProgramState& actual, const TProgramState& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::ostringstream why;
  for (size_t a = 0; a < actual.Memory.size(); ++a) {
    if (actual.Memory[a] != expected.Memory[a]) {
      why << "memory differs first at " << a << ": " << actual.Memory[a] << " vs "
          << expected.Memory[a] << "; ";
      break;
    }
  }
  for (size_t p = 0; p < actual.Cells.size(); ++p) {
    if (!(actual.Cells[p] == expected.Cells[p])) {
      why << "screen cell " << p << " differs; ";
      break;
    }
  }
  if (!(actual.Screen == expected.Screen)) why << "screen registers differ; ";
  why << "steps " << actual.StepCount << " vs " << expected.StepCount << ", depth "
      << actual.CallDepth << " vs " << expected.CallDepth << ", instruction " << actual.InstrAddress
      << " vs " << expected.InstrAddress << ", destination " << actual.Destination << " vs "
      << expected.Destination << ", result " << actual.Result << " vs " << expected.Result
      << ", selected key " << actual.SelectedKey << " vs " << expected.SelectedKey;
  return ::testing::AssertionFailure() << why.str();
}
