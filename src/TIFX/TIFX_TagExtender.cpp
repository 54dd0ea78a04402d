// The tag extender and the private set-field path: how the private tags of a preview file get from
// libtiff (or from the embedded directory) into the handle's KRNDirectoryInfo.

#include "GFIL/GFIL_FileKind.h"
#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_Tags.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
constexpr const char* kClientInfoName = "TIFX_HandleState";
constexpr tmsize_t kMaxSingleAlloc = tmsize_t{256} * 1024 * 1024;

// The latest texts of the calling thread: libtiff calls the handlers on the thread that works on
// the handle, so each thread reads back what its own open or read said, never a text another
// thread's handle left at the same moment.
thread_local std::string t_errorText;
thread_local std::string t_warningText;
TIFFExtendProc g_parentExtender = nullptr;
// The state that the handle being opened by TIFX_OpenHandle on this thread takes at its first
// directory set-up; libtiff runs the extender on the opening thread, inside the open.
thread_local TIFX_HandleState* t_pendingState = nullptr;
// States of handles opened by others in this process; they live until the process ends.
std::mutex g_foreignMutex;
std::deque<TIFX_HandleState> g_foreignStates;

std::once_flag g_extenderOnce;
std::once_flag g_errorOnce;
std::once_flag g_warningOnce;

void FormatInto(std::string& target, const char* module, const char* fmt, va_list ap)
{
    char message[2048];
    std::vsnprintf(message, sizeof message, fmt ? fmt : "", ap);
    target.clear();
    if (module && *module)
    {
        target += '[';
        target += module;
        target += "] ";
    }
    target += message;
}

void ErrorHandler(const char* module, const char* fmt, va_list ap)
{
    FormatInto(t_errorText, module, fmt, ap);
}

void WarningHandler(const char* module, const char* fmt, va_list ap)
{
    FormatInto(t_warningText, module, fmt, ap);
}

int FileErrorHandler(TIFF*, void*, const char* module, const char* fmt, va_list ap)
{
    FormatInto(t_errorText, module, fmt, ap);
    return 1;
}

int FileWarningHandler(TIFF*, void*, const char* module, const char* fmt, va_list ap)
{
    FormatInto(t_warningText, module, fmt, ap);
    return 1;
}

// The registration table handed to libtiff. Variable arrays are registered with their own count
// so that a short array is seen as short instead of being read past its end.
const std::vector<TIFFFieldInfo>& FieldInfo()
{
    static const std::vector<TIFFFieldInfo> table = []
    {
        std::vector<TIFFFieldInfo> rows;
        for (const TIFX_TagInfo& tag : TIFX_PrivateTags())
        {
            TIFFFieldInfo row{};
            row.field_tag = tag.tag;
            row.field_type = tag.type;
            row.field_bit = FIELD_CUSTOM;
            row.field_oktochange = 1;
            row.field_name = const_cast<char*>(tag.name);
            if (tag.count == 1)
            {
                row.field_readcount = row.field_writecount = 1;
                row.field_passcount = 0;
            }
            else if (tag.type == TIFF_ASCII)
            {
                row.field_readcount = row.field_writecount = TIFF_VARIABLE;
                row.field_passcount = 0;
            }
            else
            {
                row.field_readcount = row.field_writecount = TIFF_VARIABLE2;
                row.field_passcount = 1;
            }
            rows.push_back(row);
        }
        return rows;
    }();
    return table;
}

