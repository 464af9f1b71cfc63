// Helpers for the editing tests: the same byte text as an A and a W handle,
// and random texts over small alphabets.
#pragma once

#include <random>
#include <string>
#include <string_view>

#include "support.hpp"

namespace qtest {

struct Twins {
  HA a;
  HW w;
};
inline Twins twins(std::string_view s, int base = 1) {
  Twins t{make_a(s), make_w(widen(s))};
  LStrSetCharIndexBaseA(t.a.get(), base);
  LStrSetCharIndexBaseW(t.w.get(), base);
  return t;
}

// Between `min_length` and `max_length` characters drawn from `alphabet`.
template <class S>
S random_text(std::mt19937& rng, const S& alphabet, std::size_t max_length,
              std::size_t min_length = 0) {
  S s(min_length + rng() % (max_length - min_length + 1), alphabet[0]);
  for (auto& c : s) c = alphabet[rng() % alphabet.size()];
  return s;
}

// Trimming: codes up to 32 leave the start, the end or both.
inline std::string trim_model(std::string s, bool start = true, bool end = true) {
  std::size_t from = 0, to = s.size();
  while (start && from < to && static_cast<unsigned char>(s[from]) <= 32) ++from;
  while (end && to > from && static_cast<unsigned char>(s[to - 1]) <= 32) --to;
  return s.substr(from, to - from);
}

}  // namespace qtest
