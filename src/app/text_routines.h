// The string routines of the declination reader.
#pragma once

#include <string>
#include <vector>

namespace zenavo {

// The parts of `text` between occurrences of `separator` (length >= 1): k occurrences give
// k + 1 parts, empty ones included ("a  b" at " " gives a, "", b).
std::vector<std::string> SplitText(const std::string& text, const std::string& separator);

// `text` with every run of consecutive separators made one separator, runs at the start and
// the end included ("  a   b " at " " gives " a b ").
std::string CollapseSeparators(const std::string& text, const std::string& separator);

// `text` with its first "." replaced by ","; later dots stay.
std::string DotToComma(const std::string& text);

}  // namespace zenavo
