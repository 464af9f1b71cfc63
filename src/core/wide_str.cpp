#include "core/wide_str.hpp"

#include <new>

#include "core/memory.hpp"

namespace quarnel::core {

WideStr::WideStr(std::size_t length) {
  if (length == 0) return;
  p_ = static_cast<wchar*>(mem::allocate(mem::Pool::bstr, length));
}

WideStr WideStr::copy(wstring_view text) {
  WideStr s;
  if (!text.empty())
    s.p_ = static_cast<wchar*>(mem::allocate(mem::Pool::bstr, text.size(), text.data()));
  return s;
}

WideStr::~WideStr() { mem::release(mem::Pool::bstr, p_); }

}  // namespace quarnel::core
