// Any bytes as a monitor's capabilities string: the parser never crashes, loops or
// reads past the end, and padding the string with NULs and blanks changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "monitor/Capabilities.h"
#include "Require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string caps(reinterpret_cast<const char*>(data), size);
    const VcpCodes codes = ParseCapabilities(caps);
    Require(codes.parsed || codes.listed.none(), "an unparsed string lists nothing");
    const VcpCodes padded = ParseCapabilities(caps + std::string("\0\0 \r\n", 5));
    Require(padded.parsed == codes.parsed && padded.listed == codes.listed, "trailing NULs and blanks are ignored");
    return 0;
}
