// Exception classes of the runtime layer. Every failure of the system is one of these; the
// messages are the texts the user sees.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zenavo {

// Base of every error the system raises; what() is the message shown to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A text that is not a number in the locale's notation.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  static EConvertError NotAFloat(std::string_view text) {
    std::string message = "'";
    message.append(text);
    return EConvertError(message + "' is not a valid floating point value");
  }
};

// Arithmetic errors of the floating-point guard.
class EMathError : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("Invalid floating point operation") {}
};
class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EOverflow : public EMathError {
 public:
  EOverflow() : EMathError("Floating point overflow") {}
};

// An index outside a list of texts.
class EListError : public Exception {
 public:
  explicit EListError(long long index)
      : Exception("List index out of bounds (" + std::to_string(index) + ")") {}
};

// A file that cannot be opened: the full path and the system's error text.
class EFOpenError : public Exception {
 public:
  EFOpenError(const std::string& path, const std::string& systemText)
      : Exception("Cannot open file \"" + path + "\". " + systemText) {}
};

// A read or write failure on a file that was opened.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// The table grid's error: a file that cannot be opened or created.
class ETableGridError : public Exception {
 public:
  using Exception::Exception;
};

// A gauge property set outside its range.
class EGaugeError : public Exception {
 public:
  EGaugeError() : Exception("Value out of range.") {}
};

}  // namespace zenavo
