#include "core/platform/Cp932.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iconv.h>

namespace varnolt {

namespace {

// One conversion with iconv; on an input sequence it cannot convert, SKIP_INVALID says how
// many input bytes to pass over and REPLACEMENT is written instead.
template <typename SkipInvalid>
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, SkipInvalid skipInvalid) {
    std::string output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return output;
    }
    output.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (result != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ: an unconvertible character; EINVAL: an incomplete one at the end.
        const size_t skip = std::min(inLeft, skipInvalid(std::string_view(in, inLeft)));
        in += skip;
        inLeft -= skip;
        output.append(replacement);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return output;
}

size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    // A broken sequence is passed over one byte at a time.
    for (size_t i = 1; i < length; ++i) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

size_t Cp932SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const bool doubleByte = IsCp932LeadByte(lead);
    return doubleByte && text.size() >= 2 ? 2 : 1;
}

} // namespace

std::string Utf8ToCp932(std::string_view utf8, std::string_view replacement) {
    return Convert("CP932", "UTF-8", utf8, replacement, Utf8SequenceLength);
}

std::string Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", Cp932SequenceLength);
}

std::string Utf16ToCp932(std::u16string_view utf16, std::string_view replacement) {
    static_assert(std::endian::native == std::endian::little, "char16_t is read as UTF-16LE");
    const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2);
    const auto skipUnit = [](std::string_view rest) -> size_t {
        const auto high = static_cast<unsigned char>(rest.size() > 1 ? rest[1] : 0);
        return (high & 0xFC) == 0xD8 && rest.size() >= 4 ? 4 : 2;
    };
    return Convert("CP932", "UTF-16LE", bytes, replacement, skipUnit);
}

} // namespace varnolt
