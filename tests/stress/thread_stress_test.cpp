// Threads: every thread drives an A handle and its W twin through editing,
// case mapping, numbers, formatting, conversion and splitting, while its A
// text keeps taking the payloads of seed handles that all threads share, and
// clones of it travel to other threads to be destroyed there. Built for
// ThreadSanitizer, which reports any access to shared state that is not
// ordered; wrong results show against the same operations run on one thread.
#include <array>
#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quarnel/quarnel.hpp"
#include "support.hpp"

using namespace qtest;

namespace {

constexpr int kThreads = 4;

// A clone and the text it was made with.
struct Handed {
  HA h;
  std::string text;
};

// Slots through which clones pass from one thread to another: each clone
// put in one takes the place of the clone there before, which the putter
// checks and destroys.
struct Slots {
  std::array<std::atomic<Handed*>, 8> slots{};
  ~Slots() {
    for (std::atomic<Handed*>& slot : slots) delete slot.load();
  }
};

// One seeded run over an A handle and its W twin. Returns what the run saw
// (each split's field counts and the final text), or the
// first thing that went wrong.
std::string mix(unsigned seed, int steps, const std::vector<HA>& seeds, Slots& exchange) {
  std::mt19937 rng(seed);
  const char alphabet[] = "ab, AB-";
  HA a(LStrAllocA());
  HW w(LStrAllocW());
  std::string seen;
  for (int step = 0; step < steps; ++step) {
    const int n = LStrLengthA(a.get());
    const unsigned r = rng();
    const unsigned op = rng() % 10;
    switch (op) {
      case 0: {
        std::string piece(1 + r % 4, ' ');
        for (char& c : piece) c = alphabet[rng() % (sizeof alphabet - 1)];
        LStrAppendASzStrA(a.get(), piece.c_str(), -1);
        LStrAppendWSzStrW(w.get(), widen(piece).c_str(), -1);
        break;
      }
      case 1: {
        const int at = 1 + static_cast<int>(r % static_cast<unsigned>(n + 1));
        LStrDeleteA(a.get(), at, static_cast<int>(r % 5));
        LStrDeleteW(w.get(), at, static_cast<int>(r % 5));
        break;
      }
      case 2:
        LStrSelfUpperCaseA(a.get());
        LStrSelfLowerCaseW(w.get());
        LStrSelfUpperCaseW(w.get());
        break;
      case 3:
        LStrAssignA(a.get(), HA(LStrReplaceA(a.get(), "ab", "b")).get());
        LStrAssignW(w.get(), HW(LStrReplaceW(w.get(), QW("ab"), QW("b"))).get());
        break;
      case 4:
        LStrAppendIntValueA(a.get(), static_cast<int>(r) - 0x40000000);
        _LStrCatSprintfW(w.get(), QW("%d"), static_cast<int>(r) - 0x40000000);
        break;
      case 5: {
        CLAnsiStr source(a.get(), false);
        CLWideStr wsource(w.get(), false);
        CLAnsiStrList fields(2);
        CLWideStrList wfields(2);
        seen += std::to_string(SplitBySepExA(&source, ',', &fields, false)) + "/" +
                std::to_string(SplitBySepExW(&wsource, QW(','), &wfields, false)) + " ";
        break;
      }
      case 6:  // the A text shares a payload with every thread
        LStrAssignA(a.get(), seeds[r % seeds.size()].get());
        LStrAssignW(w.get(), HW(LStrAllocCloneAW(a.get())).get());
        break;
      case 7:  // a write through a payload that may be shared
        if (r & 1) LStrUniqueA(a.get());
        if (n > 0) {
          LStrSetCharAtA(a.get(), 1 + static_cast<int>(r % static_cast<unsigned>(n)), 'b');
          LStrSetCharAtW(w.get(), 1 + static_cast<int>(r % static_cast<unsigned>(n)), QW('b'));
        }
        break;
      case 8: {  // a clone leaves, perhaps for another thread; one arrives
        std::unique_ptr<Handed> got(exchange.slots[r % 8].exchange(
            new Handed{HA(LStrAllocCloneAA(a.get())), text(a.get())}));
        if (got && text(got->h.get()) != got->text)
          return "a handed-over clone changed: " + text(got->h.get());
        break;
      }
      default:  // each twin becomes the conversion of the other
        LStrAssignA(a.get(), HA(LStrAllocCloneWA(w.get())).get());
        LStrAssignW(w.get(), HW(LStrAllocCloneAW(a.get())).get());
        break;
    }
    if (LStrLengthA(a.get()) > 120) {
      LStrSetLengthA(a.get(), 40);
      LStrSetLengthW(w.get(), 40);
    }
    if (text(w.get()) != widen(text(a.get())))
      return "twins parted after op " + std::to_string(op) + " at step " + std::to_string(step);
  }
  return seen + "| " + text(a.get());
}

}  // namespace

// Each thread runs its own mix while the others run theirs; each must see
// exactly what the same mix saw when it ran alone, and the seeds must keep
// their texts.
TEST(ThreadStress, HandlesSeeWhatTheySeeAlone) {
  constexpr int kSteps = 40000;
  std::vector<HA> seeds;
  for (int i = 0; i < 6; ++i) seeds.push_back(make_a("seed " + std::to_string(i) + ", AB-ab"));
  std::vector<std::string> alone;
  for (unsigned t = 0; t < kThreads; ++t) {
    Slots own;
    alone.push_back(mix(t + 100, kSteps, seeds, own));
    ASSERT_NE(alone.back().find("| "), std::string::npos) << alone.back();
  }
  Slots exchange;
  std::vector<std::string> together(kThreads);
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] { together[t] = mix(t + 100, kSteps, seeds, exchange); });
  for (std::thread& th : threads) th.join();
  EXPECT_EQ(together, alone);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(text(seeds[static_cast<std::size_t>(i)].get()),
              "seed " + std::to_string(i) + ", AB-ab");
}
