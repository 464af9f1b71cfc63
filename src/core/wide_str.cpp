#include "core/wide_str.hpp"

#include <new>

#include "core/memory.hpp"

namespace quarnel::core {

WideStr::WideStr(std::size_t length) : WideStr(length, nullptr) {}

WideStr WideStr::copy(wstring_view text) { return WideStr(text.size(), text.data()); }

WideStr::WideStr(std::size_t length, const wchar* init) {
  if (length == 0) return;
  if (length > kMaxLengthW) throw std::bad_alloc();
  p_ = static_cast<wchar*>(mem::allocate(mem::Pool::bstr, length, init));
}

void WideStr::drop() noexcept { mem::release(mem::Pool::bstr, p_); }

}  // namespace quarnel::core
