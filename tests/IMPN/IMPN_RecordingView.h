#pragma once
// A sheet view whose window operations only record what they were asked: the sheet-view suites
// check the view's decisions through it, and the release suite shows sheets with it.

#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_SheetView.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class RecordingView : public IMPN_SheetView
{
public:
    explicit RecordingView(IMPN_ViewPreferences prefs = {})
        : IMPN_SheetView(prefs, [this] { return m_Now += m_Tick, m_Now - m_Tick; })
    {
    }

    std::vector<std::string> calls;
    std::int32_t clientWidth = 800, clientHeight = 600;
    std::int32_t scrollX = 0, scrollY = 0, extentWidth = 0, extentHeight = 0;
    bool painting = false;
    std::uint32_t m_Now = 1000;
    std::uint32_t m_Tick = 0; // milliseconds the clock moves per reading

    void Refresh() override { calls.push_back("Refresh"); }
    void Redraw() override { calls.push_back("Redraw"); }
    void GetViewRect(IMPN_Rect& rect) override
    {
        rect = IMPN_Rect{scrollY, scrollX, clientWidth, clientHeight};
    }
    void SetExtent(std::int32_t width, std::int32_t height, bool) override
    {
        extentWidth = width;
        extentHeight = height;
        scrollX = scrollY = 0;
    }
    void ScrollTo(std::int32_t x, std::int32_t y, bool) override
    {
        scrollX = std::clamp(x, 0, std::max(0, extentWidth - clientWidth));
        scrollY = std::clamp(y, 0, std::max(0, extentHeight - clientHeight));
        calls.push_back("ScrollTo " + std::to_string(x) + "," + std::to_string(y));
    }
    void FillTileBackground(IMPN_DrawTarget&, const IMPN_Rect& r, const IMPN_ColorBGR&) override
    {
        calls.push_back("Fill " + std::to_string(r.left) + "," + std::to_string(r.top));
    }
    void BeginUnderneath(IMPN_DrawTarget&, int opacity) override
    {
        calls.push_back("BeginUnderneath " + std::to_string(opacity));
    }
    void EndUnderneath(IMPN_DrawTarget&) override { calls.push_back("EndUnderneath"); }
    void BeginTop(IMPN_DrawTarget&, int opacity) override
    {
        calls.push_back("BeginTop " + std::to_string(opacity));
    }
    void EndTop(IMPN_DrawTarget&) override { calls.push_back("EndTop"); }
    void DrawTile(const IMPN_RenderTile& tile, IMPN_DrawTarget&, const IMPN_Rect&) override
    {
        calls.push_back("Tile " + std::to_string(tile.left) + "," + std::to_string(tile.top));
        drawn.push_back(&tile);
    }
    void TileNotReady(IMPN_DrawTarget&, const TileRequest& r, bool underneath) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "NotReady " + std::to_string(r.left) +
                        "," + std::to_string(r.top));
    }
    std::vector<const IMPN_RenderTile*> drawn;
    void DrawImageFrame(IMPN_DrawTarget&, const IMPN_Rect& r, bool underneath) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "Frame " + std::to_string(r.width) +
                        "x" + std::to_string(r.height));
    }
    void DrawPressSheetEdge(IMPN_DrawTarget&, const IMPN_Rect&, bool underneath) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "PressSheet");
    }
    void DrawBleedEdges(IMPN_DrawTarget&, const std::vector<IMPN_Rect>&, bool underneath) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "Bleeds");
    }
    void DrawPages(IMPN_DrawTarget&, const std::vector<IMPN_PageEntry>&, bool underneath,
                   bool edges, bool numbers) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "Pages " + (edges ? "E" : "-") +
                        (numbers ? "N" : "-"));
    }
    void DrawClipPaths(IMPN_DrawTarget&, const IMPN_Surface&, bool underneath) override
    {
        calls.push_back(std::string(underneath ? "U" : "T") + "ClipPaths");
    }
    void StartPainting() override
    {
        painting = true;
        calls.push_back("Start");
    }
    void StopPainting() override
    {
        painting = false;
        calls.push_back("Stop");
    }
    void ShowPaintProgress(std::int32_t done, std::int32_t needed) override
    {
        progress.emplace_back(done, needed);
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;

    std::size_t Count(const std::string& prefix) const
    {
        return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(),
                                                      [&](const std::string& c)
                                                      { return c.rfind(prefix, 0) == 0; }));
    }
};
