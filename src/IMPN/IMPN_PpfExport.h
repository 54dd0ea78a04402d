#pragma once
// One sheet as an ink-presetting file for the press (IMPN_PpfWriter's format): every surface
// that has separations, front before back, each ink's preview counted exactly from its screened
// one-bit tiles, written with the safe save so that a failed, stopped or cancelled export leaves
// whatever was at the path before and never a cut-off file.
//
// Made on the thread that owns the sheet (it reads the tree and opens the preview files there);
// Write may then run on another thread while the owner goes on, as it touches nothing of the
// sheet again. A work-and-turn or work-and-tumble sheet writes both surfaces, from the same
// files. A back is written as its files hold it, not mirrored.

#include "IMPN/IMPN_PpfPreview.h"
#include "IMPN/IMPN_PpfWriter.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IMPN_CellCoverage;
class IMPN_ColorDatabases;
class IMPN_Sheet;
class IMPN_WorkerPool;

class IMPN_PpfExport
{
public:
    // Reports the work done out of the whole (any unit, growing); false cancels the export.
    using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    struct Options
    {
        IMPN_PpfPreview::Resolution resolution = IMPN_PpfPreview::Resolution::Default();
        IMPN_PpfWriter::Encoding encoding = IMPN_PpfWriter::Encoding::Binary;
        // Program name and version, for CIP3AdmSoftware.
        std::string software;
        // CIP3AdmCreationTime; CreationTime(now) when empty.
        std::string creationTime;
        // Counts the tiles on its workers too; null: the writing thread alone.
        IMPN_WorkerPool* pool = nullptr;
        Progress progress;
    };

    struct Outcome
    {
        enum class Status
        {
            Written,   // the file is in place (warnings may still say what counted as no ink)
            Cancelled, // progress said stop: nothing changed at the path
            Failed,    // nothing changed at the path; `reason` says why
        };
        Status status = Status::Failed;
        std::string reason;
        // Source tiles that could not be read and were counted as no ink, one line each naming
        // the file and the tile.
        std::vector<std::string> warnings;
    };

    // Reads the sheet: names, plate size, the inks' colours (the separations' colours must have
    // been decided, as preparing a sheet or a separation does) and opens each ink's file for
    // counting, `readers` times (one per thread that will count).
    IMPN_PpfExport(const IMPN_Sheet& sheet, const IMPN_ColorDatabases& databases,
                   unsigned readers = 1);
    ~IMPN_PpfExport();
    IMPN_PpfExport(const IMPN_PpfExport&) = delete;
    IMPN_PpfExport& operator=(const IMPN_PpfExport&) = delete;

    // Whether the sheet has any separation to write.
    bool HasSurfaces() const { return !m_Surfaces.empty(); }
    const IMPN_PpfWriter::SheetInfo& GetSheetInfo() const { return m_Sheet; }

    // Counts and writes the file at path (UTF-8).
    Outcome Write(const std::string& path, const Options& options);

    // "Tue Dec 08 16:52:07 2026": the time in the local zone, English names whatever the
    // locale, as CIP3AdmCreationTime is usually written.
    static std::string CreationTime(std::time_t when);
    // The sheet's name in the file: "Signature 2 Web 1".
    static std::string SheetName(const IMPN_Sheet& sheet);

private:
    struct Ink;
    struct Surface;
    struct Cancelled
    {
    };

    bool WriteSurfaces(IMPN_PpfWriter& writer, const Options& options, Outcome& outcome);

    IMPN_PpfWriter::SheetInfo m_Sheet;
    float m_XResolution = 0, m_YResolution = 0;
    std::string m_Problem; // why the sheet cannot be written, when it cannot
    std::vector<std::unique_ptr<Surface>> m_Surfaces;
};
