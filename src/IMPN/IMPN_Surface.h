#pragma once
// One side of a press sheet: its separations (process inks first in C, M, Y, K, R, G, B order,
// then spot inks in arrival order), the press-sheet and page geometry taken from its first file,
// and the paper colour and opacity the view shows it with.

#include "IMPN/IMPN_ClipPath.h"
#include "IMPN/IMPN_Node.h"
#include "IMPN/IMPN_PageEntry.h"
#include "IMPN/IMPN_Rect.h"
#include "IMPN/IMPN_Separation.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IMPN_SurfaceRenderer;
class IMPN_ThumbnailImage;
class IMPN_WorkerPool;

class IMPN_Surface : public IMPN_Node
{
public:
    using SeparationList = std::vector<std::unique_ptr<IMPN_Separation>>;
    // Per page, its source clip paths.
    using PageClipPaths = std::vector<IMPN_ClipPath>;

    IMPN_Surface();
    ~IMPN_Surface() override;

    // Places a file that arrives through the registry: a file of an ink the surface already has
    // replaces that separation when its print time is the same or later, and is dropped when it
    // is earlier.
    void AddFile(TIFX_KRNFile& file) override;
    // Deletes the page lists, the renderer, the thumbnail and every separation.
    void Clear() override;
    void Dump(std::ostream& out, int level) override;
    // "C", "M", "Y", "K" for the process inks present, then one digit per spot ink: CMYK12.
    std::string GetName() const override;

    // Adds a separation without the replacement rule. The first file of an empty surface also
    // gives the press sheet, pages, bleeds and clip paths.
    void AddSeparation(TIFX_KRNFile& file);

    // Prepares every separation (colour decision, tile classes, stamps) and creates the renderer
    // and thumbnail once, when the surface has separations. With a pool (not kept) the
    // thumbnail's reduced images are read and mixed on its workers too.
    void Prepare(IMPN_WorkerPool* pool = nullptr);

    // Integer mean of the separations' print times (100-ns ticks); 0 without separations.
    std::int64_t GetPrintTime() const;
    // Largest change stamp of the separations.
    std::uint32_t GetLatestChange() const;
    void CloseFiles();
    // Lets go of everything showing the surface took: the renderer (its tiles and its worker
    // readers), the thumbnail and the separations' own file handles. What the tree lists
    // (separations, pages, print times, colours) stays; the next Prepare makes the rest again.
    void ReleaseResources();

    bool HasSeparations() const { return !m_Separations.empty(); }
    const SeparationList& GetSeparations() const { return m_Separations; }
    std::size_t GetSeparationCount() const { return m_Separations.size(); }
    IMPN_Separation* GetSeparation(std::size_t index) const;
    // The first separation whose ink name equals name byte for byte, or null.
    IMPN_Separation* FindSeparation(const std::string& name) const;

    // Paper colour as blue, green, red. The renderer and the thumbnail keep a pointer to it.
    IMPN_ColorBGR& PaperColor() { return m_PaperColor; }
    const IMPN_ColorBGR& PaperColor() const { return m_PaperColor; }
    void SetPaperColor(std::uint8_t blue, std::uint8_t green, std::uint8_t red);

    int GetOpacity() const { return m_Opacity; }
    // Clamped to 0..100.
    void SetOpacity(int opacity);

    const IMPN_Rect& GetPressSheet() const { return m_PressSheet; }
    const std::vector<IMPN_PageEntry>& GetPages() const { return m_Pages; }
    const std::vector<IMPN_Rect>& GetBleeds() const { return m_Bleeds; }
    const std::vector<IMPN_Rect>& GetMaxBleeds() const { return m_MaxBleeds; }
    const std::vector<PageClipPaths>& GetClipPaths() const { return m_ClipPaths; }
    bool HasClipPaths() const { return m_HasClipPaths; }

    // The surface's tile cache and its navigation thumbnail, made by the first Prepare of a
    // surface with separations and destroyed by Clear and the destructor; null before.
    IMPN_SurfaceRenderer* GetRenderer() const
    {
        return m_RendererOverride != nullptr ? m_RendererOverride : m_Renderer.get();
    }
    // A picture shown in place of the surface's own while it is set (the comparison with another
    // version of the job): GetRenderer hands it out, null gives the surface's own again. Not
    // owned; whoever sets it clears it before the renderer goes.
    void SetRendererOverride(IMPN_SurfaceRenderer* renderer) { m_RendererOverride = renderer; }
    // False while another picture is shown in place of the surface's own.
    bool ShowsOwnPicture() const { return m_RendererOverride == nullptr; }
    IMPN_ThumbnailImage* GetThumbnail() const { return m_Thumbnail.get(); }

private:
    void TakeSurfaceData(TIFX_KRNFile& file);
    void InsertSeparation(std::unique_ptr<IMPN_Separation> separation);

    IMPN_ColorBGR m_PaperColor{255, 255, 255};
    int m_Opacity = 100;
    IMPN_Rect m_PressSheet;
    std::vector<IMPN_PageEntry> m_Pages;
    std::vector<IMPN_Rect> m_Bleeds;
    std::vector<IMPN_Rect> m_MaxBleeds;
    std::vector<PageClipPaths> m_ClipPaths;
    bool m_HasClipPaths = false;
    SeparationList m_Separations;
    // Declared after the separations they read, so that they go first.
    std::unique_ptr<IMPN_SurfaceRenderer> m_Renderer;
    std::unique_ptr<IMPN_ThumbnailImage> m_Thumbnail;
    IMPN_SurfaceRenderer* m_RendererOverride = nullptr;
};
