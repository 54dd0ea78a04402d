#include "TIFX/TIFX_KRNWriter.h"

#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_Tags.h"

#include <tiffio.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <memory>
#include <utility>

namespace
{
namespace T = TIFX_Tag;
namespace F = TIFX_Field;
using Options = TIFX_KRNWriterOptions;

[[noreturn]] void Fail(const std::string& what, int line)
{
    std::string text = TIFX_StripModule(TIFX_LastErrorText());
    throw TIFX_FileIOException(text.empty() ? what : what + ": " + text, __FILE__, line);
}

void Put16(std::vector<uint8_t>& out, uint16_t v, bool bigEndian)
{
    if (bigEndian)
        out.insert(out.end(), {uint8_t(v >> 8), uint8_t(v)});
    else
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}

void Put32(std::vector<uint8_t>& out, uint32_t v, bool bigEndian)
{
    if (bigEndian)
        out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    else
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

TIFX_RawEntry TextEntry(uint16_t tag, const std::string& text)
{
    TIFX_RawEntry e;
    e.tag = tag;
    e.type = TIFF_ASCII;
    e.data.assign(text.begin(), text.end());
    e.data.push_back('\0');
    e.count = static_cast<uint32_t>(e.data.size());
    return e;
}

// A directory's embedded private directory: its bytes with out-of-line values placed behind the
// entries, and where in those bytes the offsets of out-of-line values are (relative to the start
// of the bytes until the real file offset is known).
struct EncodedIFD
{
    std::vector<uint8_t> bytes;
    std::vector<size_t> offsetFields;
};

EncodedIFD EncodeIFD(const std::vector<TIFX_RawEntry>& entries, std::optional<uint16_t> declared,
                     bool bigEndian)
{
    EncodedIFD ifd;
    std::vector<uint8_t>& out = ifd.bytes;
    Put16(out, declared ? *declared : static_cast<uint16_t>(entries.size()), bigEndian);
    size_t dataStart = 2 + 12 * entries.size();
    dataStart += dataStart & 1;
    std::vector<uint8_t> data;
    for (const TIFX_RawEntry& e : entries)
    {
        Put16(out, e.tag, bigEndian);
        Put16(out, e.type, bigEndian);
        Put32(out, e.count, bigEndian);
        if (e.forcedOffset)
        {
            Put32(out, *e.forcedOffset, bigEndian);
        }
        else if (e.data.size() <= 4)
        {
            std::vector<uint8_t> field(e.data);
            field.resize(4, 0);
            out.insert(out.end(), field.begin(), field.end());
        }
        else
        {
            ifd.offsetFields.push_back(out.size());
            Put32(out, static_cast<uint32_t>(dataStart + data.size()), bigEndian);
            data.insert(data.end(), e.data.begin(), e.data.end());
            if (data.size() & 1)
                data.push_back(0);
        }
    }
    out.resize(dataStart, 0);
    out.insert(out.end(), data.begin(), data.end());
    return ifd;
}

uint32_t ValueAt(const TIFX_RawEntry& e, size_t i, size_t size)
{
    uint32_t v = 0;
    for (size_t b = 0; b < size; ++b)
        v |= uint32_t{e.data[i * size + b]} << (8 * b);
    return v;
}

// The private tags as fields of the directory itself: the same entries the embedded directory
// would hold (encoded little-endian here), handed to libtiff as values.
void SetDirectoryTags(TIFF* tif, const KRNDirectoryInfo& info, uint16_t scale)
{
    // libtiff lays out-of-line values down in the order they are set: the per-page arrays follow
    // all other values, as they always have, so that written files keep their bytes.
    std::vector<TIFX_RawEntry> entries = TIFX_KRNWriter::EncodeEntries(info, scale, false);
    std::stable_partition(entries.begin(), entries.end(),
                          [](const TIFX_RawEntry& e)
                          { return !TIFX_FindPrivateTag(e.tag)->value.IsPerPage(); });
    for (const TIFX_RawEntry& e : entries)
    {
        const TIFX_TagInfo* row = TIFX_FindPrivateTag(e.tag);
        const size_t size = e.type == TIFF_SHORT ? 2 : e.type == TIFF_BYTE ? 1 : 4;
        if (e.type == TIFF_ASCII)
        {
            TIFFSetField(tif, e.tag, reinterpret_cast<const char*>(e.data.data()));
        }
        else if (row->count == 1)
        {
            const uint32_t v = ValueAt(e, 0, size);
            if (e.type == TIFF_SHORT)
                TIFFSetField(tif, e.tag, static_cast<uint16_t>(v));
            else if (e.type == TIFF_FLOAT)
                TIFFSetField(tif, e.tag, static_cast<double>(std::bit_cast<float>(v)));
            else
                TIFFSetField(tif, e.tag, v);
        }
        else if (size == 1)
        {
            TIFFSetField(tif, e.tag, e.count, e.data.data());
        }
        else if (size == 2)
        {
            std::vector<uint16_t> v(e.count);
            for (size_t i = 0; i < v.size(); ++i)
                v[i] = static_cast<uint16_t>(ValueAt(e, i, 2));
            TIFFSetField(tif, e.tag, e.count, v.data());
        }
        else
        {
            // FLOAT arrays travel as their bits: libtiff copies four bytes per value either way.
            std::vector<uint32_t> v(e.count);
            for (size_t i = 0; i < v.size(); ++i)
                v[i] = ValueAt(e, i, 4);
            TIFFSetField(tif, e.tag, e.count, v.data());
        }
    }
}

uint16_t LibtiffCompression(Options::Compression c, uint16_t bits)
{
    switch (c)
    {
    case Options::Compression::None:
        return COMPRESSION_NONE;
    case Options::Compression::PackBits:
        return COMPRESSION_PACKBITS;
    case Options::Compression::LZW:
        return COMPRESSION_LZW;
    case Options::Compression::Deflate:
        return COMPRESSION_ADOBE_DEFLATE;
    case Options::Compression::CCITTGroup4:
        return bits == 1 ? COMPRESSION_CCITTFAX4 : COMPRESSION_ADOBE_DEFLATE;
    }
    return COMPRESSION_NONE;
}

struct TiffCloser
{
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

// Reads a classic TIFF's directories back to find where libtiff put each embedded private
// directory, so that its out-of-line offsets can be made absolute.
std::vector<uint64_t> FindQuorIFDOffsets(std::fstream& file, bool bigEndian)
{
    const auto read = [&](uint64_t at, size_t n)
    {
        std::vector<uint8_t> b(n);
        file.seekg(static_cast<std::streamoff>(at));
        file.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(n));
        if (!file)
            b.clear();
        return b;
    };
    const auto u16 = [&](const uint8_t* p)
    { return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]); };
    const auto u32 = [&](const uint8_t* p)
    {
        return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                         : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    };
    std::vector<uint64_t> offsets;
    std::vector<uint8_t> header = read(0, 8);
    if (header.size() != 8)
        return offsets;
    uint64_t ifd = u32(header.data() + 4);
    for (int guard = 0; ifd != 0 && guard < 16; ++guard)
    {
        std::vector<uint8_t> countBytes = read(ifd, 2);
        if (countBytes.size() != 2)
            break;
        const uint16_t n = u16(countBytes.data());
        std::vector<uint8_t> entries = read(ifd + 2, 12 * size_t{n} + 4);
        if (entries.empty())
            break;
        uint64_t found = 0;
        for (uint16_t i = 0; i < n; ++i)
        {
            const uint8_t* e = entries.data() + 12 * size_t{i};
            if (u16(e) == T::QuorIFD)
                found = u32(e + 4) > 4 ? u32(e + 8) : 0;
        }
        offsets.push_back(found);
        ifd = u32(entries.data() + 12 * size_t{n});
    }
    return offsets;
}
} // namespace

