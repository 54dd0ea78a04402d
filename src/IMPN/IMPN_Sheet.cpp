#include "IMPN/IMPN_Sheet.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_RegistryScan.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <cmath>
#include <ostream>

IMPN_FileFailure IMPN_FileFailure::Of(const std::string& path, const std::string& text)
{
    const std::string named = path + ": ";
    if (!path.empty() && text.compare(0, named.size(), named) == 0)
        return {path, text.substr(named.size())};
    return {path, text};
}

IMPN_Sheet::IMPN_Sheet(TIFX_KRNFile& file)
{
    TakeSheetFields(file);
}

IMPN_Sheet::IMPN_Sheet(const std::vector<GFIL_FileSpec>& frontFiles,
                       const std::vector<GFIL_FileSpec>& backFiles)
{
    bool haveFields = false;
    const std::vector<GFIL_FileSpec>* lists[] = {&frontFiles, &backFiles};
    IMPN_Surface* surfaces[] = {&m_Front, &m_Back};
    for (int side = 0; side < 2; ++side)
    {
        for (const GFIL_FileSpec& spec : *lists[side])
        {
            if (spec.IsEmpty())
                continue;
            TIFX_KRNFile file(spec);
            try
            {
                file.Open();
            }
            catch (const TIFX_FileIOException& e)
            {
                m_LeftOut.push_back(IMPN_FileFailure::Of(file.GetPath(), e.what()));
                continue;
            }
            if (!file.IsValidPreviewFile())
            {
                m_LeftOut.push_back({file.GetPath(), IMPN_RegistryScan::MissingTagReason});
                continue;
            }
            if (file.GetDirectory() != 0)
                file.SetDirectory(0);
            if (!haveFields)
            {
                TakeSheetFields(file);
                haveFields = true;
            }
            surfaces[side]->AddSeparation(file);
        }
    }
}

IMPN_Sheet::~IMPN_Sheet()
{
    Clear();
}

void IMPN_Sheet::TakeSheetFields(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    const KRNDirectoryInfo& info = file.GetDirectoryInfo();
    m_Title = info.title;
    m_SignatureNumber = info.signature;
    m_WebNumber = info.surface / 2u + 1u;
    m_WorkStyle = info.workStyle;
    m_Orientation = info.impoTileOrientation;
    m_ImageWidth = file.GetImageWidth();
    m_ImageLength = file.GetImageLength();
    m_XResolution = file.GetXResolution();
    m_YResolution = file.GetYResolution();

    // The reduced image is in directory 1, or in directory 2 behind a directory of another
    // depth: its size and scale come from whichever holds it.
    for (std::uint16_t directory : {std::uint16_t{1}, std::uint16_t{2}})
    {
        if (!file.SetDirectory(directory) || file.GetBitsPerSample() != 8)
            continue;
        m_ThumbnailWidth = file.GetImageWidth();
        m_ThumbnailLength = file.GetImageLength();
        const KRNDirectoryInfo& reduced = file.GetDirectoryInfo();
        if (reduced.IsFieldSet(TIFX_Field::Scale) && reduced.scale != 0)
            m_ThumbnailScale = reduced.scale;
        break;
    }
    file.SetDirectory(0);
}

void IMPN_Sheet::AddFile(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    if (m_WorkStyle == WorkAndTurn || m_WorkStyle == WorkAndTumble)
    {
        // One plate prints both sides.
        m_Front.AddFile(file);
        m_Back.AddFile(file);
        return;
    }
    if (file.GetDirectoryInfo().surface % 2 == 0)
        m_Front.AddFile(file);
    else
        m_Back.AddFile(file);
}

void IMPN_Sheet::Clear()
{
    m_Front.Clear();
    m_Back.Clear();
}

void IMPN_Sheet::CollectSheets(std::vector<IMPN_Sheet*>& sheets)
{
    sheets.push_back(this);
}

void IMPN_Sheet::Dump(std::ostream& out, int level)
{
    WriteIndent(out, level);
    out << "Sheet/Web<" << m_WebNumber << ">\n";
    WriteIndent(out, level);
    out << "Title            : " << m_Title << "\n";
    WriteIndent(out, level);
    out << "Image Width      : " << m_ImageWidth << "\n";
    WriteIndent(out, level);
    out << "Image Length     : " << m_ImageLength << "\n";
    WriteIndent(out, level);
    out << "Thumbnail Width  : " << m_ThumbnailWidth << "\n";
    WriteIndent(out, level);
    out << "Thumbnail Length : " << m_ThumbnailLength << "\n";
    WriteIndent(out, level + 1);
    out << "Front Surface :\n";
    if (m_Front.HasSeparations())
        m_Front.Dump(out, level + 2);
    WriteIndent(out, level + 1);
    out << "Back Surface :\n";
    if (m_Back.HasSeparations())
        m_Back.Dump(out, level + 2);
}

