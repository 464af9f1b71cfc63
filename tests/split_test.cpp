// Field splitting against a model of the field rules (separator, fixed
// layouts, name-value), and the wrapper list shared between host and library.
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "core/memory.hpp"
#include "edit_support.hpp"
#include "quarnel/quarnel.hpp"

using namespace qtest;
using namespace std::string_literals;
using Fields = std::vector<std::string>;

namespace {

// Each list's fields, up to its count.
template <class List>
auto fields_of(const List& list) {
  std::vector<decltype(list[0].str())> out;
  for (int i = 0; i < list.count; ++i) out.push_back(list[i].str());
  return out;
}

// A field starts at 0 and after each separator, but only while its start
// lies inside the line.
Fields model_split(std::string_view line, char sep) {
  Fields out;
  for (std::size_t start = 0; start < line.size();) {
    std::size_t end = line.find(sep, start);
    if (end == std::string_view::npos) end = line.size();
    out.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// A piece from the 1-based `start`: a start before the text moves to it,
// keeping the count; a negative count runs to the end.
std::string model_piece(const std::string& s, long long start, long long count) {
  const auto from = static_cast<std::size_t>(std::clamp<long long>(start - 1, 0, s.size()));
  return count < 0 ? s.substr(from) : s.substr(from, static_cast<std::size_t>(count));
}

}  // namespace

// Every split form on random lines against the model, in both families: by
// separator into slots and into lists; fixed widths and columns (1-based
// whatever the base; small or negative entries probe the clamping); and
// name-value pairs, cut at the first separator (none, or a zero separator,
// is no pair). Lists keep each field up to its first zero character.
TEST(Split, EveryFormFollowsTheModel) {
  enum Form { by_separator, widths, columns, name_value };
  std::mt19937 rng(7);
  // The separator form's lists are reused from round to round.
  CLAnsiStrList reused(2);
  CLWideStrList wreused(3);
  for (int round = 0; round < 4000; ++round) {
    const Form form = static_cast<Form>(round % 4);
    const std::string alphabet = form == by_separator ? ",,a \0b"s
                                 : form == name_value ? " a=:"s
                                                      : "AB C"s;
    // By separator, some lines are longer than the scanner's blocks.
    const std::string line = random_text(rng, alphabet, round % 16 ? 8 : 199);
    const bool trim = rng() % 2;
    std::vector<int> layout(form == widths ? rng() % 5 : form == columns ? rng() % 5 * 2 : 0);
    for (int& v : layout) v = static_cast<int>(rng() % 13) - 3;
    const int count = static_cast<int>(layout.size()) / (form == columns ? 2 : 1);
    const char separator = form == by_separator ? ',' : "==:\0"[round / 4 % 4];
    const bool null = round % 64 == 7;  // a null line is no pair either
    Fields want;
    if (form == by_separator) {
      want = model_split(line, ',');
    } else if (form != name_value) {
      for (long long i = 0, start = 1, n; i < count; ++i, start += form == widths ? n : 0) {
        if (form == columns) start = layout[2 * i];
        n = form == columns ? layout[2 * i + 1] - start + 1 : layout[i];
        want.push_back(model_piece(line, start, n));
      }
    } else if (std::size_t at = separator && !null ? line.find(separator) : line.npos;
               at != line.npos) {
      want = {line.substr(0, at), line.substr(at + 1)};
    }
    for (std::string& f : want) f = trim ? trim_model(f) : f;
    SCOPED_TRACE(testing::Message() << '"' << line << "\" form " << form << " trim " << trim);

    CLAnsiStr source(line);
    const CLAnsiStr clone(source);
    CLWideStr wsource(widen(line));
    LStrSetCharIndexBaseA(source.handle, static_cast<int>(rng() % 2));
    // Other lists hold a field from before, which a failed pair clears too.
    CLAnsiStrList fresh(1 + round % 3);
    CLWideStrList wfresh(4);
    fresh.append("old");
    wfresh.append(QW("old"));
    CLAnsiStrList& list = form == by_separator ? reused : fresh;
    CLWideStrList& wlist = form == by_separator ? wreused : wfresh;
    const int n = static_cast<int>(want.size());
    if (form == by_separator) {
      // Slots past the fields are emptied; every slot keeps its handle and
      // base (a new handle would have base 1). Half the time the A slots
      // share the source's payload.
      const int slot_count = static_cast<int>(rng() % 5), filled = std::min(slot_count, n);
      std::vector<CLAnsiStr> slots(static_cast<std::size_t>(slot_count),
                                   round % 8 ? source : CLAnsiStr("old"));
      std::vector<CLWideStr> wslots(slots.size(), CLWideStr(QW("old")));
      for (CLAnsiStr& s : slots) LStrSetCharIndexBaseA(s.handle, 0);
      ASSERT_EQ(SplitBySepA(&source, ',', slot_count, slots.data(), trim), filled);
      ASSERT_EQ(SplitBySepW(&wsource, QW(','), slot_count, wslots.data(), trim), filled);
      for (int i = 0; i < slot_count; ++i) {
        const std::string field = i < n ? want[i] : "";
        EXPECT_EQ(slots[i].str(), field);
        // The W trim keeps what it leaves up to a zero unit.
        EXPECT_EQ(wslots[i].str(), widen(trim ? field.substr(0, field.find('\0')) : field));
        EXPECT_EQ(LStrGetCharIndexBaseA(slots[i].handle), 0);
      }
      EXPECT_EQ(SplitBySepExA(&source, ',', &list, trim), n);
      EXPECT_EQ(SplitBySepExW(&wsource, QW(','), &wlist, trim), n);
      // Reading its characters gave a shared A source a payload of its own.
      EXPECT_EQ(source.handle->payload == clone.handle->payload, line.empty());
    } else if (form == name_value) {
      EXPECT_EQ(SplitNamedEquA(null ? nullptr : line.c_str(), &list, trim, separator), n > 0);
      EXPECT_EQ(SplitNamedEquW(null ? nullptr : wsource.c_str(), &wlist, trim,
                               static_cast<LWideChar>(separator)),
                n > 0);
    } else {
      auto split = form == columns ? SplitByFixedLayoutExA : SplitByFixedLayoutA;
      auto wsplit = form == columns ? SplitByFixedLayoutExW : SplitByFixedLayoutW;
      EXPECT_EQ(split(&source, count, layout.data(), &list, trim), count);
      EXPECT_EQ(wsplit(&wsource, count, layout.data(), &wlist, trim), count);
    }
    for (std::string& f : want) f = f.substr(0, f.find('\0'));
    EXPECT_EQ(fields_of(list), want);
    ASSERT_EQ(wlist.count, n);
    for (int i = 0; i < n; ++i) EXPECT_EQ(wlist[i].str(), widen(want[i]));
  }
}

// Host appends and library splits into one list, in any order, against a
// model of its fields. Both sides grow the list by its step, and only when it
// is full (long lines make the library reuse the spare room of its items
// blocks); a host append that runs out of memory stores nothing; splitting
// again into slots already big enough allocates nothing. Ending the list frees
// all it owns, skipping an empty slot and leaving a borrowed handle alone, and
// leaves it reusable (with a step the host sets by hand); the host can also
// free a list by hand through the shared heap.
TEST(List, HostAppendsAndSplitsGrowItAlikeAndEndingFreesIt) {
  namespace qt = quarnel::testing;
  std::mt19937 rng(29);
  CLAnsiStr kept("not the list's");
  { CLAnsiStr spare; }  // an ending empty wrapper keeps a spare handle once
  const long live = qt::live_blocks();
  CLAnsiStrList list;
  for (int round = 0; round < 300; ++round) {
    const int step = list.growBy = static_cast<int>(1 + rng() % 5);
    Fields model;
    int capacity = 0;
    for (int op = 0; op < 6; ++op) {
      SCOPED_TRACE(testing::Message() << "round " << round << " op " << op);
      if (rng() % 2) {
        // The host's own growth throws std::bad_alloc as a C++ exception on
        // every platform; the library's failures arrive the platform's way.
        const std::string field = random_text(rng, "xyz"s, 40);
        qt::fail_allocations_after(rng() % 4 ? -1L : static_cast<long>(rng() % 4));
        Failure f = Failure::none;
        try {
          f = failure_of([&] { list.append(field.c_str()); });
        } catch (const std::bad_alloc&) {
          f = Failure::out_of_memory;
        }
        qt::fail_allocations_after(-1);
        if (f == Failure::none) model.push_back(field);
        capacity = f == Failure::none ? capacity : list.capacity;
      } else {
        CLAnsiStr line(random_text(rng, "xy,"s, round % 16 ? 12 : 2400));
        model = model_split(line.str(), ',');
        ASSERT_EQ(SplitBySepExA(&line, ',', &list, false), static_cast<int>(model.size()));
        qt::reset_allocation_count();
        SplitBySepExA(&line, ',', &list, false);
        EXPECT_EQ(qt::allocation_count(), 0);
      }
      while (capacity < static_cast<int>(model.size())) capacity += step;
      EXPECT_EQ(list.capacity, capacity);
      EXPECT_EQ(fields_of(list), model);
    }
    list.grow();
    CLAnsiStr*& empty = list.items[list.capacity - 1];
    empty->reset();
    LStrHeapFree(std::exchange(empty, nullptr));
    list.items[list.capacity - 2]->reset();
    new (list.items[list.capacity - 2]) CLAnsiStr(kept.handle, false);
    LStrListEndA(&list);
    EXPECT_EQ(qt::live_blocks(), live);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(list.capacity + list.count, 0);
  }
  ASSERT_TRUE(SplitNamedEquA("k=v", &list, false, '='));
  for (int i = 0; i < list.capacity; ++i) {
    LStrDestroyA(list.items[i]->handle);
    LStrHeapFree(list.items[i]);
  }
  LStrHeapFree(std::exchange(list.items, nullptr));
  list.capacity = list.count = 0;
  EXPECT_EQ(qt::live_blocks(), live);
  EXPECT_EQ(kept.str(), "not the list's");
  // The heap gives null rather than failing.
  EXPECT_EQ(LStrHeapAlloc(-1), nullptr);
  qt::fail_allocations_after(0);
  void* exhausted = LStrHeapAlloc(16);
  qt::fail_allocations_after(-1);
  EXPECT_EQ(exhausted, nullptr);
}