TIFX_KRNWriter::TIFX_KRNWriter(TIFX_KRNWriterOptions options) : m_options(options) {}

void TIFX_KRNWriter::SetMainImage(uint32_t width, uint32_t height, TileSource source)
{
    m_width = width;
    m_height = height;
    m_source = std::move(source);
    m_rowSource = nullptr;
    m_bitmap.clear();
}

void TIFX_KRNWriter::SetMainRows(uint32_t width, uint32_t height, RowSource source)
{
    m_width = width;
    m_height = height;
    m_rowSource = std::move(source);
    m_source = nullptr;
    m_bitmap.clear();
}

void TIFX_KRNWriter::SetMainBitmap(uint32_t width, uint32_t height, std::vector<uint8_t> packedRows)
{
    m_width = width;
    m_height = height;
    m_bitmap = std::move(packedRows);
    m_source = nullptr;
    m_rowSource = nullptr;
}

void TIFX_KRNWriter::SetReducedImage(std::vector<uint8_t> pixels)
{
    m_reduced = std::move(pixels);
    m_reducedSource = nullptr;
}

void TIFX_KRNWriter::SetReducedImage(ReducedSource source)
{
    m_reducedSource = std::move(source);
    m_reduced.clear();
}

void TIFX_KRNWriter::SetDirectoryInfo(const KRNDirectoryInfo& info)
{
    m_info = info;
}