const char* IMPN_Sheet::WorkStyleLabel(std::uint16_t workStyle)
{
    switch (workStyle)
    {
    case SingleSided:
        return " - SS";
    case Sheetwise:
        return " - SW";
    case Perfector:
        return " - PF";
    case WorkAndTurn:
        return " - WNTurn";
    case WorkAndTumble:
        return " - WNTumble";
    default:
        return "";
    }
}

const char* IMPN_Sheet::OrientationLabel(std::uint16_t orientation)
{
    switch (orientation)
    {
    case 0:
        return " - UP";
    case 1:
        return " - DOWN";
    case 2:
        return " - LEFT";
    case 3:
        return " - RIGHT";
    default:
        return "";
    }
}

std::string IMPN_Sheet::GetName() const
{
    std::string name = "Web " + std::to_string(m_WebNumber);
    if (m_Front.HasSeparations())
        name += " F[" + m_Front.GetName() + "]";
    if (m_Back.HasSeparations())
        name += " B[" + m_Back.GetName() + "]";
    name += WorkStyleLabel(m_WorkStyle);
    name += OrientationLabel(m_Orientation);
    return name;
}

void IMPN_Sheet::Prepare(IMPN_WorkerPool* pool)
{
    m_FlipAxis =
        static_cast<std::uint32_t>(IMPN_BackupTables::FlipAxis(m_WorkStyle, m_Orientation));
    if (m_Front.HasSeparations() && m_Back.HasSeparations())
    {
        m_Backup.Compute(static_cast<int>(m_FlipAxis), static_cast<std::int32_t>(m_ImageWidth),
                         static_cast<std::int32_t>(m_ImageLength), m_Front.GetPressSheet(),
                         m_Back.GetPressSheet(), m_Front.GetPages());
    }
    else
    {
        m_Backup.Clear();
    }
    m_Front.Prepare(pool);
    m_Back.Prepare(pool);
    const IMPN_Surface& shown = m_Front.HasSeparations() ? m_Front : m_Back;
    if (const IMPN_ThumbnailImage* thumbnail = shown.GetThumbnail())
    {
        m_ThumbnailWidth = static_cast<std::uint32_t>(std::max(thumbnail->GetWidth(), 0));
        m_ThumbnailLength = static_cast<std::uint32_t>(std::max(thumbnail->GetHeight(), 0));
        m_ThumbnailScale =
            static_cast<std::uint32_t>(std::lround(std::max(thumbnail->GetScale(), 0.0)));
    }
}

std::int64_t IMPN_Sheet::GetPrintTime() const
{
    const bool front = m_Front.HasSeparations();
    const bool back = m_Back.HasSeparations();
    if (front && back)
    {
        const std::int64_t a = m_Front.GetPrintTime();
        const std::int64_t b = m_Back.GetPrintTime();
        return a / 2 + b / 2 + (a % 2 + b % 2) / 2;
    }
    if (front)
        return m_Front.GetPrintTime();
    if (back)
        return m_Back.GetPrintTime();
    return 0;
}

void IMPN_Sheet::AddReference()
{
    ++m_ReferenceCount;
}

void IMPN_Sheet::Release()
{
    if (--m_ReferenceCount <= 0)
        delete this;
}

void IMPN_Sheet::AddViewer()
{
    ++m_ViewerCount;
}

void IMPN_Sheet::ReleaseViewer()
{
    if (m_ViewerCount > 0 && --m_ViewerCount == 0)
    {
        m_Front.ReleaseResources();
        m_Back.ReleaseResources();
    }
}

std::vector<IMPN_FileFailure> IMPN_Sheet::GetUnreadableFiles() const
{
    std::vector<IMPN_FileFailure> files;
    for (const IMPN_Surface* surface : {&m_Front, &m_Back})
        for (const auto& separation : surface->GetSeparations())
        {
            const std::string& failure = separation->GetOpenFailure();
            if (failure.empty())
                continue;
            // Work & Turn and Work & Tumble read one file for both surfaces.
            const std::string& path = separation->GetFilePath();
            if (std::none_of(files.begin(), files.end(),
                             [&](const IMPN_FileFailure& f) { return f.path == path; }))
                files.push_back(IMPN_FileFailure::Of(path, failure));
        }
    return files;
}
