#pragma once

#include <string>

namespace varnolt {

// FORMAT with its arguments, as printf formats them: the settings pages show their numbers in
// fixed printf widths ("%8d", "%5d", "%7.3f%%").
[[nodiscard]] std::string PrintfText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace varnolt