void TIFX_KRNWriter::SetQuorIFDEntries(std::vector<TIFX_RawEntry> entries,
                                       std::optional<uint16_t> declaredCount)
{
    m_rawEntries = std::move(entries);
    m_declaredCount = declaredCount;
}

TIFX_RawEntry TIFX_KRNWriter::MakeEntry(uint16_t tag, uint16_t type,
                                        const std::vector<uint32_t>& values, bool bigEndian)
{
    TIFX_RawEntry e;
    e.tag = tag;
    e.type = type;
    e.count = static_cast<uint32_t>(values.size());
    for (uint32_t v : values)
    {
        if (type == TIFF_SHORT || type == TIFF_SSHORT)
            Put16(e.data, static_cast<uint16_t>(v), bigEndian);
        else if (type == TIFF_BYTE || type == TIFF_SBYTE || type == TIFF_UNDEFINED ||
                 type == TIFF_ASCII)
            e.data.push_back(static_cast<uint8_t>(v));
        else
            Put32(e.data, v, bigEndian);
    }
    return e;
}

std::vector<TIFX_RawEntry> TIFX_KRNWriter::EncodeEntries(const KRNDirectoryInfo& info,
                                                         uint16_t scale, bool bigEndian)
{
    using Kind = TIFX_TagValue::Kind;
    // "Scale" belongs to the directory being written, not to the job information.
    KRNDirectoryInfo directory = info;
    directory.scale = scale;
    directory.SetField(F::Scale);

    std::vector<TIFX_RawEntry> entries;
    for (const TIFX_TagInfo& row : TIFX_PrivateTags())
    {
        if (!directory.IsFieldSet(row.fieldBit))
            continue;
        const TIFX_TagValue& value = row.value;
        const Kind kind = value.GetKind();
        const auto tag = static_cast<uint16_t>(row.tag);
        // Per-page values need page records to come from.
        if (value.IsPerPage() && directory.pages.empty())
            continue;
        std::vector<uint32_t> values;
        switch (kind)
        {
        case Kind::Text:
            entries.push_back(TextEntry(tag, value.Text(directory)));
            continue;
        case Kind::Long:
        case Kind::Short:
        case Kind::Float:
        case Kind::PageCount:
            values.push_back(value.Bits(directory));
            break;
        case Kind::PageLong:
        case Kind::PageShort:
        case Kind::PageFloat:
            for (size_t page = 0; page < directory.pages.size(); ++page)
                values.push_back(value.Bits(directory, page));
            break;
        case Kind::ClipPaths:
            // Per page a path count, per path a point count and its x, y pairs.
            for (const KRNPageInfo& page : directory.pages)
            {
                values.push_back(static_cast<uint32_t>(page.clipPaths.size()));
                for (const std::vector<KRNPoint>& path : page.clipPaths)
                {
                    values.push_back(static_cast<uint32_t>(path.size()));
                    for (const KRNPoint& point : path)
                    {
                        values.push_back(static_cast<uint32_t>(point.x));
                        values.push_back(static_cast<uint32_t>(point.y));
                    }
                }
            }
            break;
        case Kind::Cmyk:
            for (size_t i = 0; i < 4; ++i)
                values.push_back(value.Bits(directory, i));
            break;
        default:
            // Nothing kept to write.
            continue;
        }
        entries.push_back(MakeEntry(tag, static_cast<uint16_t>(row.type), values, bigEndian));
    }
    return entries;
}

