// Checks that a call raises one exception class with one message.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

namespace zenavo::testing {

// Runs `call` and records a failure unless it raises an `E` whose message is `message`. Returns
// whether it did, so a loop over cases can go on and report every failing case.
template <class E, class Call>
bool ExpectError(Call&& call, const std::string& message) {
  try {
    call();
  } catch (const E& error) {
    EXPECT_EQ(std::string(error.what()), message);
    return std::string(error.what()) == message;
  } catch (const std::exception& other) {
    ADD_FAILURE() << "expected " << typeid(E).name() << " \"" << message << "\", got "
                  << typeid(other).name() << " \"" << other.what() << "\"";
    return false;
  }
  ADD_FAILURE() << "expected " << typeid(E).name() << " \"" << message << "\", nothing raised";
  return false;
}

}  // namespace zenavo::testing
