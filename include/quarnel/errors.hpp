// errors.hpp - the exceptions that leave Quarnel's functions on platforms
// other than Windows.
//
// By default the failures below leave a call as a C++ exception instead of
// a result; no function catches them (a thread may ask for them to be
// recorded instead: LStrSetFailureMode in quarnel.h):
//
//   quarnel::ERangeError    a position outside the text given to an A
//                           single-character function (LStrGetCharAtA, ...);
//                           what() is "Range check error".
//   quarnel::EConvertError  text that an integer reader cannot convert, and
//                           a format holding "%n", which the formatting
//                           functions refuse.
//   std::bad_alloc          memory could not be obtained.
//   quarnel::EInvalidHandle only in checked-handles mode: a handle argument
//                           that is not a live handle of the function's
//                           family; what() names the function and argument.
//
// When one of them leaves a call, everything the call allocated has been
// released and the handles passed in keep their text.
//
//     try {
//       char c = LStrGetCharAtA(h, 99);
//     } catch (const quarnel::ERangeError& e) {
//       std::cerr << e.what() << '\n';
//     }
//
// On Windows the same failures arrive as structured exceptions with the
// QUARNEL_EXCEPTION_* codes of quarnel.h, because a C++ exception cannot
// cross into a host built by another compiler.
//
// The C++ wrapper (quarnel.hpp) throws these same classes itself when a call
// fails in record mode, on every platform. On Windows the library never
// throws them, so there they are defined here, in the host's own code.
#ifndef QUARNEL_ERRORS_HPP
#define QUARNEL_ERRORS_HPP

#include <stdexcept>
#include <string>

#if defined(_WIN32)
#define QUARNEL_ERROR_VISIBLE
#else
#define QUARNEL_ERROR_VISIBLE __attribute__((visibility("default")))
#endif

namespace quarnel {

#if defined(_WIN32) && !defined(QUARNEL_BUILDING_LIBRARY)
// A namespace of their own keeps them apart from the library's internal
// classes of the same names when a host links the library statically.
inline namespace host_failures {

class ERangeError : public std::out_of_range {
 public:
  ERangeError() : std::out_of_range("Range check error") {}
};

class EConvertError : public std::invalid_argument {
 public:
  explicit EConvertError(const std::string& message) : std::invalid_argument(message) {}
};

class EInvalidHandle : public std::invalid_argument {
 public:
  explicit EInvalidHandle(const std::string& message) : std::invalid_argument(message) {}
};

}  // namespace host_failures
#else
class QUARNEL_ERROR_VISIBLE ERangeError : public std::out_of_range {
 public:
  ERangeError();
  ~ERangeError() override;
};

class QUARNEL_ERROR_VISIBLE EConvertError : public std::invalid_argument {
 public:
  explicit EConvertError(const std::string& message);
  ~EConvertError() override;
};

class QUARNEL_ERROR_VISIBLE EInvalidHandle : public std::invalid_argument {
 public:
  explicit EInvalidHandle(const std::string& message);
  ~EInvalidHandle() override;
};
#endif

}  // namespace quarnel

#endif  // QUARNEL_ERRORS_HPP
