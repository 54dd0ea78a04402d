#pragma once
// The job information of one directory of a preview file, decoded from its private tags. All
// rectangles and points are in pixels of the full-resolution image (directory 0), x to the right
// and y downward from its top-left corner.

#include <cstdint>
#include <string>
#include <vector>

struct KRNPoint
{
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const KRNPoint&) const = default;
};

// One imposed page. A new record is all zero with no clip paths.
struct KRNPageInfo
{
    uint16_t pageNumber = 0;
    uint16_t orientation = 0;
    int32_t posTop = 0, posLeft = 0, posBottom = 0, posRight = 0;
    int32_t bleedTop = 0, bleedLeft = 0, bleedBottom = 0, bleedRight = 0;
    int32_t maxBleedTop = 0, maxBleedLeft = 0, maxBleedBottom = 0, maxBleedRight = 0;
    int32_t bottleX = 0, bottleY = 0;
    float bottleAngle = 0.0f;
    std::vector<std::vector<KRNPoint>> clipPaths; // each path an ordered list of points

    size_t NumClipPaths() const { return clipPaths.size(); }
    bool operator==(const KRNPageInfo&) const = default;
};

// Rebuilt from scratch at every directory change; presence of each field is told by fieldsSet
// (bit numbers in TIFX_Field).
struct KRNDirectoryInfo
{
    uint64_t fieldsSet = 0;

    std::string title;
    std::string digVersion;
    std::string sourceMachine;
    std::string printTime;
    std::string colorName;
    std::string colorSequence;

    int32_t intfVersion = 0;
    int32_t minIntfVersion = 0;
    int32_t pluginIntfVersion = 0;
    int32_t pluginMinIntfVersion = 0;

    uint16_t workStyle = 0;
    uint16_t color = 0;
    uint16_t scale = 0;
    uint16_t signature = 0;
    uint16_t surface = 0;
    uint16_t numPages = 0;

    float interpretationTime = 0.0f;
    float renderingTime = 0.0f;
    float compressionRatio = 0.0f;

    int32_t pressSheetTop = 0, pressSheetLeft = 0, pressSheetBottom = 0, pressSheetRight = 0;
    int32_t psFileNum = 0, psFileCount = 0, psImageNum = 0, psLastImage = 0;

    int32_t impoTileWidth = 0, impoTileHeight = 0;
    uint16_t impoTileNumX = 0, impoTileNumY = 0, impoTileCountX = 0, impoTileCountY = 0;
    uint16_t impoTileOrientation = 0;

    std::vector<KRNPageInfo> pages;

    uint16_t cmykEquivalent[4] = {0, 0, 0, 0}; // C, M, Y, K; 65535 is 100 %

    bool IsFieldSet(unsigned bit) const { return bit < 64 && (fieldsSet >> bit) & 1u; }
    void SetField(unsigned bit)
    {
        if (bit < 64)
            fieldsSet |= uint64_t{1} << bit;
    }
    void Reset() { *this = KRNDirectoryInfo(); }
    bool operator==(const KRNDirectoryInfo&) const = default;
};
