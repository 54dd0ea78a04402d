#pragma once
// The set-up the job-window suites share: the viewer's application object with default
// preferences (or a suite's own), sheets of one page made at run time, and job windows opened on
// them.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"
#include "WKRN/sheet/WKRN_StatusPanes.h"

#include <QAction>
#include <QPixmap>
#include <QRect>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

// The Zoom menu's commands, level 0 (8:1) to level 12 (1:512).
inline const std::vector<int> WKRN_kZoomCommands = {
    ID_ZOOM_8_1,   ID_ZOOM_4_1,   ID_ZOOM_2_1,  ID_ZOOM_1_1,  ID_ZOOM_1_2,
    ID_ZOOM_1_4,   ID_ZOOM_1_8,   ID_ZOOM_1_16, ID_ZOOM_1_32, ID_ZOOM_1_64,
    ID_ZOOM_1_128, ID_ZOOM_1_256, ID_ZOOM_1_512};

class WKRN_JobWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WKRN_Preferences::Current() = WKRN_PreferenceValues();
        AdjustPreferences(WKRN_Preferences::Current());
        app = std::make_unique<WKRN_Tressida>(QPixmap());
        app->SetQuitAction([] {});
    }
    void TearDown() override
    {
        app.reset();
        WKRN_ProcessEvents();
        WKRN_Preferences::Current() = WKRN_PreferenceValues();
        WKRN_StatusPanes::SetCapsSource({});
    }

    // Preferences that differ from the defaults, set before the application starts.
    virtual void AdjustPreferences(WKRN_PreferenceValues&) {}

    // A sheet spec with the one upright page the suites place.
    static WKRN_TestSheetSpec OnePageSpec()
    {
        WKRN_TestSheetSpec spec;
        spec.pages = {WKRN_TestSheets::Page(1, 0, 100, 100, 400, 300)};
        return spec;
    }

    // A job window on `sheet` (none: an empty job window), at `openRect` unless told otherwise.
    WKRN_SheetWindow* Open(const IMPN_SheetReference& sheet, std::optional<QRect> rect = {})
    {
        return app->OpenJobWindow(sheet, rect.value_or(openRect), true);
    }

    static bool Checked(WKRN_SheetWindow* job, int id) { return job->Action(id)->isChecked(); }
    static bool Enabled(WKRN_SheetWindow* job, int id) { return job->Action(id)->isEnabled(); }

    WKRN_TestSheets sheets;
    std::unique_ptr<WKRN_Tressida> app;
    QRect openRect = QRect(20, 20, 640, 480);
};
