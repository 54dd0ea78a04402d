#include "GFIL/GFIL_FileSystemPosix.h"
#include "GFIL/GFIL_FileSpec.h"
#include "GFIL_TestSupport.h"
#include "GLIB/GLIB_FatalException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

void WriteFileBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Pattern(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

std::string Quote(const GFIL_ScratchFolder& folder, const std::string& relative)
{
    return "\"" + (folder.Path() / relative).string() + "\"";
}

GFIL_FileSystemPosix& Posix(const GFIL_FileSpec& spec)
{
    return dynamic_cast<GFIL_FileSystemPosix&>(*spec);
}

// Restores the process-wide buffer size however a test ends.
struct DefaultBufferSizeGuard
{
    std::uint32_t saved = GFIL_FileSystem::DefaultBufferSize();
    ~DefaultBufferSizeGuard() { GFIL_FileSystem::SetDefaultBufferSize(saved); }
};

TEST(FileSystemPosix, WhatAPathIs)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "plate.tif", "x");
    fs::create_directory(folder.Path() / "job");
    fs::create_symlink(folder.Path() / "gone", folder.Path() / "dangling");

    const GFIL_FileSpec root(L"/");
    EXPECT_TRUE(root->Exists());
    EXPECT_TRUE(root->IsDirectory());
    EXPECT_FALSE(root->IsFile());
    EXPECT_TRUE(root->HasPath());

    const GFIL_FileSpec file(folder.Wide("plate.tif"));
    EXPECT_TRUE(file->Exists());
    EXPECT_TRUE(file->IsFile());
    EXPECT_FALSE(file->IsDirectory());

    const GFIL_FileSpec dir(folder.Wide("job"));
    EXPECT_TRUE(dir->IsDirectory());
    EXPECT_FALSE(dir->IsFile());

    for (const char* missing : {"missing", "plate.tif/below"})
    {
        const GFIL_FileSpec spec(folder.Wide(missing));
        EXPECT_FALSE(spec->Exists()) << missing;
        EXPECT_FALSE(spec->IsFile()) << missing;
        EXPECT_FALSE(spec->IsDirectory()) << missing;
    }
    // A link whose target is gone is still an entry.
    EXPECT_TRUE(GFIL_FileSpec(folder.Wide("dangling"))->IsFile());
}

TEST(FileSystemPosix, ChildExists)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "a.tif", "x");
    const GFIL_FileSpec dir(folder.Wide());
    EXPECT_TRUE(dir->ChildExists(L"a.tif"));
    EXPECT_FALSE(dir->ChildExists(L"b.tif"));
    EXPECT_FALSE(GFIL_FileSpec(folder.Wide("a.tif"))->ChildExists(L"x"));
    EXPECT_FILE_ERROR(dir->ChildExists(L"x/a.tif"), GFIL_ERR_INVALID_PATH,
                      "The name \"x/a.tif\" is invalid for the Win32 platform.");
}

TEST(FileSystemPosix, ListEntriesLeavesOutDotsAndUnnameableEntries)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "a.tif", "x");
    WriteFileBytes(folder.Path() / "\xc3\xa9.tif", "x");
    fs::create_directory(folder.Path() / "sub");
    // A control character cannot be held by a specification; a byte that is not UTF-8 can.
    WriteFileBytes(folder.Path() / "bad\nname", "x");
    WriteFileBytes(folder.Path() / "latin\xe9", "latin-1");

    std::vector<std::wstring> names;
    for (const GFIL_FileSpec& entry : GFIL_FileSpec(folder.Wide())->ListEntries())
    {
        EXPECT_EQ(entry->Parent().Path(), folder.Wide());
        names.push_back(entry.Name());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.tif", L"latin\xDCE9", L"sub", L"\x00e9.tif"}));
    // Every name listed opens again as the file it came from.
    GFIL_FileSpec latin = GFIL_FileSpec(folder.Wide())->Child(L"latin\xDCE9");
    EXPECT_TRUE(latin->Exists());
    EXPECT_TRUE(GFIL_FileSpec(folder.Wide())->ChildExists(L"latin\xDCE9"));
    EXPECT_FALSE(GFIL_FileSpec(folder.Wide())->ChildExists(L"latin\x00e9"));
    EXPECT_NO_THROW(latin->Open(GFIL_MODE_READ));
    EXPECT_EQ(latin->Size(), 7u); // "latin-1": the file of that name, not another

    EXPECT_TRUE(GFIL_FileSpec(folder.Wide("missing"))->ListEntries().empty());
    EXPECT_TRUE(GFIL_FileSpec(folder.Wide("a.tif"))->ListEntries().empty());
    EXPECT_TRUE(GFIL_FileSpec(folder.Wide("sub"))->ListEntries().empty());
}

