#pragma once
// One press sheet (a web of a signature) with its front and back surface: the unit a job window
// shows. A sheet is shared: it counts its holders (the signature that built it, every sheet view
// that shows it) and deletes itself when the last one releases it, so it outlives the registry
// that built it.

#include "IMPN/IMPN_BackupTables.h"
#include "IMPN/IMPN_Node.h"
#include "IMPN/IMPN_Surface.h"

#include <cstdint>
#include <string>
#include <vector>

class GFIL_FileSpec;

// A file a sheet could not read, and why (the reason without the path).
struct IMPN_FileFailure
{
    std::string path;
    std::string reason;

    // From the text of a failure that names the file first ("<path>: <reason>").
    static IMPN_FileFailure Of(const std::string& path, const std::string& text);
    bool operator==(const IMPN_FileFailure&) const = default;
};

class IMPN_Sheet : public IMPN_Node
{
public:
    // Workstyle codes.
    static constexpr std::uint16_t SingleSided = 0;
    static constexpr std::uint16_t Sheetwise = 1;
    static constexpr std::uint16_t Perfector = 2;
    static constexpr std::uint16_t WorkAndTurn = 3;
    static constexpr std::uint16_t WorkAndTumble = 4;

    // The sheet fields from an open preview file (its private record of directory 0, its image
    // size and resolutions, the reduced image's size and "Scale"); both surfaces empty, no
    // holders. The file is left at directory 0. Preview-file exceptions propagate.
    explicit IMPN_Sheet(TIFX_KRNFile& file);

    // A sheet made from lists of files, front and back (the user's own file lists). Files that
    // cannot be opened or are not valid preview files are skipped (GetLeftOutFiles says why);
    // the first valid file of all gives the sheet fields; each valid file becomes a separation
    // of its list's surface without the replacement rule. No file stays open.
    IMPN_Sheet(const std::vector<GFIL_FileSpec>& frontFiles,
               const std::vector<GFIL_FileSpec>& backFiles);

    ~IMPN_Sheet() override;

    // Work & Turn and Work & Tumble print both sides from one plate: the file goes to both
    // surfaces. Otherwise an even "Surface" goes to the front, an odd one to the back.
    void AddFile(TIFX_KRNFile& file) override;
    void Clear() override;
    // Appends this sheet.
    void CollectSheets(std::vector<IMPN_Sheet*>& sheets) override;
    void Dump(std::ostream& out, int level) override;
    // "Web 2 F[CMYK1] B[CMYK1] - SW - UP".
    std::string GetName() const override;

    // Computes the flip axis and the backup tables, prepares both surfaces, then takes the
    // thumbnail size and scale from the front surface's thumbnail (the back's when the front is
    // empty). A pool (not kept) makes the surfaces' thumbnails on its workers.
    void Prepare(IMPN_WorkerPool* pool = nullptr);

    // The files whose separation could not open its reader the last time it tried
    // (IMPN_Separation::GetOpenFailure), each once, front first: after Prepare, those whose inks
    // the sheet is shown without.
    std::vector<IMPN_FileFailure> GetUnreadableFiles() const;
    // The files the list constructor skipped, in list order, front first.
    const std::vector<IMPN_FileFailure>& GetLeftOutFiles() const { return m_LeftOut; }

    // Integer mean of the print times of the surfaces that have separations; 0 when none has.
    std::int64_t GetPrintTime() const;

    // Holders. A new sheet has none; Release of the last one deletes the sheet.
    void AddReference();
    void Release();
    std::int32_t GetReferenceCount() const { return m_ReferenceCount; }

    // Views showing the sheet (each also holds a reference). When the last one stops showing it,
    // both surfaces release their resources (IMPN_Surface::ReleaseResources): a sheet that the
    // job browser or a palette still holds keeps no file handles and no tiles. Prepare makes
    // them again for the next view.
    void AddViewer();
    void ReleaseViewer();
    std::int32_t GetViewerCount() const { return m_ViewerCount; }

    IMPN_Surface& GetFrontSurface() { return m_Front; }
    IMPN_Surface& GetBackSurface() { return m_Back; }
    const IMPN_Surface& GetFrontSurface() const { return m_Front; }
    const IMPN_Surface& GetBackSurface() const { return m_Back; }

    // Backup offsets for mode (0 plates, 1 press sheets, 2 pages) and zoom level (0 to 12).
    const IMPN_BackupTables& GetBackupTables() const { return m_Backup; }
    std::int32_t GetBackupDx(int mode, int level) const { return m_Backup.Dx(mode, level); }
    std::int32_t GetBackupDy(int mode, int level) const { return m_Backup.Dy(mode, level); }

    const std::string& GetTitle() const { return m_Title; }
    std::uint32_t GetSignatureNumber() const { return m_SignatureNumber; }
    std::uint32_t GetWebNumber() const { return m_WebNumber; }
    std::uint16_t GetWorkStyle() const { return m_WorkStyle; }
    std::uint16_t GetOrientation() const { return m_Orientation; }
    std::uint32_t GetThumbnailWidth() const { return m_ThumbnailWidth; }
    std::uint32_t GetThumbnailLength() const { return m_ThumbnailLength; }
    std::uint32_t GetThumbnailScale() const { return m_ThumbnailScale; }
    // 0 none, 1 left-right, 2 top-bottom; known after Prepare.
    std::uint32_t GetFlipAxis() const { return m_FlipAxis; }
    std::uint32_t GetImageWidth() const { return m_ImageWidth; }
    std::uint32_t GetImageLength() const { return m_ImageLength; }
    float GetXResolution() const { return m_XResolution; }
    float GetYResolution() const { return m_YResolution; }

    // The label a workstyle adds to a sheet's name (" - SW"); empty for unknown codes.
    static const char* WorkStyleLabel(std::uint16_t workStyle);
    // The label an orientation adds (" - UP"); empty for unknown codes.
    static const char* OrientationLabel(std::uint16_t orientation);

private:
    void TakeSheetFields(TIFX_KRNFile& file);

    IMPN_Surface m_Front;
    IMPN_Surface m_Back;
    IMPN_BackupTables m_Backup;
    std::string m_Title;
    std::uint32_t m_SignatureNumber = 0;
    std::uint32_t m_WebNumber = 0;
    std::uint16_t m_WorkStyle = 0;
    std::uint16_t m_Orientation = 0;
    std::uint32_t m_ThumbnailWidth = 0;
    std::uint32_t m_ThumbnailLength = 0;
    std::uint32_t m_ThumbnailScale = 1;
    std::uint32_t m_FlipAxis = 0;
    std::uint32_t m_ImageWidth = 0;
    std::uint32_t m_ImageLength = 0;
    float m_XResolution = 0;
    float m_YResolution = 0;
    std::int32_t m_ReferenceCount = 0;
    std::int32_t m_ViewerCount = 0;
    std::vector<IMPN_FileFailure> m_LeftOut;
};
