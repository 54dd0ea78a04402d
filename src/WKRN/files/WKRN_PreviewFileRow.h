#pragma once
// One row of a preview file list: one separation and the file it came from. A row made from a
// file the user added in the dialog owns its separation; a row made from a sheet's surface only
// refers to it (the sheet keeps it alive for as long as the dialog holds the sheet).
//
// The row shows the separation's decided colour name with a swatch of that colour, and the file
// name.

#include "GFIL/GFIL_FileSpec.h"

#include <QPixmap>
#include <QTreeWidgetItem>

#include <memory>
#include <string>

struct IMPN_ColorRecord;
class IMPN_Separation;

class WKRN_PreviewFileRow : public QTreeWidgetItem
{
public:
    static constexpr int kColorColumn = 0;
    static constexpr int kFileNameColumn = 1;
    // The swatch image's size: the list's 16 x 16 icons.
    static constexpr int kSwatchSize = 16;

    // A row referring to a separation that belongs to someone else.
    WKRN_PreviewFileRow(IMPN_Separation& separation, GFIL_FileSpec file);
    // A row owning a separation made in the dialog.
    WKRN_PreviewFileRow(std::unique_ptr<IMPN_Separation> separation, GFIL_FileSpec file);
    ~WKRN_PreviewFileRow() override;

    IMPN_Separation& Separation() const { return *m_separation; }
    bool OwnsSeparation() const { return static_cast<bool>(m_owned); }
    // The file; empty when its path could not be made into a file specification.
    const GFIL_FileSpec& File() const { return m_file; }
    // The full path as it is shown in the path field.
    const std::wstring& Path() const { return m_path; }

    // Colour order: a process ink (code other than 0) before a spot ink (code 0), lower codes
    // first; equal codes compare equal.
    static int CompareColor(const QTreeWidgetItem& a, const QTreeWidgetItem& b);
    // File names, case-insensitively.
    static int CompareFileName(const QTreeWidgetItem& a, const QTreeWidgetItem& b);

    // The swatch of a decided colour: the colour at its opacity over its background, filling the
    // icon area but one pixel at the top and the bottom; a fully transparent picture for the
    // default colour, which gets no swatch.
    static QPixmap Swatch(const IMPN_ColorRecord& color);

private:
    void Show();

    std::unique_ptr<IMPN_Separation> m_owned;
    IMPN_Separation* m_separation;
    GFIL_FileSpec m_file;
    std::wstring m_path;
};
