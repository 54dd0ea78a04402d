#pragma once
// Scratch folders of the suites, the fuzz seed maker and the benchmarks: under $KRN_TEST_TMP when
// it is set, else under the system's temporary folder, named so that parallel runs never meet.

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>

// Where scratch folders go.
inline std::filesystem::path KRN_TestScratchRoot()
{
    const char* root = std::getenv("KRN_TEST_TMP");
    return root != nullptr && root[0] != '\0' ? std::filesystem::path(root)
                                              : std::filesystem::temp_directory_path();
}

// A fresh, empty folder root/<prefix>-<pid>/name, emptied first when an earlier run left it.
inline std::filesystem::path KRN_TestNamedFolder(const std::string& prefix, const std::string& name)
{
    const auto folder = KRN_TestScratchRoot() / (prefix + "-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Writes the bytes as they stand.
inline void KRN_TestWriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A new folder root/<prefix>-<pid>-<count>-<random>, unique in the process and across processes.
inline std::filesystem::path KRN_TestUniqueFolder(const std::string& prefix)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto folder =
        KRN_TestScratchRoot() / (prefix + "-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter++) + "-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}

// Removes a scratch folder and everything in it; a folder already gone is no fault.
inline void KRN_TestRemoveFolder(const std::filesystem::path& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// A unique folder (KRN_TestUniqueFolder) removed with the object.
class KRN_TestFolder
{
public:
    explicit KRN_TestFolder(const std::string& prefix) : m_path(KRN_TestUniqueFolder(prefix)) {}
    ~KRN_TestFolder() { KRN_TestRemoveFolder(m_path); }
    KRN_TestFolder(const KRN_TestFolder&) = delete;
    KRN_TestFolder& operator=(const KRN_TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes the bytes into a file of the folder and returns its path.
    std::string WriteBytes(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = m_path / name;
        KRN_TestWriteBytes(path, bytes);
        return path.string();
    }

private:
    std::filesystem::path m_path;
};

// A fresh folder with a short path under /tmp, removed with the object, for sockets: a socket's
// address holds at most 107 bytes of path, which a scratch folder below a deep checkout exceeds.
class KRN_SocketFolder
{
public:
    KRN_SocketFolder()
    {
        char name[] = "/tmp/krn-XXXXXX";
        if (::mkdtemp(name) == nullptr)
            throw std::filesystem::filesystem_error(
                "cannot make a socket folder", name,
                std::error_code(errno, std::generic_category()));
        m_path = name;
    }
    ~KRN_SocketFolder() { KRN_TestRemoveFolder(m_path); }
    KRN_SocketFolder(const KRN_SocketFolder&) = delete;
    KRN_SocketFolder& operator=(const KRN_SocketFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