TEST(FileSystemPosix, CreateKeepsTheFileOpenWithItsMode)
{
    GFIL_ScratchFolder folder;
    GFIL_FileSpec spec(folder.Wide("new.bin"));
    EXPECT_FALSE(spec->IsOpen());
    spec->Create(GFIL_MODE_READ_WRITE | GFIL_MODE_TEMPORARY | GFIL_MODE_SHARED_SEQUENTIAL);
    EXPECT_TRUE(spec->IsOpen());
    // The sharing bit lies inside the access mask and is kept with the access bits.
    EXPECT_EQ(spec->Mode(),
              GFIL_MODE_READ_WRITE | GFIL_MODE_TEMPORARY | GFIL_MODE_SHARED_SEQUENTIAL);
    EXPECT_GE(Posix(spec).NativeHandle(), 0);
    EXPECT_TRUE(spec->IsFile());
    spec->Close();
    EXPECT_FALSE(spec->IsOpen());
    EXPECT_EQ(Posix(spec).NativeHandle(), -1);
    // Opening keeps the creation bits of the earlier create and takes the new access.
    spec->Open(GFIL_MODE_READ);
    EXPECT_EQ(spec->Mode(), GFIL_MODE_READ | GFIL_MODE_TEMPORARY);
    spec->Close();
    spec->Close(); // closing a closed file does nothing
    EXPECT_FALSE(spec->IsOpen());
}

TEST(FileSystemPosix, CreateRefusesOrReplacesAnExistingFile)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "old.bin", "previous contents");
    GFIL_FileSpec spec(folder.Wide("old.bin"));
    EXPECT_FILE_ERROR(spec->Create(GFIL_MODE_WRITE), GFIL_ERR_EXISTS,
                      "Unable to create the file " + Quote(folder, "old.bin") +
                          " because it already exists; " + SysText(EEXIST));
    EXPECT_FALSE(spec->IsOpen());
    EXPECT_EQ(ReadFileBytes(folder.Path() / "old.bin"), "previous contents");

    spec->Create(GFIL_MODE_OVERWRITE | GFIL_MODE_WRITE);
    EXPECT_EQ(spec->Size(), 0u);
    spec->Close();
    EXPECT_EQ(ReadFileBytes(folder.Path() / "old.bin"), "");

    // Replacing empties the file even when only read access was asked for.
    WriteFileBytes(folder.Path() / "old.bin", "again");
    spec->Create(GFIL_MODE_OVERWRITE | GFIL_MODE_READ);
    EXPECT_EQ(spec->Size(), 0u);
    spec->Close();
}

