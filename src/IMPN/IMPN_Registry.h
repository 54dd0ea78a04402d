#pragma once
// The root of the imposition tree. It takes preview files, rejects what is not a valid preview
// file and sorts the rest into impositions by job title (case matters). The application window
// builds one for each batch of files it opens and hands the sheets on; the job browser keeps one
// behind its tree.

#include "IMPN/IMPN_Imposition.h"
#include "IMPN/IMPN_Node.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class GFIL_FileSpec;

class IMPN_Registry : public IMPN_Node
{
public:
    // Why AddFiles skipped a file.
    enum class RejectReason
    {
        CannotOpen,     // the TIFF library could not open it (missing, not a TIFF, unreadable)
        NotPreviewFile, // a TIFF, but not a valid preview file
    };

    struct RejectedFile
    {
        std::wstring path;
        RejectReason reason;
        std::string detail; // the TIFF library's message, or the validity check that failed
    };

    // Texts of the report the caller shows when fewer files were placed than given. "%i" is the
    // count of rejected files.
    static constexpr const wchar_t* ReportTitle = L"Invalid Preview Files Encountered";
    static constexpr const wchar_t* ReportFolderOne =
        L"One file in this folder was ignored since it is not a valid preview file.";
    static constexpr const wchar_t* ReportFolderMany =
        L"%i files in this folder were ignored since they are not valid preview files.";
    static constexpr const wchar_t* ReportSurfaceOne =
        L"One file was not added to this surface since it is not a valid preview file.";
    static constexpr const wchar_t* ReportSurfaceMany =
        L"%i files were not added to this surface since they are not valid preview files.";
    static constexpr const wchar_t* ReportDetailsOne =
        L"This file is missing job information or it does not appear to be a TIFF file.";
    static constexpr const wchar_t* ReportDetailsMany =
        L"These files are missing job information or they do not appear to be TIFF files.";

    enum class ReportCase
    {
        Folder,  // files opened from a job folder or the command line
        Surface, // files added to a surface
        Details, // the explanation shown on request
    };
    // The report text for a count of rejected files, "%i" filled in.
    static std::wstring ReportText(ReportCase which, int rejectedCount);

    IMPN_Registry();
    ~IMPN_Registry() override;

    // Places a valid preview file (open, directory 0) in the imposition of its title.
    void AddFile(TIFX_KRNFile& file) override;
    void Clear() override;
    void CollectSheets(std::vector<IMPN_Sheet*>& sheets) override;
    void Dump(std::ostream& out, int level) override;

    // Opens each file in order, places the valid preview files and closes each file again
    // (separations keep readers of their own). Returns the number placed. Files that cannot be
    // opened or are not valid are skipped, and listed in rejected when it is given. Exceptions
    // other than a failure to open (a broken reduced image met while a separation is made)
    // propagate.
    int AddFiles(const std::vector<GFIL_FileSpec>& files, bool clearFirst,
                 std::vector<RejectedFile>* rejected = nullptr);

    // The imposition with exactly this title (byte for byte, same length), or null.
    IMPN_Imposition* FindImposition(std::string_view title) const;

    const std::vector<std::unique_ptr<IMPN_Imposition>>& GetImpositions() const
    {
        return m_Impositions;
    }

private:
    std::vector<std::unique_ptr<IMPN_Imposition>> m_Impositions;
};