// The private set-field method: private tags go to the handle's record, everything else to the
// method that was installed before.
int PrivateVSetField(TIFF* tif, uint32_t tag, va_list ap)
{
    TIFX_HandleState* state = TIFX_StateOf(tif);
    if (!state)
        return 0;
    const TIFX_TagInfo* row = TIFX_FindPrivateTag(tag);
    if (!row && tag != TIFX_Tag::PageIgnored)
        return state->parentSetField ? state->parentSetField(tif, tag, ap) : 0;

    TIFX_FieldValue value;
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    float f32 = 0.0f;
    if (!row)
    {
        // Tag 12000 comes in as an anonymous field; its value is not looked at.
        value.type = TIFF_UNDEFINED;
    }
    else if (row->type == TIFF_ASCII)
    {
        const char* text = va_arg(ap, const char*);
        value.type = TIFF_ASCII;
        value.data = text;
        value.count = text ? std::strlen(text) : 0;
    }
    else if (row->count == 1)
    {
        value.type = row->type;
        value.count = 1;
        switch (row->type)
        {
        case TIFF_SHORT:
            u16 = static_cast<uint16_t>(va_arg(ap, int));
            value.data = &u16;
            break;
        case TIFF_LONG:
            u32 = va_arg(ap, uint32_t);
            value.data = &u32;
            break;
        case TIFF_FLOAT:
            f32 = static_cast<float>(va_arg(ap, double));
            value.data = &f32;
            break;
        default:
            return 0;
        }
    }
    else
    {
        value.type = row->type;
        value.count = va_arg(ap, uint32_t);
        value.data = va_arg(ap, const void*);
        if (!value.data)
            value.count = 0;
    }
    return TIFX_ApplyPrivateField(tif, *state, tag, value) ? 1 : 0;
}

void TagExtender(TIFF* tif)
{
    auto* state = static_cast<TIFX_HandleState*>(TIFFGetClientInfo(tif, kClientInfoName));
    if (!state)
    {
        if (t_pendingState)
        {
            state = t_pendingState;
            t_pendingState = nullptr;
        }
        else
        {
            std::lock_guard<std::mutex> lock(g_foreignMutex);
            state = &g_foreignStates.emplace_back();
        }
        TIFFSetClientInfo(tif, state, kClientInfoName);
    }

    const std::vector<TIFFFieldInfo>& info = FieldInfo();
    TIFFMergeFieldInfo(tif, info.data(), static_cast<uint32_t>(info.size()));
    state->info.Reset();
    state->libraryFields = 0;
    state->privateFieldsHandled = false;

    // Handles opened for writing keep libtiff's own set-field method so that private tags set on
    // them are written into the directory.
    if ((TIFFGetMode(tif) & O_ACCMODE) == O_RDONLY)
    {
        TIFFTagMethods* methods = TIFFAccessTagMethods(tif);
        state->parentSetField = methods->vsetfield;
        methods->vsetfield = PrivateVSetField;
        // libtiff resets the print method for every directory, so it is installed here, for
        // every directory, rather than once per handle.
        state->parentPrint = methods->printdir;
        methods->printdir = TIFX_PrintPrivateDirectory;
        state->printReplaced = true;
    }

    if (g_parentExtender)
        g_parentExtender(tif);
}

template <class T>
T Element(const void* data, uint64_t i)
{
    T v;
    std::memcpy(&v, static_cast<const uint8_t*>(data) + i * sizeof(T), sizeof(T));
    return v;
}

void StoreText(std::string& target, const TIFX_FieldValue& value)
{
    const char* text = static_cast<const char*>(value.data);
    size_t length = 0;
    while (length < value.count && text[length] != '\0')
        ++length;
    target.assign(text, length);
}

// Clip paths of all pages: per page a path count, per path a point count and its x, y pairs.
// A count that asks for more values than are left ends the decoding.
void StoreClipPaths(KRNDirectoryInfo& info, const TIFX_FieldValue& value)
{
    uint64_t next = 0;
    const uint64_t total = value.count;
    for (KRNPageInfo& page : info.pages)
    {
        if (next >= total)
            return;
        const uint64_t paths = static_cast<uint32_t>(value.Integer(next++));
        for (uint64_t p = 0; p < paths; ++p)
        {
            if (next >= total)
                return;
            const uint64_t points = static_cast<uint32_t>(value.Integer(next++));
            if (points > (total - next) / 2)
                return;
            std::vector<KRNPoint> path(points);
            for (KRNPoint& point : path)
            {
                point.x = static_cast<int32_t>(value.Integer(next++));
                point.y = static_cast<int32_t>(value.Integer(next++));
            }
            page.clipPaths.push_back(std::move(path));
        }
    }
}
} // namespace

