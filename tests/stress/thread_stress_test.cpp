// Threads: A payloads shared between handles that different threads own, and
// independent handles driven through every subsystem at once, each checked
// against a plain model. Built for ThreadSanitizer, which reports any access
// to shared state that is not ordered; the models catch wrong results.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quarnel/quarnel.hpp"
#include "support.hpp"

using namespace qtest;

namespace {

constexpr int kThreads = 4;

// Each thread records its first mismatch; the main thread reports them.
struct Outcome {
  std::string error;
  void check(bool ok, const std::string& what) {
    if (!ok && error.empty()) error = what;
  }
};

template <class Body>
std::vector<Outcome> on_threads(Body body) {
  std::vector<Outcome> outcomes(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] { body(t, outcomes[static_cast<std::size_t>(t)]); });
  for (std::thread& th : threads) th.join();
  return outcomes;
}

void expect_clean(const std::vector<Outcome>& outcomes) {
  for (std::size_t t = 0; t < outcomes.size(); ++t)
    EXPECT_EQ(outcomes[t].error, "") << "thread " << t;
}

// A handle and the text it must hold.
struct Modelled {
  HA h;
  std::string text;
};

// Handles handed from one thread to another, each with its expected text.
class Exchange {
 public:
  void put(Modelled m) {
    std::lock_guard<std::mutex> lock(mutex_);
    items_.push_back(std::move(m));
  }
  bool take(Modelled& m) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (items_.empty()) return false;
    m = std::move(items_.front());
    items_.pop_front();
    return true;
  }

 private:
  std::mutex mutex_;
  std::deque<Modelled> items_;
};

}  // namespace

// Every thread owns clones of the same few payloads and clones, makes
// unique, writes, assigns and destroys them while the others do the same;
// clones also travel to other threads and are destroyed there.
TEST(ThreadStress, SharedAnsiPayloadsAcrossThreads) {
  constexpr int kSeeds = 6;
  std::vector<Modelled> seeds;
  for (int i = 0; i < kSeeds; ++i) {
    std::string s = "seed " + std::to_string(i) + " of the shared payloads";
    seeds.push_back({make_a(s), s});
  }
  // Each thread's own clones, made before the threads start.
  std::vector<std::vector<Modelled>> owned(kThreads);
  for (auto& mine : owned)
    for (const Modelled& s : seeds) mine.push_back({HA(LStrAllocCloneAA(s.h.get())), s.text});
  Exchange exchange;

  expect_clean(on_threads([&](int t, Outcome& out) {
    std::mt19937 rng(static_cast<unsigned>(t) + 1);
    std::vector<Modelled>& mine = owned[static_cast<std::size_t>(t)];
    std::vector<Modelled> extra;
    for (int step = 0; step < 200000 && out.error.empty(); ++step) {
      Modelled& m = mine[rng() % mine.size()];
      const int n = static_cast<int>(m.text.size());
      switch (rng() % 8) {
        case 0:
          extra.push_back({HA(LStrAllocCloneAA(m.h.get())), m.text});
          break;
        case 1:
          if (!extra.empty()) {
            exchange.put(std::move(extra.back()));
            extra.pop_back();
          }
          break;
        case 2: {
          Modelled got;
          if (exchange.take(got))
            out.check(text(got.h.get()) == got.text, "a handed-over clone changed");
          break;
        }
        case 3:
          LStrUniqueA(m.h.get());
          break;
        case 4: {
          const int at = static_cast<int>(rng() % static_cast<unsigned>(n)) + 1;
          const char c = static_cast<char>('a' + rng() % 26);
          LStrSetCharAtA(m.h.get(), at, c);
          m.text[static_cast<std::size_t>(at - 1)] = c;
          break;
        }
        case 5: {
          Modelled& from = mine[rng() % mine.size()];
          LStrAssignA(m.h.get(), from.h.get());
          m.text = from.text;
          break;
        }
        case 6:
          if (!extra.empty()) extra.erase(extra.begin() + rng() % extra.size());
          break;
        default:
          out.check(LStrGetCharAtA(m.h.get(), n) == m.text.back(), "last character");
          break;
      }
      out.check(text(m.h.get()) == m.text, "text of a shared handle");
    }
    for (const Modelled& e : extra) out.check(text(e.h.get()) == e.text, "text of a clone");
  }));
  for (const Modelled& s : seeds) EXPECT_EQ(text(s.h.get()), s.text);
}

