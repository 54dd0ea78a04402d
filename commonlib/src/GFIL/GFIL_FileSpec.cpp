#include "GFIL/GFIL_FileSpec.h"

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_Messages.h"
#include "GLIB/GLIB_String.h"

#include <cerrno>
#include <ostream>
#include <utility>

#ifdef _WIN32
#include "GFIL/GFIL_FileSystemWin32.h"
using PlatformFileSystem = GFIL_FileSystemWin32;
#else
#include "GFIL/GFIL_FileSystemPosix.h"
using PlatformFileSystem = GFIL_FileSystemPosix;
#endif

namespace
{
// The object is made only once its path is known to be good, so a failed construction leaves
// nothing behind and the handle is never set.
GFIL_FileSystem* MakeObject(const std::wstring& path)
{
    return new PlatformFileSystem(path);
}

GFIL_FileSystem* MakeObjectFromNarrow(const std::string& path)
{
    // Widened piece by piece around embedded zeros, which the conversion would stop at: the
    // path grammar then refuses the zero instead of a shortened path naming another file.
    std::wstring wide;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t zero = path.find('\0', start);
        const std::string piece =
            path.substr(start, zero == std::string::npos ? zero : zero - start);
        // Bytes that are not UTF-8 are carried as escapes, so every name on disk can be named.
        const std::wstring widePiece = PathToWide(piece);
        wide += widePiece;
        if (zero == std::string::npos)
            break;
        wide += L'\0';
        start = zero + 1;
    }
    return MakeObject(wide);
}
} // namespace

GFIL_FileSpec::GFIL_FileSpec(GFIL_FileSystem* object) noexcept : m_object(object)
{
    if (m_object)
        m_object->AddReference();
}

GFIL_FileSpec::GFIL_FileSpec(const wchar_t* path)
    : GFIL_FileSpec(MakeObject(path ? std::wstring(path) : std::wstring()))
{
}

GFIL_FileSpec::GFIL_FileSpec(const char* path)
    : GFIL_FileSpec(MakeObjectFromNarrow(path ? std::string(path) : std::string()))
{
}

GFIL_FileSpec::GFIL_FileSpec(const std::wstring& path) : GFIL_FileSpec(MakeObject(path)) {}

GFIL_FileSpec::GFIL_FileSpec(const std::string& path) : GFIL_FileSpec(MakeObjectFromNarrow(path)) {}

GFIL_FileSpec::GFIL_FileSpec(const GFIL_FileSpec& other) noexcept : GFIL_FileSpec(other.m_object) {}

GFIL_FileSpec::GFIL_FileSpec(GFIL_FileSpec&& other) noexcept
    : m_object(std::exchange(other.m_object, nullptr))
{
}

GFIL_FileSpec& GFIL_FileSpec::operator=(const GFIL_FileSpec& other) noexcept
{
    // Take the new reference first so that assigning a handle to itself keeps the object.
    GFIL_FileSystem* object = other.m_object;
    if (object)
        object->AddReference();
    Reset();
    m_object = object;
    return *this;
}

GFIL_FileSpec& GFIL_FileSpec::operator=(GFIL_FileSpec&& other) noexcept
{
    if (this != &other)
    {
        Reset();
        m_object = std::exchange(other.m_object, nullptr);
    }
    return *this;
}

GFIL_FileSpec::~GFIL_FileSpec()
{
    Reset();
}

void GFIL_FileSpec::Reset() noexcept
{
    GFIL_FileSystem* object = std::exchange(m_object, nullptr);
    if (object && object->DropReference())
        delete object;
}

GFIL_FileSystem* GFIL_FileSpec::operator->() const
{
    if (!m_object)
    {
        GFIL_Messages::Throw(GFIL_ERR_INVALID_PATH, "The file specification is empty", __FILE__,
                             __LINE__);
    }
    return m_object;
}

GFIL_FileSystem& GFIL_FileSpec::operator*() const
{
    return *operator->();
}

std::wstring GFIL_FileSpec::Path() const
{
    return operator->()->Path();
}

bool GFIL_FileSpec::IsRoot() const
{
    return operator->()->IsRoot();
}

std::wstring GFIL_FileSpec::Name() const
{
    return operator->()->Name();
}

GFIL_FileSpec GFIL_FileSpec::Parent() const
{
    return operator->()->Parent();
}

GFIL_FileSpec GFIL_FileSpec::Child(const std::wstring& name) const
{
    return operator->()->Child(name);
}

std::ostream& operator<<(std::ostream& stream, const GFIL_FileSpec& spec)
{
    if (spec)
        stream << PathToNarrow(spec.Get()->Path());
    return stream;
}