int64_t TIFX_FieldValue::Integer(uint64_t i) const
{
    if (!data || i >= count)
        return 0;
    switch (type)
    {
    case TIFF_BYTE:
    case TIFF_UNDEFINED:
        return Element<uint8_t>(data, i);
    case TIFF_SBYTE:
        return Element<int8_t>(data, i);
    case TIFF_SHORT:
        return Element<uint16_t>(data, i);
    case TIFF_SSHORT:
        return Element<int16_t>(data, i);
    case TIFF_LONG:
        return Element<uint32_t>(data, i);
    case TIFF_SLONG:
        return Element<int32_t>(data, i);
    case TIFF_FLOAT:
    {
        const float f = Element<float>(data, i);
        // Out-of-range floats have no integer value; keep them from being undefined.
        if (!(f > -2147483648.0f && f < 4294967296.0f))
            return 0;
        return static_cast<int64_t>(f);
    }
    default:
        return 0;
    }
}

float TIFX_FieldValue::Float(uint64_t i) const
{
    if (!data || i >= count)
        return 0.0f;
    if (type == TIFF_FLOAT)
        return Element<float>(data, i);
    return static_cast<float>(Integer(i));
}

bool TIFX_FieldValue::IsNumeric() const
{
    switch (type)
    {
    case TIFF_BYTE:
    case TIFF_SBYTE:
    case TIFF_UNDEFINED:
    case TIFF_SHORT:
    case TIFF_SSHORT:
    case TIFF_LONG:
    case TIFF_SLONG:
    case TIFF_FLOAT:
        return true;
    default:
        return false;
    }
}

void TIFX_ProcessSetup()
{
    std::call_once(g_extenderOnce, [] { g_parentExtender = TIFFSetTagExtender(TagExtender); });
    std::call_once(g_errorOnce, [] { TIFFSetErrorHandler(ErrorHandler); });
    std::call_once(g_warningOnce, [] { TIFFSetWarningHandler(WarningHandler); });
}

std::string TIFX_LastErrorText()
{
    return t_errorText;
}

std::string TIFX_LastWarningText()
{
    return t_warningText;
}

void TIFX_ClearErrorText()
{
    t_errorText.clear();
}

std::string TIFX_StripModule(const std::string& text)
{
    const size_t bracket = text.find(']');
    if (bracket == std::string::npos)
        return text;
    return bracket + 2 >= text.size() ? std::string() : text.substr(bracket + 2);
}

