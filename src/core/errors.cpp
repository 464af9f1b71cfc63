#include "quarnel/errors.hpp"

namespace quarnel {

// The runtime's standard range-check message.
ERangeError::ERangeError() : std::out_of_range("Range check error") {}
ERangeError::~ERangeError() = default;

EConvertError::EConvertError(const std::string& message) : std::invalid_argument(message) {}
EConvertError::~EConvertError() = default;

EInvalidHandle::EInvalidHandle(const std::string& message) : std::invalid_argument(message) {}
EInvalidHandle::~EInvalidHandle() = default;

}  // namespace quarnel
