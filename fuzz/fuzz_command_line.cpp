// Command lines arrive from a second program start. Splitting any line, joining the arguments
// and splitting again must give the same arguments; the splitter must never read past the line.

#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_String.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::wstring line = ToWide(bytes);
    if (line.empty())
    {
        // Not UTF-8: take the bytes as code units so that every input reaches the splitter.
        line.assign(bytes.begin(), bytes.end());
    }
    const std::vector<std::wstring> arguments = GLIB_CommandLine::Split(line);
    const std::wstring joined = GLIB_CommandLine::Join(arguments);
    if (GLIB_CommandLine::Split(joined) != arguments)
        std::abort();
    return 0;
}