TEST(FileSystemPosix, CreateFailuresByCause)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "plain", "x");
    fs::create_directory(folder.Path() / "dir");

    EXPECT_FILE_ERROR(
        GFIL_FileSpec(folder.Wide("missing/x"))->Create(GFIL_MODE_WRITE), GFIL_ERR_NOT_FOUND,
        "Unable to find the file " + Quote(folder, "missing/x") + "; " + SysText(ENOENT));
    EXPECT_FILE_ERROR(
        GFIL_FileSpec(folder.Wide("plain/x"))->Create(GFIL_MODE_WRITE), GFIL_ERR_NOT_FOUND,
        "Unable to find the file " + Quote(folder, "plain/x") + "; " + SysText(ENOTDIR));
    EXPECT_FILE_ERROR(GFIL_FileSpec(folder.Wide("dir"))->Create(GFIL_MODE_WRITE), GFIL_ERR_EXISTS,
                      "Unable to create the file " + Quote(folder, "dir") +
                          " because it already exists; " + SysText(EEXIST));
    EXPECT_FILE_ERROR(
        GFIL_FileSpec(folder.Wide("dir"))->Create(GFIL_MODE_OVERWRITE | GFIL_MODE_WRITE),
        GFIL_ERR_OTHER, "An unknown error occured; " + SysText(EISDIR));
}

TEST(FileSystemPosix, OpenFailuresByCause)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "plain", "x");
    fs::create_directory(folder.Path() / "dir");

    GFIL_FileSpec missing(folder.Wide("missing"));
    EXPECT_FILE_ERROR(missing->Open(GFIL_MODE_READ), GFIL_ERR_NOT_FOUND,
                      "Unable to find the file " + Quote(folder, "missing") + "; " +
                          SysText(ENOENT));
    EXPECT_FALSE(missing->IsOpen());
    EXPECT_FILE_ERROR(
        GFIL_FileSpec(folder.Wide("plain/x"))->Open(GFIL_MODE_READ), GFIL_ERR_NOT_FOUND,
        "Unable to find the file " + Quote(folder, "plain/x") + "; " + SysText(ENOTDIR));
    // A folder is no file, even for reading.
    for (const std::uint32_t access : {GFIL_MODE_READ, GFIL_MODE_WRITE})
    {
        GFIL_FileSpec dir(folder.Wide("dir"));
        EXPECT_FILE_ERROR(dir->Open(access), GFIL_ERR_OTHER,
                          "An unknown error occured; the Win32 " + SysText(EISDIR));
        EXPECT_FALSE(dir->IsOpen());
    }
}

TEST(FileSystemPosix, UnsharedOpenersExcludeEachOther)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "held.bin", "keep me");
    const std::string busy =
        "The file " + Quote(folder, "held.bin") + " is busy or locked; " + SysText(EWOULDBLOCK);

    GFIL_FileSpec holder(folder.Wide("held.bin"));
    holder->Open(GFIL_MODE_READ);
    GFIL_FileSpec other(folder.Wide("held.bin"));
    EXPECT_FILE_ERROR(other->Open(GFIL_MODE_READ), GFIL_ERR_BUSY_OR_LOCKED, busy);
    EXPECT_FALSE(other->IsOpen());
    // Replacing a held file must not empty it before finding out it is held.
    EXPECT_FILE_ERROR(other->Create(GFIL_MODE_OVERWRITE | GFIL_MODE_WRITE), GFIL_ERR_BUSY_OR_LOCKED,
                      busy);
    EXPECT_EQ(ReadFileBytes(folder.Path() / "held.bin"), "keep me");
    EXPECT_FILE_ERROR(other->Delete(), GFIL_ERR_BUSY_OR_LOCKED, busy);
    EXPECT_TRUE(other->Exists());

    holder->Close();
    other->Open(GFIL_MODE_READ);
    EXPECT_TRUE(other->IsOpen());
    other->Close();
}

TEST(FileSystemPosix, SharedOpenersCoexistButKeepUnsharedOnesOut)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "shared.bin", "x");
    GFIL_FileSpec first(folder.Wide("shared.bin"));
    GFIL_FileSpec second(folder.Wide("shared.bin"));
    first->Open(GFIL_MODE_READ | GFIL_MODE_SHARED_SEQUENTIAL);
    second->Open(GFIL_MODE_READ | GFIL_MODE_SHARED_SEQUENTIAL);
    EXPECT_EQ(
        CatchFileError([&] { GFIL_FileSpec(folder.Wide("shared.bin"))->Open(GFIL_MODE_READ); })
            .code,
        GFIL_ERR_BUSY_OR_LOCKED);
    first->Close();
    second->Close();
}

