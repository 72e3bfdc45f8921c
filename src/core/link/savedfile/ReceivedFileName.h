#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnolt {

// The file name a received file gets on the PC, from the name the analyzer listed (SHOWNNAME,
// UTF-8, as the list shows it). The name comes from the analyzer and is not trusted: it never
// leaves the chosen folder nor names a device. Leading and trailing white space is dropped;
// path separators, "..", a leading '.', control characters, characters that no file name may
// hold (< > : " / \ | ? *) and undecodable bytes become '_'; a name that Windows reserves for a
// device (CON, NUL, COM1 ...) gets a leading '_'. A name that is empty or all blank becomes the
// file NUMBER as four digits. The extension is not included.
[[nodiscard]] std::string ReceivedFileStem(std::string_view shownName, int32_t number);

// FOLDER / (STEM + ".tvd").
[[nodiscard]] std::filesystem::path ReceivedFilePath(const std::filesystem::path& folder,
                                                     std::string_view stem);

} // namespace varnolt
