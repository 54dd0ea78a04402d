#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_FileSystemPosix.h"
#include "GFIL_TestSupport.h"

#include <cerrno>
#include <sstream>

namespace
{
TEST(FileSpec, EmptyHandle)
{
    GFIL_FileSpec spec;
    EXPECT_TRUE(spec.IsEmpty());
    EXPECT_FALSE(spec);
    EXPECT_EQ(spec.Get(), nullptr);
    std::ostringstream out;
    out << spec;
    EXPECT_EQ(out.str(), "");
    // Using an empty handle is a coded failure, not a null dereference.
    EXPECT_FILE_ERROR(spec->Exists(), GFIL_ERR_INVALID_PATH, "The file specification is empty");
    EXPECT_FILE_ERROR(spec.Path(), GFIL_ERR_INVALID_PATH, "The file specification is empty");
}

TEST(FileSpec, CopiesShareOneObjectAndTheLastDeletesIt)
{
    GFIL_FileSpec first(L"/jobs/a.tif");
    GFIL_FileSystem* object = first.Get();
    EXPECT_EQ(object->ReferenceCount(), 1);
    {
        GFIL_FileSpec second = first;
        GFIL_FileSpec third;
        third = second;
        EXPECT_EQ(second.Get(), object);
        EXPECT_EQ(object->ReferenceCount(), 3);
        // Assigning a handle to itself keeps the reference.
        const GFIL_FileSpec& alias = third;
        third = alias;
        EXPECT_EQ(object->ReferenceCount(), 3);
        GFIL_FileSpec moved = std::move(second);
        EXPECT_TRUE(second.IsEmpty());
        EXPECT_EQ(object->ReferenceCount(), 3);
    }
    EXPECT_EQ(object->ReferenceCount(), 1);
    GFIL_FileSpec other(L"/jobs/b.tif");
    first = other;
    EXPECT_EQ(first.Path(), L"/jobs/b.tif");
    EXPECT_EQ(other->ReferenceCount(), 2);
    first.Reset();
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(other->ReferenceCount(), 1);
}

TEST(FileSpec, WideAndNarrowFormsAgree)
{
    const std::wstring expected = L"/jobs/\x00e9preuve/a.tif";
    EXPECT_EQ(GFIL_FileSpec(L"/jobs/\x00e9preuve//a.tif/").Path(), expected);
    EXPECT_EQ(GFIL_FileSpec(std::wstring(L"/jobs/\x00e9preuve/a.tif")).Path(), expected);
    EXPECT_EQ(GFIL_FileSpec("/jobs/\xc3\xa9preuve/a.tif").Path(), expected);
    EXPECT_EQ(GFIL_FileSpec(std::string("/jobs/./\xc3\xa9preuve/a.tif")).Path(), expected);
}

TEST(FileSpec, StreamWritesTheNarrowPath)
{
    std::ostringstream out;
    out << GFIL_FileSpec(L"/jobs/\x00e9.tif") << "|";
    EXPECT_EQ(out.str(), "/jobs/\xc3\xa9.tif|");
}

TEST(FileSpec, RelativePathsFollowTheCurrentDirectory)
{
    const std::wstring current = GFIL_FileSystemPosix::CurrentDirectory();
    ASSERT_FALSE(current.empty());
    EXPECT_EQ(GFIL_FileSpec(L"sub/x.tif").Path(),
              (current == L"/" ? L"" : current) + L"/sub/x.tif");
    EXPECT_EQ(GFIL_FileSpec(".").Path(), current);
}

TEST(FileSpec, BadNarrowTextIsRefusedNotShortened)
{
    // Not UTF-8: a file name is bytes, so the odd byte is carried, not refused (U+DC00 + byte).
    EXPECT_EQ(GFIL_FileSpec("/jobs/\xff.tif").Path(), L"/jobs/\xDCFF.tif");
    // Escapes that would spell UTF-8 on disk ("\xc3\xa9" is U+00E9) name another file.
    EXPECT_FILE_ERROR(GFIL_FileSpec(L"/jobs/\xDCC3\xDCA9.tif"), GFIL_ERR_INVALID_PATH,
                      "The path \"/jobs/??.tif\" contains the invalid character 0xdcc3");
    // A zero inside the text must not cut it to another, valid path.
    EXPECT_FILE_ERROR(GFIL_FileSpec(std::string("/jobs/a\0b", 9)), GFIL_ERR_INVALID_PATH,
                      "The path \"/jobs/a?b\" contains the invalid character 0x0");
    EXPECT_FILE_ERROR(GFIL_FileSpec(static_cast<const char*>(nullptr)), GFIL_ERR_INVALID_PATH,
                      "The path \"\" cannot be expanded;" + SysText(ENOENT));
    EXPECT_FILE_ERROR(GFIL_FileSpec(static_cast<const wchar_t*>(nullptr)), GFIL_ERR_INVALID_PATH,
                      "The path \"\" cannot be expanded;" + SysText(ENOENT));
}

TEST(FileSpec, FailedConstructionLeavesTheTargetUntouched)
{
    GFIL_FileSpec spec(L"/jobs/a.tif");
    const GFIL_Thrown thrown = CatchFileError([&] { spec = GFIL_FileSpec(L"/jobs/\x01"); });
    EXPECT_TRUE(thrown.thrown);
    EXPECT_EQ(spec.Path(), L"/jobs/a.tif");
    EXPECT_EQ(spec->ReferenceCount(), 1);
}

TEST(FileSpec, NavigationThroughTheHandle)
{
    const GFIL_FileSpec file(L"/jobs/web 1/front.tif");
    EXPECT_EQ(file.Name(), L"front.tif");
    EXPECT_FALSE(file.IsRoot());
    const GFIL_FileSpec folder = file.Parent();
    EXPECT_EQ(folder.Path(), L"/jobs/web 1");
    EXPECT_EQ(folder.Child(L"back.tif").Path(), L"/jobs/web 1/back.tif");
    EXPECT_EQ(folder.Child(L"..").Path(), L"/jobs");

    const GFIL_FileSpec root(L"/");
    EXPECT_TRUE(root.IsRoot());
    EXPECT_EQ(root.Name(), L"/");
    EXPECT_EQ(root.Child(L"jobs").Path(), L"/jobs");
    EXPECT_EQ(GFIL_FileSpec(L"/jobs").Parent().Path(), L"/");
    EXPECT_FILE_ERROR(root.Parent(), GFIL_ERR_INVALID_PATH,
                      "The spec \"/\" is the root object; cannot retrieve a parent.");
    EXPECT_FILE_ERROR(folder.Child(L"a/b"), GFIL_ERR_INVALID_PATH,
                      "The name \"a/b\" is invalid for the Win32 platform.");
}
} // namespace