namespace {

// The editing rules the mix below relies on, written out plainly.
std::string model_trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}
std::string model_replace(std::string s, const std::string& from, const std::string& to) {
  for (std::size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, from.size(), to);
  return s;
}
std::vector<std::string> model_split(const std::string& s, char sep) {
  std::vector<std::string> out;
  for (std::size_t start = 0; start < s.size();) {
    std::size_t end = std::min(s.find(sep, start), s.size());
    out.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// Replaces a handle's text by that of a new handle from `make`.
void take_a(LStrHandleA h, LStrHandleA made) {
  LStrAssignA(h, made);
  LStrDestroyA(made);
}
void take_w(LStrHandleW h, LStrHandleW made) {
  LStrAssignW(h, made);
  LStrDestroyW(made);
}

}  // namespace

// Each thread drives its own A handle and W twin through editing, numbers,
// formatting, conversion and splitting; the twins must both match the model.
TEST(ThreadStress, IndependentHandlesThroughEverySubsystem) {
  expect_clean(on_threads([](int t, Outcome& out) {
    std::mt19937 rng(static_cast<unsigned>(t) + 100);
    const char alphabet[] = "ab, AB-";
    HA a(LStrAllocA());
    HW w(LStrAllocW());
    std::string model;
    for (int step = 0; step < 30000 && out.error.empty(); ++step) {
      const int n = static_cast<int>(model.size());
      const int op = static_cast<int>(rng() % 12);
      switch (op) {
        case 0: {
          std::string piece(1 + rng() % 4, ' ');
          for (char& c : piece) c = alphabet[rng() % (sizeof alphabet - 1)];
          LStrAppendASzStrA(a.get(), piece.c_str(), -1);
          LStrAppendWSzStrW(w.get(), widen(piece).c_str(), -1);
          model += piece;
          break;
        }
        case 1: {
          const int at = static_cast<int>(rng() % static_cast<unsigned>(n + 2));
          HA pa = make_a("ab");
          HW pw = make_w(QW("ab"));
          LStrInsertA(a.get(), pa.get(), at);
          LStrInsertW(w.get(), pw.get(), at);
          model.insert(static_cast<std::size_t>(std::clamp(at - 1, 0, n)), "ab");
          break;
        }
        case 2: {
          const int at = 1 + static_cast<int>(rng() % static_cast<unsigned>(n + 1));
          const int count = static_cast<int>(rng() % 5);
          LStrDeleteA(a.get(), at, count);
          LStrDeleteW(w.get(), at, count);
          if (at <= n && count > 0) model.erase(static_cast<std::size_t>(at - 1), count);
          break;
        }
        case 3:
          LStrSelfUpperCaseA(a.get());
          LStrSelfLowerCaseW(w.get());
          LStrSelfUpperCaseW(w.get());
          for (char& c : model) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          break;
        case 4:
          LStrSelfTrimA(a.get());
          LStrSelfTrimW(w.get());
          model = model_trim(model);
          break;
        case 5:
          take_a(a.get(), LStrReplaceA(a.get(), "ab", "b"));
          take_w(w.get(), LStrReplaceW(w.get(), QW("ab"), QW("b")));
          model = model_replace(model, "ab", "b");
          break;
        case 6:
          take_a(a.get(), LStrPadLeftA(a.get(), '*', n + 3));
          take_w(w.get(), LStrPadLeftW(w.get(), QW('*'), n + 3));
          model.insert(0, 3, '*');
          break;
        case 7: {
          const int v = static_cast<int>(rng()) - 0x40000000;
          LStrAppendIntValueA(a.get(), v);
          _LStrCatSprintfW(w.get(), QW("%d"), v);
          model += std::to_string(v);
          break;
        }
        case 8: {
          take_a(a.get(), LStrSubStringA(a.get(), 1, n / 2));
          take_w(w.get(), LStrLeftW(w.get(), n / 2));
          model.resize(static_cast<std::size_t>(n / 2));
          break;
        }
        case 9: {
          CLAnsiStr source(a.get(), false);
          CLAnsiStrList fields(2);
          SplitBySepExA(&source, ',', &fields, false);
          std::vector<std::string> got;
          for (const CLAnsiStr& f : fields) got.emplace_back(f.view());
          out.check(got == model_split(model, ','), "fields of '" + model + "'");
          CLWideStr wsource(w.get(), false);
          CLWideStrList wfields(2);
          out.check(
              SplitBySepExW(&wsource, QW(','), &wfields, false) == static_cast<int>(got.size()),
              "field count of the W twin");
          break;
        }
        case 10: {
          const int v = static_cast<int>(rng());
          HA number(LStrAllocFromInt64A(v));
          HW hex(LStrIntToHexW(v, 8));
          char want[16];
          std::snprintf(want, sizeof want, "%08X", static_cast<unsigned>(v));
          out.check(LStrToIntDefA(number.get(), 0) == v, "number text read back");
          out.check(text(hex.get()) == widen(want), "hex text");
          break;
        }
        default: {
          HA back(LStrAllocCloneWA(w.get()));
          HW across(LStrAllocCloneAW(a.get()));
          out.check(text(back.get()) == model, "W twin converted to A");
          out.check(text(across.get()) == widen(model), "A converted to W");
          break;
        }
      }
      if (model.size() > 120) {
        LStrSetLengthA(a.get(), 40);
        LStrSetLengthW(w.get(), 40);
        model.resize(40);
      }
      out.check(text(a.get()) == model, "A text after op " + std::to_string(op));
      out.check(text(w.get()) == widen(model), "W text after op " + std::to_string(op));
    }
  }));
}
