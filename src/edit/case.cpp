#include "edit/case.hpp"

#include <type_traits>

#include "edit/wide_case.hpp"

namespace quarnel::edit {
namespace {

// Mapping never changes the length, so the copy is mapped where it lies. The
// copy is made even for the in-place forms: an A payload may be shared, and
// the handle keeps its text until the new one is complete.
template <class Rec>
auto mapped_copy(const Rec& h, Case to) {
  auto s = core::FamilyOf<Rec>::Str::copy(core::view_of(h));
  if constexpr (std::is_same_v<Rec, core::WRec>)
    WideCaseTable::of(to).apply(s.data(), s.size());
  else
    platform::map_case(s.data(), s.size(), to);
  return s;
}

}  // namespace

core::ARec* case_mapped(const core::ARec& h, Case to) {
  return core::new_handle(mapped_copy(h, to));
}
core::WRec* case_mapped(const core::WRec& h, Case to) {
  return core::new_handle(mapped_copy(h, to));
}
void map_case_in_place(core::ARec& h, Case to) { core::install(h, mapped_copy(h, to)); }
void map_case_in_place(core::WRec& h, Case to) { core::install(h, mapped_copy(h, to)); }

}  // namespace quarnel::edit
