#include "edit/case.hpp"

#include "edit/wide_case.hpp"

namespace quarnel::edit {
namespace {

// Mapping never changes the length, so the copy is mapped where it lies. The
// copy is made even for the in-place forms: an A payload may be shared, and
// the handle keeps its text until the new one is complete.
core::AnsiStr mapped_copy(const core::ARec& h, Case to) {
  auto s = core::AnsiStr::copy(core::view_of(h));
  platform::map_case(s.data(), s.size(), to);
  return s;
}

// W is mapped by table as it is copied.
core::WideStr mapped_copy(const core::WRec& h, Case to) {
  const core::wstring_view text = core::view_of(h);
  core::WideStr s(text.size());
  WideCaseTable::of(to).map(text.data(), s.data(), text.size());
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