TEST(FileSystemPosix, DeleteFailuresByCause)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "plain", "x");
    fs::create_directory(folder.Path() / "dir");

    EXPECT_FILE_ERROR(GFIL_FileSpec(folder.Wide("missing"))->Delete(), GFIL_ERR_NOT_FOUND,
                      "Unable to find the file " + Quote(folder, "missing") + "; " +
                          SysText(ENOENT));
    EXPECT_FILE_ERROR(GFIL_FileSpec(folder.Wide("plain/x"))->Delete(), GFIL_ERR_NOT_FOUND,
                      "Unable to find the file " + Quote(folder, "plain/x") + "; " +
                          SysText(ENOTDIR));
    EXPECT_FILE_ERROR(GFIL_FileSpec(folder.Wide("dir"))->Delete(), GFIL_ERR_OTHER,
                      "An unknown error occured; " + SysText(EISDIR));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "dir"));

    GFIL_FileSpec plain(folder.Wide("plain"));
    plain->Delete();
    EXPECT_FALSE(plain->Exists());
}

TEST(FileSystemPosix, WriteThenSizeAndSetSize)
{
    GFIL_ScratchFolder folder;
    GFIL_FileSpec spec(folder.Wide("data.bin"));
    spec->Create(GFIL_MODE_READ_WRITE);

    GFIL_ReadBuffer buffer = spec->AllocateBuffer();
    std::memcpy(buffer.Storage(), "..hello", 7);
    buffer.SetData(2, 5);
    spec->Write(buffer, 3);
    // A write that succeeds gives the storage back.
    EXPECT_FALSE(buffer.HasStorage());
    EXPECT_EQ(buffer.Count(), 0u);
    EXPECT_EQ(spec->Size(), 8u);

    spec->SetSize(10);
    EXPECT_EQ(spec->Size(), 10u);
    spec->SetSize(6);
    EXPECT_EQ(spec->Size(), 6u);
    spec->Flush();
    spec->Close();
    EXPECT_EQ(ReadFileBytes(folder.Path() / "data.bin"), std::string("\0\0\0hel", 6));
}

TEST(FileSystemPosix, ReadBufferEndOfFileAtTheBoundaries)
{
    GFIL_ScratchFolder folder;
    const std::string bytes = Pattern(40);
    WriteFileBytes(folder.Path() / "forty.bin", bytes);
    WriteFileBytes(folder.Path() / "thirtytwo.bin", bytes.substr(0, 32));

    GFIL_FileSpec forty(folder.Wide("forty.bin"));
    Posix(forty).SetBufferSize(16);
    forty->Open(GFIL_MODE_READ);
    GFIL_ReadBuffer full = forty->Read(16);
    EXPECT_EQ(full.Capacity(), 16u);
    EXPECT_EQ(full.Count(), 16u);
    EXPECT_FALSE(full.IsEndOfFile());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(full.Data()), 16), bytes.substr(16, 16));
    // The last, partial block: the flag and the short count.
    GFIL_ReadBuffer last = forty->Read(32);
    EXPECT_EQ(last.Count(), 8u);
    EXPECT_TRUE(last.IsEndOfFile());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(last.Data()), 8), bytes.substr(32));
    // At and past the end: nothing, with the flag.
    for (const std::uint64_t offset : {40u, 1000u})
    {
        GFIL_ReadBuffer empty = forty->Read(offset);
        EXPECT_EQ(empty.Count(), 0u) << offset;
        EXPECT_TRUE(empty.IsEndOfFile()) << offset;
    }
    forty->Close();

    // A file that ends exactly on a block boundary: the last full block is not the end yet.
    GFIL_FileSpec even(folder.Wide("thirtytwo.bin"));
    Posix(even).SetBufferSize(16);
    even->Open(GFIL_MODE_READ | GFIL_MODE_SHARED_SEQUENTIAL);
    GFIL_ReadBuffer second = even->Read(16);
    EXPECT_EQ(second.Count(), 16u);
    EXPECT_FALSE(second.IsEndOfFile());
    GFIL_ReadBuffer after = even->Read(32);
    EXPECT_EQ(after.Count(), 0u);
    EXPECT_TRUE(after.IsEndOfFile());
    even->Close();
}