void TIFX_KRNWriter::Write(const std::string& utf8Path)
{
    const bool bigEndian = m_options.byteOrder == Options::ByteOrder::BigEndian;
    const uint32_t tile = m_options.tileSize;
    const uint16_t bits = m_options.mainBitsPerSample == 8 ? 8 : 1;
    const uint32_t scale = std::max<uint32_t>(1, m_options.reducedScale);
    if (m_width == 0 || m_height == 0)
        throw TIFX_FileIOException("the main image has no size", __FILE__, __LINE__);
    if (tile == 0 || tile % 16 != 0)
        throw TIFX_FileIOException("tile size must be a multiple of 16", __FILE__, __LINE__);
    const uint64_t reducedWidth = (uint64_t{m_width} + scale - 1) / scale;
    const uint64_t reducedHeight = (uint64_t{m_height} + scale - 1) / scale;
    const uint64_t rowBytesOfBitmap = (uint64_t{m_width} + 7) / 8;
    if (!m_source && !m_rowSource && m_bitmap.size() != rowBytesOfBitmap * m_height)
        throw TIFX_FileIOException("the main bitmap does not match its size", __FILE__, __LINE__);
    if (!m_reduced.empty() && m_reduced.size() != reducedWidth * reducedHeight)
        throw TIFX_FileIOException("the reduced image does not match its size", __FILE__, __LINE__);
    const bool computeReduced =
        m_options.writeReducedImage && m_reduced.empty() && !m_reducedSource;
    std::vector<uint64_t> inkSum(computeReduced ? reducedWidth * reducedHeight : 0);

    auto state = std::make_unique<TIFX_HandleState>();
    TIFX_ClearErrorText();
    std::unique_ptr<TIFF, TiffCloser> tif(
        TIFX_OpenHandle(utf8Path, bigEndian ? "wb" : "wl", state.get()));
    if (!tif)
        Fail("cannot create " + utf8Path, __LINE__);

    std::vector<EncodedIFD> ifds;
    const auto setPrivateTags = [&](uint16_t directoryScale)
    {
        EncodedIFD ifd;
        if (m_options.writeQuorIFD)
        {
            std::vector<TIFX_RawEntry> entries;
            if (m_rawEntries)
                entries = *m_rawEntries;
            else if (m_options.tagsInQuorIFD)
                entries = EncodeEntries(m_info, directoryScale, bigEndian);
            else
            {
                // The job information stands in the directory itself; the embedded directory
                // still holds an entry, as a preview file's always does.
                for (TIFX_RawEntry& e : EncodeEntries(m_info, directoryScale, bigEndian))
                    if (e.tag == T::Scale)
                        entries.push_back(std::move(e));
            }
            ifd = EncodeIFD(entries, m_declaredCount, bigEndian);
            TIFFSetField(tif.get(), T::QuorIFD, static_cast<uint32_t>(ifd.bytes.size()),
                         ifd.bytes.data());
        }
        if (!m_options.writeQuorIFD || !m_options.tagsInQuorIFD)
            SetDirectoryTags(tif.get(), m_info, directoryScale);
        ifds.push_back(std::move(ifd));
    };
    const auto setImageTags = [&](uint32_t width, uint32_t height, uint16_t bitsPerSample,
                                  uint32_t tileSize, uint32_t subfileType, float resolution)
    {
        TIFF* t = tif.get();
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, subfileType);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<double>(resolution));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<double>(resolution));
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(t, TIFFTAG_TILEWIDTH, tileSize);
        TIFFSetField(t, TIFFTAG_TILELENGTH, tileSize);
        if (!TIFFSetField(t, TIFFTAG_COMPRESSION,
                          LibtiffCompression(m_options.compression, bitsPerSample)))
            Fail("compression not available", __LINE__);
    };

    // Directory 0: the full-resolution separation.
    setImageTags(m_width, m_height, bits, tile, 0, m_options.resolution);
    if (!m_options.inkNames.empty())
        TIFFSetField(tif.get(), TIFFTAG_INKNAMES, static_cast<int>(m_options.inkNames.size() + 1),
                     m_options.inkNames.c_str());
    setPrivateTags(1);
    const size_t tileRowBytes = bits == 1 ? tile / 8 : tile;
    std::vector<uint8_t> buffer(tileRowBytes * tile);
    std::vector<uint8_t> band(m_rowSource ? rowBytesOfBitmap * tile : 0);
    for (uint32_t y0 = 0; y0 < m_height; y0 += tile)
    {
        // The packed rows this band of tiles is cut from.
        const uint8_t* bandRows =
            m_bitmap.empty() ? nullptr : m_bitmap.data() + uint64_t{y0} * rowBytesOfBitmap;
        if (m_rowSource)
        {
            std::fill(band.begin(), band.end(), 0);
            m_rowSource(y0, std::min(tile, m_height - y0), band.data());
            bandRows = band.data();
        }
        for (uint32_t x0 = 0; x0 < m_width; x0 += tile)
        {
            std::fill(buffer.begin(), buffer.end(), 0);
            const uint32_t rows = std::min(tile, m_height - y0);
            if (m_source)
            {
                m_source(x0, y0, buffer.data());
            }
            else if (bits == 1)
            {
                const uint64_t first = x0 / 8;
                const uint64_t n = std::min<uint64_t>(tileRowBytes, rowBytesOfBitmap - first);
                for (uint32_t r = 0; r < rows; ++r)
                    std::memcpy(buffer.data() + r * tileRowBytes,
                                bandRows + uint64_t{r} * rowBytesOfBitmap + first, n);
            }
            else
            {
                const uint32_t columns = std::min(tile, m_width - x0);
                for (uint32_t r = 0; r < rows; ++r)
                {
                    const uint8_t* row = bandRows + uint64_t{r} * rowBytesOfBitmap;
                    for (uint32_t c = 0; c < columns; ++c)
                    {
                        const uint32_t x = x0 + c;
                        buffer[r * tileRowBytes + c] = (row[x / 8] >> (7 - x % 8)) & 1u ? 255 : 0;
                    }
                }
            }
            if (computeReduced)
            {
                const uint32_t columns = std::min(tile, m_width - x0);
                for (uint32_t r = 0; r < rows; ++r)
                {
                    const uint8_t* row = buffer.data() + r * tileRowBytes;
                    uint64_t* cells = inkSum.data() + (uint64_t{y0} + r) / scale * reducedWidth;
                    for (uint32_t c = 0; c < columns; ++c)
                    {
                        const uint32_t v =
                            bits == 1 ? ((row[c / 8] >> (7 - c % 8)) & 1u) * 255u : row[c];
                        cells[(uint64_t{x0} + c) / scale] += v;
                    }
                }
            }
            if (TIFFWriteTile(tif.get(), buffer.data(), x0, y0, 0, 0) < 0)
                Fail("cannot write a tile of " + utf8Path, __LINE__);
        }
    }
    if (!TIFFWriteDirectory(tif.get()))
        Fail("cannot write directory 0 of " + utf8Path, __LINE__);

    if (m_options.writeReducedImage)
    {
        std::vector<uint8_t> reduced = m_reducedSource ? m_reducedSource() : m_reduced;
        if (m_reducedSource && reduced.size() != reducedWidth * reducedHeight)
            throw TIFX_FileIOException("the reduced image does not match its size", __FILE__,
                                       __LINE__);
        if (computeReduced)
        {
            reduced.resize(inkSum.size());
            for (uint64_t ry = 0; ry < reducedHeight; ++ry)
            {
                const uint64_t cellHeight = std::min<uint64_t>(scale, m_height - ry * scale);
                for (uint64_t rx = 0; rx < reducedWidth; ++rx)
                {
                    const uint64_t cellWidth = std::min<uint64_t>(scale, m_width - rx * scale);
                    reduced[ry * reducedWidth + rx] = static_cast<uint8_t>(
                        inkSum[ry * reducedWidth + rx] / (cellWidth * cellHeight));
                }
            }
        }
        const float reducedResolution = m_options.resolution / static_cast<float>(scale);
        const auto writeReduced = [&](uint16_t depth)
        {
            constexpr uint32_t kTile = 512;
            setImageTags(static_cast<uint32_t>(reducedWidth), static_cast<uint32_t>(reducedHeight),
                         depth, kTile, FILETYPE_REDUCEDIMAGE, reducedResolution);
            setPrivateTags(static_cast<uint16_t>(scale));
            const size_t rowBytes = kTile * depth / 8;
            std::vector<uint8_t> t(rowBytes * kTile);
            for (uint64_t y0 = 0; y0 < reducedHeight; y0 += kTile)
            {
                for (uint64_t x0 = 0; x0 < reducedWidth; x0 += kTile)
                {
                    std::fill(t.begin(), t.end(), 0);
                    for (uint64_t r = 0; r < kTile && y0 + r < reducedHeight; ++r)
                    {
                        for (uint64_t c = 0; c < kTile && x0 + c < reducedWidth; ++c)
                        {
                            const uint8_t v = reduced[(y0 + r) * reducedWidth + x0 + c];
                            if (depth == 8)
                                t[r * rowBytes + c] = v;
                            else
                                t[r * rowBytes + c / 2] |=
                                    static_cast<uint8_t>((v >> 4) << (c % 2 ? 0 : 4));
                        }
                    }
                    if (TIFFWriteTile(tif.get(), t.data(), static_cast<uint32_t>(x0),
                                      static_cast<uint32_t>(y0), 0, 0) < 0)
                        Fail("cannot write a reduced tile of " + utf8Path, __LINE__);
                }
            }
            if (!TIFFWriteDirectory(tif.get()))
                Fail("cannot write a reduced directory of " + utf8Path, __LINE__);
        };
        if (m_options.reducedDirectory == 2)
            writeReduced(4);
        writeReduced(8);
    }
    tif.reset();
    state.reset();

    // Make the out-of-line offsets of every embedded directory absolute, now that libtiff has
    // decided where the embedded directories are.
    std::fstream file(utf8Path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        throw TIFX_FileIOException("cannot reopen " + utf8Path, __FILE__, __LINE__);
    const std::vector<uint64_t> bases = FindQuorIFDOffsets(file, bigEndian);
    file.clear();
    for (size_t d = 0; d < ifds.size() && d < bases.size(); ++d)
    {
        for (size_t field : ifds[d].offsetFields)
        {
            const uint8_t* p = ifds[d].bytes.data() + field;
            const uint32_t relative =
                bigEndian
                    ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                    : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            std::vector<uint8_t> absolute;
            Put32(absolute, static_cast<uint32_t>(bases[d] + relative), bigEndian);
            file.seekp(static_cast<std::streamoff>(bases[d] + field));
            file.write(reinterpret_cast<const char*>(absolute.data()), 4);
        }
    }
    file.flush();
    if (!file)
        throw TIFX_FileIOException("cannot finish " + utf8Path, __FILE__, __LINE__);
}