TIFF* TIFX_OpenHandle(const std::string& utf8Path, const char* mode, TIFX_HandleState* state)
{
    TIFX_ProcessSetup();
    std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(),
                                                                         TIFFOpenOptionsFree);
    if (options)
    {
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAlloc);
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), FileErrorHandler, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options.get(), FileWarningHandler, nullptr);
    }
    // The descriptor is opened here rather than by libtiff so that it is known while libtiff reads
    // the first directory, when the embedded directory's values are fetched.
    const bool writing = mode[0] == 'w';
    // Reading never waits: a FIFO, a socket or a device named as a preview file would otherwise
    // block the open (or the first read) until something writes to it.
    const int fd = ::open(utf8Path.c_str(),
                          writing ? O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC
                                  : O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                          0666);
    if (fd < 0)
    {
        const int error = errno;
        t_errorText = "[TIFFOpen] " + utf8Path + ": " + std::strerror(error);
        return nullptr;
    }
    if (!writing)
    {
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        {
            t_errorText = "[TIFFOpen] " + utf8Path + ": " + TIFX_FileKindText(st.st_mode);
            ::close(fd);
            return nullptr;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    if (state)
        state->fd = fd;
    // Files are read, never mapped: a mapped file counts every page a handle touched as the
    // process's own memory, once per handle (the renderer's workers open each file again), so a
    // pan over a 2.3 GB sheet showed 7 GB resident; and a file cut short by another program
    // while mapped ends the process with SIGBUS instead of a read error.
    const std::string openMode = writing ? std::string(mode) : std::string(mode) + "m";
    t_pendingState = state;
    TIFF* tif = TIFFFdOpenExt(fd, utf8Path.c_str(), openMode.c_str(), options.get());
    t_pendingState = nullptr;
    if (!tif)
    {
        ::close(fd);
        if (state)
            state->fd = -1;
    }
    return tif;
}

std::string TIFX_FileKindText(unsigned mode)
{
    return GFIL_NotRegularFileText(mode);
}

TIFX_HandleState* TIFX_StateOf(TIFF* tif)
{
    return tif ? static_cast<TIFX_HandleState*>(TIFFGetClientInfo(tif, kClientInfoName)) : nullptr;
}

bool TIFX_ApplyPrivateField(TIFF* tif, TIFX_HandleState& state, uint32_t tag,
                            const TIFX_FieldValue& value)
{
    using Kind = TIFX_TagValue::Kind;
    KRNDirectoryInfo& info = state.info;
    const TIFX_TagInfo* row = TIFX_FindPrivateTag(tag);
    if (!row)
    {
        // Tag 12000 is accepted and dropped; any other tag is not ours.
        if (tag != TIFX_Tag::PageIgnored || value.count > TIFX_kMaxPrivateValues)
            return false;
        state.privateFieldsHandled = true;
        return true;
    }

    const Kind kind = row->value.GetKind();
    if (kind == Kind::EmbeddedDirectory)
    {
        if (state.decodingQuorIFD || (value.type != TIFF_BYTE && value.type != TIFF_UNDEFINED))
            return false;
        state.decodingQuorIFD = true;
        TIFX_DecodeQuorIFD(tif, state, static_cast<const uint8_t*>(value.data), value.count);
        state.decodingQuorIFD = false;
        state.libraryFields |= 1u << (row->fieldBit - TIFX_Field::QuorIFD);
        return true;
    }
    if (kind == Kind::Reserved)
    {
        state.libraryFields |= 1u << (row->fieldBit - TIFX_Field::QuorIFD);
        return true;
    }

    if (value.count > TIFX_kMaxPrivateValues)
        return false;
    if (row->type == TIFF_ASCII)
    {
        if (value.type != TIFF_ASCII && value.type != TIFF_BYTE && value.type != TIFF_UNDEFINED)
            return false;
    }
    else if (!value.IsNumeric() || value.count == 0)
    {
        return false;
    }

    switch (kind)
    {
    case Kind::Text:
        StoreText(row->value.Text(info), value);
        break;
    case Kind::Long:
    case Kind::Short:
    case Kind::Float:
        row->value.Store(info, 0, value.Integer(0), value.Float(0));
        break;
    case Kind::PageCount:
        // The page list is rebuilt to the count, so that the count and the records always agree.
        row->value.Store(info, 0, value.Integer(0), 0.0f);
        info.pages.assign(row->value.Bits(info), KRNPageInfo());
        break;
    case Kind::PageLong:
    case Kind::PageShort:
    case Kind::PageFloat:
    {
        // One value per page record; an array shorter than the page list leaves the rest zero,
        // a longer one is used up to the page count.
        const uint64_t n = std::min<uint64_t>(value.count, info.pages.size());
        for (uint64_t i = 0; i < n; ++i)
            row->value.Store(info, i, value.Integer(i), value.Float(i));
        break;
    }
    case Kind::ClipPaths:
        StoreClipPaths(info, value);
        break;
    case Kind::Cmyk:
        // Fewer than four values are no CMYK equivalent at all.
        if (value.count < 4)
            return false;
        for (size_t i = 0; i < 4; ++i)
            row->value.Store(info, i, value.Integer(i), 0.0f);
        break;
    default:
        // Known, but not kept: only marked present.
        break;
    }

    info.SetField(row->fieldBit);
    state.privateFieldsHandled = true;
    return true;
}
