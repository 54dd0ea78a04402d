// Replays inputs through a fuzz target without libFuzzer: every file named on the command line,
// and every regular file directly inside a named folder, is passed once to LLVMFuzzerTestOneInput.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{
int RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        std::cerr << "cannot read " << path << "\n";
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    int failures = 0;
    size_t count = 0;
    for (int i = 1; i < argc; ++i)
    {
        std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec))
        {
            for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
            {
                if (entry.is_regular_file())
                {
                    failures += RunFile(entry.path());
                    ++count;
                }
            }
        }
        else
        {
            failures += RunFile(arg);
            ++count;
        }
    }
    std::cout << "replayed " << count << " inputs\n";
    return failures == 0 ? 0 : 1;
}
