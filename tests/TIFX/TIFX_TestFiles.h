#pragma once
// Scratch folders and job information shared by the preview-file suites.

#include "KRN_TestFolder.h"
#include "KRN_TestJobInfo.h"

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// A folder of its own under $KRN_TEST_TMP for each test, removed afterwards.
class TIFX_ScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tifx-") + test->test_suite_name() + "-" + test->name() +
                           "-" + std::to_string(::getpid());
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_dir = KRN_TestScratchRoot() / name;
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { KRN_TestRemoveFolder(m_dir); }

    std::string PathOf(const std::string& file) const { return (m_dir / file).string(); }

    std::filesystem::path m_dir;
};

// `info` as a reader sees it in a directory written with the given "Scale".
inline KRNDirectoryInfo TIFX_WithScale(KRNDirectoryInfo info, uint16_t scale)
{
    info.scale = scale;
    info.SetField(TIFX_Field::Scale);
    return info;
}

// A one-bit test pattern: rows of (width + 7) / 8 bytes, with ink on a diagonal band and a frame.
inline std::vector<uint8_t> TIFX_Pattern(uint32_t width, uint32_t height)
{
    const uint32_t rowBytes = (width + 7) / 8;
    std::vector<uint8_t> bits(size_t{rowBytes} * height, 0);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const bool ink = x == 0 || y == 0 || x + 1 == width || y + 1 == height ||
                             (x + y) % 37 < 9 || (x / 64 + y / 64) % 5 == 0;
            if (ink)
                bits[size_t{y} * rowBytes + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    return bits;
}

// Writes a preview file of the test pattern, width x height, with `info` in every directory.
inline std::string TIFX_WritePattern(const std::string& path, const KRNDirectoryInfo& info,
                                     const TIFX_KRNWriterOptions& options, uint32_t width,
                                     uint32_t height)
{
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(width, height, TIFX_Pattern(width, height));
    writer.SetDirectoryInfo(info);
    writer.Write(path);
    return path;
}

// What a file's directory report prints for its current directory, captured in memory.
inline std::string TIFX_Report(TIFX_KRNFile& file)
{
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    file.PrintDirectory(out);
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}

// Edits the directories of a classic TIFF in place, in the file's byte order: where a directory
// lies, and the value field of one of its entries.
class TIFX_RawFile
{
public:
    explicit TIFX_RawFile(std::string path) : m_path(std::move(path))
    {
        std::ifstream in(m_path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), {});
        m_big = !m_bytes.empty() && m_bytes[0] == 'M';
    }

    // File offset of image directory `directory` (from 0); 0 when there is none.
    uint32_t DirectoryOffset(unsigned directory) const
    {
        uint32_t ifd = Get(4, 4);
        for (unsigned d = 0; d < directory && ifd != 0; ++d)
            ifd = Get(ifd + 2 + 12 * Get(ifd, 2), 4);
        return ifd;
    }

    // Sets the value field of `tag` in the directory (made one LONG first with asLong, so that
    // any 32-bit value fits); false when the directory has no such entry.
    bool SetEntryValue(unsigned directory, uint16_t tag, uint32_t value, bool asLong)
    {
        const uint32_t ifd = DirectoryOffset(directory);
        if (ifd == 0)
            return false;
        for (uint32_t i = 0, n = Get(ifd, 2); i < n; ++i)
        {
            const size_t e = ifd + 2 + 12 * size_t{i};
            if (Get(e, 2) != tag)
                continue;
            if (asLong)
            {
                Put(e + 2, 2, 4);
                Put(e + 4, 4, 1);
            }
            Put(e + 8, 4, value);
            return Save();
        }
        return false;
    }

    // The value field of `tag` in the directory (for an array, where it lies); 0 when absent.
    uint32_t EntryValue(unsigned directory, uint16_t tag) const
    {
        const uint32_t ifd = DirectoryOffset(directory);
        for (uint32_t i = 0, n = ifd ? Get(ifd, 2) : 0; i < n; ++i)
            if (Get(ifd + 2 + 12 * size_t{i}, 2) == tag)
                return Get(ifd + 2 + 12 * size_t{i} + 8, 4);
        return 0;
    }

    uint32_t Long(size_t at) const { return Get(at, 4); }
    void SetLong(size_t at, uint32_t value) { Put(at, 4, value); }
    // Overwrites bytes [at, at + n) with `value` each.
    void Fill(size_t at, size_t n, uint8_t value)
    {
        for (size_t i = at; i < at + n && i < m_bytes.size(); ++i)
            m_bytes[i] = value;
    }

    bool Save() const
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(m_bytes.data()),
                  static_cast<std::streamsize>(m_bytes.size()));
        return bool(out);
    }

private:
    uint32_t Get(size_t at, int n) const
    {
        uint32_t v = 0;
        for (int i = 0; i < n && at + size_t(i) < m_bytes.size(); ++i)
            v |= uint32_t(m_bytes[at + size_t(i)]) << (8 * (m_big ? n - 1 - i : i));
        return v;
    }
    void Put(size_t at, int n, uint32_t v)
    {
        for (int i = 0; i < n && at + size_t(i) < m_bytes.size(); ++i)
            m_bytes[at + size_t(i)] = uint8_t(v >> (8 * (m_big ? n - 1 - i : i)));
    }

    std::string m_path;
    std::vector<uint8_t> m_bytes;
    bool m_big = false;
};
