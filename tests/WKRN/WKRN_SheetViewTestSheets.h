#pragma once
// Sheets for the sheet view suites, made from preview files that the writer puts into a scratch
// folder at run time, and a receiver that records the view's notices.

#include "KRN_TestFolder.h"

#include "IMPN/IMPN_SheetReference.h"
#include "TIFX/TIFX_KRNDirectoryInfo.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One surface's file. Ink is one bit a pixel; fill says whether pixel (x, y) carries ink.
struct WKRN_TestSurface
{
    std::uint16_t surface = 0;
    std::string ink = "Black";
    std::uint16_t color = 4;
    std::function<bool(std::uint32_t x, std::uint32_t y)> fill;
    // InkNames of the main image (empty: none) and the CMYK equivalent (none when unset).
    std::string inkNames = {};
    std::optional<std::array<std::uint16_t, 4>> cmykEquivalent = {};
};

struct WKRN_TestSheetSpec
{
    std::uint16_t workStyle = 0;
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    float resolution = 600.0f;
    std::vector<KRNPageInfo> pages;
    std::vector<WKRN_TestSurface> surfaces{WKRN_TestSurface{}};
};

class WKRN_TestSheets
{
public:
    // The one sheet the files of spec make, through the registry.
    IMPN_SheetReference Make(const WKRN_TestSheetSpec& spec);

    // A page of the given geometry (full-resolution pixels) with bleeds 5 and 10 pixels out.
    static KRNPageInfo Page(std::uint16_t number, std::uint16_t orientation, std::int32_t top,
                            std::int32_t left, std::int32_t bottom, std::int32_t right);

private:
    KRN_TestFolder m_Folder{"wkrn-sheetview"};
    int m_Count = 0;
};

// Records every window message sent or posted to it, with the values behind its pointers read
// at delivery.
class WKRN_NoticeRecorder : public QObject
{
public:
    struct Notice
    {
        int message = 0;
        quintptr wParam = 0;
        std::vector<double> first;  // 0x8021: position; 0x800C/0x800D: the fractions
        std::vector<double> second; // 0x8021: offset, when given
    };

    bool event(QEvent* event) override;

    std::vector<Notice> notices;
    std::vector<Notice> Of(int message) const;
    void Clear() { notices.clear(); }
};