TEST(FileSystemPosix, BufferSizeFallsBackToTheProcessDefault)
{
    DefaultBufferSizeGuard guard;
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "big.bin", Pattern(40000));
    GFIL_FileSpec spec(folder.Wide("big.bin"));
    spec->Open(GFIL_MODE_READ);

    EXPECT_EQ(GFIL_FileSystem::DefaultBufferSize(), 32768u);
    GFIL_ReadBuffer first = spec->Read(0);
    EXPECT_EQ(first.Capacity(), 32768u);
    EXPECT_EQ(first.Count(), 32768u);
    EXPECT_FALSE(first.IsEndOfFile());

    GFIL_FileSystem::SetDefaultBufferSize(1000);
    EXPECT_EQ(spec->Read(39500).Count(), 500u);
    EXPECT_EQ(spec->AllocateBuffer().Capacity(), 1000u);
    // Zero would make every read look like the end of the file.
    GFIL_FileSystem::SetDefaultBufferSize(0);
    EXPECT_EQ(GFIL_FileSystem::DefaultBufferSize(), 32768u);
    // The object's own size wins over the default.
    Posix(spec).SetBufferSize(7);
    EXPECT_EQ(spec->Read(0).Capacity(), 7u);
    spec->Close();
}

TEST(FileSystemPosix, OffsetsBeyondTwoToTheSixtyThird)
{
    GFIL_ScratchFolder folder;
    GFIL_FileSpec spec(folder.Wide("offsets.bin"));
    spec->Create(GFIL_MODE_READ_WRITE);
    const std::uint64_t limit = std::uint64_t{1} << 63;
    const std::string fatalText = "Win32 cannot support file offsets greater than 2^63";

    GFIL_LogCapture log;
    try
    {
        spec->Read(limit + 1);
        ADD_FAILURE() << "no fatal exception";
    }
    catch (const GLIB_FatalException& fatal)
    {
        EXPECT_EQ(ToNarrow(fatal.GetText()), fatalText);
    }
    EXPECT_THROW(spec->SetSize(~std::uint64_t{0}), GLIB_FatalException);
    GFIL_ReadBuffer buffer = spec->AllocateBuffer();
    buffer.SetData(0, 1);
    EXPECT_THROW(spec->Write(buffer, limit + 1), GLIB_FatalException);
    ASSERT_EQ(log.Entries().size(), 3u);
    for (const auto& entry : log.Entries())
    {
        EXPECT_EQ(entry.severity, 0);
        EXPECT_EQ(entry.text, fatalText);
    }

    // 2^63 itself is within the limit, but no position can hold it.
    const std::string position =
        "An unknown error occured during SetFilePointer(); " + SysText(EINVAL);
    EXPECT_FILE_ERROR(spec->Read(limit), GFIL_ERR_OTHER, position);
    EXPECT_FILE_ERROR(spec->SetSize(limit), GFIL_ERR_OTHER, position);
    EXPECT_FILE_ERROR(spec->Write(buffer, limit), GFIL_ERR_OTHER, position);
    // A failed write leaves the buffer with its caller.
    EXPECT_TRUE(buffer.HasStorage());
    EXPECT_EQ(buffer.Count(), 1u);
    spec->Close();
}

