// Helpers for the editing tests: the same byte text as an A and a W handle.
#pragma once

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

}  // namespace qtest
