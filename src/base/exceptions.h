// Exception classes of the runtime layer. Every failure of the system is one of these; the
// messages are the texts the user sees.
//
// A message is an English template with the places %1..%9 and its arguments: what() is the
// template filled in, and the user interface looks the template up in the translations
// (ui/error_report.h) and fills that in instead. A fixed message is its own template.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zenavo {

// `messageTemplate` with %1..%9 replaced by the arguments, in one pass (an argument holding
// "%2" stays as it is); a place without an argument stays.
std::string FillMessage(std::string_view messageTemplate, const std::vector<std::string>& arguments);

// Base of every error the system raises; what() is the message shown to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message), template_(message) {}
  // `disambiguation` tells two uses of one template apart in the translations (a magc
  // result file, say, against any other file); it is never shown.
  Exception(const char* messageTemplate, std::vector<std::string> arguments,
            const char* disambiguation = nullptr)
      : std::runtime_error(FillMessage(messageTemplate, arguments)),
        template_(messageTemplate),
        arguments_(std::move(arguments)),
        disambiguation_(disambiguation) {}
  std::string Message() const { return what(); }
  const std::string& Template() const { return template_; }
  const std::vector<std::string>& Arguments() const { return arguments_; }
  const char* Disambiguation() const { return disambiguation_; }

 private:
  std::string template_;
  std::vector<std::string> arguments_;
  const char* disambiguation_ = nullptr;
};

// A text that is not a number in the locale's notation.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  static EConvertError NotAFloat(std::string_view text) {
    return EConvertError("'%1' is not a valid floating point value", {std::string(text)});
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
      : Exception("List index out of bounds (%1)", {std::to_string(index)}) {}
};

// A file that cannot be opened: the full path and the system's error text.
class EFOpenError : public Exception {
 public:
  EFOpenError(const std::string& path, const std::string& systemText,
              const char* disambiguation = nullptr)
      : Exception("Cannot open file \"%1\". %2", {path, systemText}, disambiguation) {}
};

// A read or write failure on a file that was opened.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
  static EInOutError ReadFailed(const std::string& path, const std::string& systemText) {
    return EInOutError("Read error on file \"%1\". %2", {path, systemText});
  }
};

// The disambiguation of the file-open error for magc's result file: its translation names
// the calculator rather than a file in a temporary folder.
inline constexpr const char* kMagcResultMessage = "magc result";

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