TEST(FileSystemPosix, ReadAndWriteWithoutTheAccessForIt)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "f.bin", "abc");
    GFIL_FileSpec spec(folder.Wide("f.bin"));

    spec->Open(GFIL_MODE_WRITE);
    EXPECT_FILE_ERROR(spec->Read(0), GFIL_ERR_OTHER,
                      "An unknown error occured during ReadFile() ; " + SysText(EBADF));
    spec->Close();

    spec->Open(GFIL_MODE_READ);
    GFIL_ReadBuffer buffer = spec->AllocateBuffer();
    buffer.SetData(0, 3);
    EXPECT_FILE_ERROR(spec->Write(buffer, 0), GFIL_ERR_OTHER,
                      "An unknown error occured during WriteFile(); " + SysText(EBADF));
    EXPECT_TRUE(buffer.HasStorage());
    EXPECT_FILE_ERROR(spec->SetSize(1), GFIL_ERR_OTHER,
                      "An unknown error occured; " + SysText(EINVAL));
    spec->Close();
    EXPECT_EQ(ReadFileBytes(folder.Path() / "f.bin"), "abc");
}

TEST(FileSystemPosix, OperationsOnAClosedFileFailWithoutTouchingAnything)
{
    GFIL_ScratchFolder folder;
    GFIL_FileSpec spec(folder.Wide("closed.bin"));
    const std::string position =
        "An unknown error occured during SetFilePointer(); " + SysText(EBADF);
    EXPECT_FILE_ERROR(spec->Size(), GFIL_ERR_OTHER, "An unknown error occured; " + SysText(EBADF));
    EXPECT_FILE_ERROR(spec->Read(0), GFIL_ERR_OTHER, position);
    EXPECT_FILE_ERROR(spec->SetSize(0), GFIL_ERR_OTHER, position);
    GFIL_ReadBuffer buffer(4);
    EXPECT_FILE_ERROR(spec->Write(buffer, 0), GFIL_ERR_OTHER, position);
    EXPECT_FALSE(spec->Exists());
}

TEST(FileSystemPosix, CloseAndFlushFailuresAreLoggedNotThrown)
{
    GFIL_ScratchFolder folder;
    GFIL_FileSpec spec(folder.Wide("log.bin"));
    spec->Create(GFIL_MODE_WRITE);

    GFIL_LogCapture log;
    // Pull the descriptor away so that flushing and closing it fail.
    ASSERT_EQ(::close(Posix(spec).NativeHandle()), 0);
    EXPECT_NO_THROW(spec->Flush());
    EXPECT_NO_THROW(spec->Close());
    EXPECT_FALSE(spec->IsOpen());
    EXPECT_EQ(Posix(spec).NativeHandle(), -1);
    ASSERT_EQ(log.Entries().size(), 2u);
    EXPECT_EQ(log.Entries()[0].severity, 2);
    EXPECT_EQ(log.Entries()[0].text, "FlushFileBuffers() generated an error; " + SysText(EBADF));
    EXPECT_EQ(log.Entries()[1].severity, 2);
    EXPECT_EQ(log.Entries()[1].text, "CloseHandle() caused an internal error; " + SysText(EBADF));
}

std::size_t OpenDescriptorCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(FileSystemPosix, ReopeningDoesNotLoseTheDescriptor)
{
    GFIL_ScratchFolder folder;
    WriteFileBytes(folder.Path() / "twice.bin", "x");
    GFIL_FileSpec spec(folder.Wide("twice.bin"));
    const std::size_t before = OpenDescriptorCount();
    spec->Open(GFIL_MODE_READ);
    // The second open must neither leak the first descriptor nor trip over its lock.
    spec->Open(GFIL_MODE_READ);
    EXPECT_TRUE(spec->IsOpen());
    EXPECT_EQ(OpenDescriptorCount(), before + 1);
    spec->Close();
    EXPECT_EQ(OpenDescriptorCount(), before);
}
} // namespace

namespace
{
TEST(FileSystemPosix, ReleasingAnOpenFileGivesItsLockBack)
{
    GFIL_ScratchFolder folder;
    std::ofstream(folder.Path() / "forgotten.bin") << "x";
    {
        GFIL_FileSpec holder(folder.Wide("forgotten.bin"));
        holder->Open(GFIL_MODE_READ);
        // Released without a close.
    }
    GFIL_FileSpec later(folder.Wide("forgotten.bin"));
    EXPECT_NO_THROW(later->Open(GFIL_MODE_READ));
    later->Close();
}
} // namespace
