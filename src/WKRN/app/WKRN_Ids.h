#pragma once
// Message numbers, timer ids, command ids, string ids and resource ids of the viewer. The numbers
// are fixed: stored menus, the string table, the language modules and the window messages all
// refer to them.

// Application-window messages.
inline constexpr int APPMSG_OPEN_JOB = 0x8002;
inline constexpr int APPMSG_ARRANGE = 0x8004;
inline constexpr int APPMSG_ACTIVATE_JOB = 0x8006;
inline constexpr int APPMSG_JOB_CLOSED = 0x8007;
inline constexpr int APPMSG_CLOSE_JOB = 0x8008;
inline constexpr int APPMSG_CLOSE_ALL = 0x8009;
inline constexpr int APPMSG_QUIT = 0x800A;
inline constexpr int APPMSG_COLOURS_CHANGED = 0x8017;
inline constexpr int APPMSG_CUSTOM_COLOURS_EDITED = 0x8025;

// Job-window messages. The job window passes the view's notices on to its palettes and the
// palettes' requests on to the view under the same numbers.
inline constexpr int JOBMSG_SHOW_SHEET = 0x8002;
inline constexpr int JOBMSG_SHOW_SHEETS = 0x8003;
inline constexpr int JOBMSG_VISIBLE_AREA = 0x800C;
// wParam: new level << 16 | old level.
inline constexpr int JOBMSG_ZOOM_CHANGED = 0x800D;
// Scroll the view to fractions of its level picture.
inline constexpr int JOBMSG_PAN_REQUEST = 0x800E;
// Zoom the view to a rectangle given as fractions of its level picture.
inline constexpr int JOBMSG_ZOOM_REQUEST = 0x800F;
// A separation's colour or opacity changed.
inline constexpr int JOBMSG_SEPARATION_COLOUR = 0x8018;
inline constexpr int JOBMSG_SEPARATION_VISIBILITY = 0x8019;
// A surface's opacity changed; to the separations palette: set the facing surface's slider.
inline constexpr int JOBMSG_SURFACE_OPACITY = 0x801A;
// The colour dialog of the separations palette opens, closes.
inline constexpr int JOBMSG_POPUP_STARTED = 0x801B;
inline constexpr int JOBMSG_POPUP_ENDED = 0x801C;
// wParam: the command id of the palette.
inline constexpr int JOBMSG_SHOW_PALETTE = 0x8020;
inline constexpr int JOBMSG_MEASUREMENT = 0x8021;
inline constexpr int JOBMSG_PALETTE_CLOSED = 0x8022;
inline constexpr int JOBMSG_PALETTE_ACTIVATED = 0x8023;
inline constexpr int JOBMSG_PALETTE_DEACTIVATED = 0x8024;
// From the Add Preview Files dialog: the sheet was rebuilt from the edited lists.
inline constexpr int JOBMSG_SHEET_REBUILT = 0x8027;
inline constexpr int JOBMSG_DENSITOMETER = 0x8040;
// Sheet view -> job window: progress of a long progressive paint (wParam tiles drawn, lParam tiles
// needed; lParam 0 clears it).
inline constexpr int JOBMSG_PAINT_PROGRESS = 0x8041;

// Navigation-palette messages; for the facing pair wParam is 1 when the front faces the viewer.
inline constexpr int NAVMSG_FRONT_FACES = 0x8010;
inline constexpr int NAVMSG_BACK_FACES = 0x8011;
inline constexpr int NAVMSG_PAGE_EDGES_ON = 0x8012;
inline constexpr int NAVMSG_PAGE_EDGES_OFF = 0x8013;
inline constexpr int NAVMSG_PAGE_NUMBERS_ON = 0x8014;
inline constexpr int NAVMSG_PAGE_NUMBERS_OFF = 0x8015;

// Separations-palette message: wParam 1 when the front surface faces the viewer.
inline constexpr int SEPMSG_FACING = 0x8016;

// Job browser: from its scan to its window.
inline constexpr int BROWSERMSG_SCAN_STARTED = 0x8029;
inline constexpr int BROWSERMSG_FILE_PROCESSED = 0x802A;
inline constexpr int BROWSERMSG_SCAN_FINISHED = 0x802B;

// Timers of the application window.
inline constexpr int SPLASH_TIMER = 1000;
inline constexpr int COLLECT_TIMER = 1001;
inline constexpr int SPLASH_MILLISECONDS = 5000;
inline constexpr int COLLECT_MILLISECONDS = 1000;

// The single-instance name: the lock, the local socket and the application window's title.
inline constexpr const char* WKRN_INSTANCE_NAME = "com.quor.krn.instance";

// Tag of the command-line hand-over record.
inline constexpr unsigned long long COMMAND_LINE_HANDOVER = 0xB001;

// Job-window identities: the first one, and the last one routed as window activation.
inline constexpr int WKRN_FIRST_JOB_ID = 0xA001;
inline constexpr int WKRN_LAST_ROUTED_JOB_ID = 0xA100;

// Command ids of the shared menu, accelerators and toolbar.
enum WKRN_CommandId : int
{
    ID_FILE_OPEN_PREVIEW = 32771,
    ID_FILE_ADD_PREVIEW = 32772,
    ID_FILE_JOB_BROWSER = 32773,
    ID_FILE_CLOSE = 57602,
    ID_APP_EXIT = 57665,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_CUT = 57635,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_CUSTOM_COLORS = 32775,
    ID_EDIT_PREFERENCES = 32776,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_ZOOM_8_1 = 32777,
    ID_ZOOM_4_1 = 32778,
    ID_ZOOM_2_1 = 32792,
    ID_ZOOM_1_1 = 32793,
    ID_ZOOM_1_2 = 32794,
    ID_ZOOM_1_4 = 32795,
    ID_ZOOM_1_8 = 32796,
    ID_ZOOM_1_16 = 32797,
    ID_ZOOM_1_32 = 32798,
    ID_ZOOM_1_64 = 32799,
    ID_ZOOM_1_128 = 32800,
    ID_ZOOM_1_256 = 32801,
    ID_ZOOM_1_512 = 32802,
    ID_ZOOM_IN = 32803,
    ID_ZOOM_OUT = 32804,
    ID_ZOOM_FIT = 32805,
    ID_SHEET_SHOW_IMPOSITION = 32806,
    ID_SHEET_PRESS_SHEET_EDGE = 32807,
    ID_SHEET_BLEED_EDGE = 32808,
    ID_SHEET_PAGE_EDGE = 32809,
    ID_SHEET_PAGE_NUMBERS = 32810,
    ID_SHEET_CLIP_PATH = 32811,
    ID_BACKUP_PLATES = 32813,
    ID_BACKUP_PRESS_SHEETS = 32814,
    ID_BACKUP_PAGES = 32815,
    ID_SHEET_FLIP = 32816,
    ID_SHEET_MORE_OPAQUE = 32817,
    ID_SHEET_LESS_OPAQUE = 32818,
    ID_TOOL_PAN = 32819,
    ID_TOOL_MEASURE = 32820,
    ID_TOOL_ZOOM = 32821,
    ID_WINDOW_NAVIGATION = 32822,
    ID_WINDOW_SEPARATIONS = 32823,
    ID_WINDOW_MEASUREMENT = 32831,
    ID_PALETTES_FLOAT_LEFT = 32833,
    ID_PALETTES_FLOAT_RIGHT = 32835,
    ID_PALETTES_DOCK_LEFT = 32837,
    ID_PALETTES_DOCK_RIGHT = 32840,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 32861,
    ID_WINDOW_TILE_VERT = 32862,
    ID_WINDOW_CLOSE_ALL = 32867,
    ID_HELP_CONTENTS = 32876,
    ID_APP_ABOUT = 57664,

    // Ink coverage: the densitometer tool, the ink-limit overlay and the ink-zone profile.
    ID_TOOL_DENSITOMETER = 33231,
    ID_VIEW_INK_LIMIT = 33232,
    ID_SHEET_INK_ZONES = 33233,

    // Comparing the sheet with another version of the job.
    ID_SHEET_COMPARE_WITH = 33240,
    ID_SHEET_NEXT_DIFFERENCE = 33241,
    ID_SHEET_PREVIOUS_DIFFERENCE = 33242,
    ID_SHEET_COMPARE_OFF = 33243,
    // The press's ink-key presetting: the shown sheet as a CIP3 PPF file.
    ID_FILE_EXPORT_INK_PRESETTING = 33236,
};

// String ids.
enum WKRN_StringId : unsigned
{
    IDS_CAPS = 129,
    IDS_ZOOM_PANE_SIZE = 130,
    IDS_WORKSTYLE_PANE = 131,
    IDS_LANGUAGE_CODE = 132,
    IDS_COPYRIGHT = 136,
    IDS_PANTONE_NOTICE = 137,
    IDS_SURFACE_INVALID_ONE = 140,
    IDS_SURFACE_INVALID_ONE_DETAIL = 142,
    IDS_SURFACE_INVALID_MANY = 143,
    IDS_SURFACE_INVALID_MANY_DETAIL = 145,
    IDS_JOB_NAME_FORMAT = 146,
    IDS_ADD_FILES_TITLE = 147,
    IDS_OPEN_FILES_TITLE = 148,
    IDS_FRONT_SURFACE = 162,
    IDS_BACK_SURFACE = 164,
    IDS_UNIT_NAME_POINTS = 172,
    IDS_UNIT_NAME_PICAS = 173,
    IDS_UNIT_NAME_INCHES = 174,
    IDS_UNIT_NAME_MILLIMETRES = 175,
    IDS_UNIT_NAME_CENTIMETRES = 176,
    IDS_UNIT_POINTS = 177,
    IDS_UNIT_PICAS = 178,
    IDS_UNIT_INCHES = 179,
    IDS_UNIT_MILLIMETRES = 180,
    IDS_UNIT_CENTIMETRES = 181,
    IDS_PRODUCT_NAME = 182,
    IDS_VERSION = 183,
    IDS_COLUMN_COLOR = 184,
    IDS_COLUMN_FILENAME = 185,
    IDS_CAPTION_PREFIX = 187,
    IDS_INVALID_PREVIEW_FILES = 189,
    IDS_COLUMN_EXPLANATION = 190,
    IDS_MEASURE_DISTANCE = 191,
    IDS_MEASURE_DELTA = 192,
    IDS_MEASURE_CURRENT = 193,
    IDS_DEFAULT_COLOR = 194,
    IDS_COLOR_PICKER = 195,
    IDS_SHOW_DETAILS = 196,
    IDS_NAVIGATION = 197,
    IDS_SEPARATIONS = 198,
    IDS_MEASUREMENT = 199,
    IDS_PREFERENCES = 200,
    IDS_HELP_UNAVAILABLE = 201,
    IDS_HELP_MISSING_FORMAT = 202,
    IDS_PATENT_NOTICE = 205,
    IDS_TIFF_CREDITS = 206,
    IDS_MAKER_TRADEMARK = 208,
    IDS_PANTONE_TRADEMARK = 209,
    IDS_OTHER_TRADEMARKS = 211,

    // Texts of the start-up messages, kept in the table so that language modules translate
    // them with everything else.
    IDS_OS_TITLE = 1001,
    IDS_OS_TEXT = 1002,
    IDS_OS_SECOND = 1003,
    IDS_UNHANDLED_TITLE = 1004,
    IDS_UNHANDLED_GLIB = 1005,
    IDS_UNHANDLED_STD = 1006,
    IDS_UNHANDLED_OTHER = 1007,
    IDS_INVALID_TITLE = 1008,
    IDS_INVALID_ONE = 1009,
    IDS_INVALID_MANY = 1010,
    IDS_INVALID_ONE_DETAIL = 1011,
    IDS_INVALID_MANY_DETAIL = 1012,
    IDS_ABOUT_TITLE = 1013,
    IDS_HELP_WINDOW_TITLE = 1014,
    IDS_EMPTY_JOB = 1015,

    // Separations palette and custom colours.
    IDS_FRONT_SHORT = 163,
    IDS_BACK_SHORT = 165,
    IDS_CUSTOM_COLORS_NOT_SAVED = 1850,
    IDS_CUSTOM_COLORS_KEPT_FOR_RUN = 1851,
    IDS_EDIT_CUSTOM_COLORS_TITLE = 1852,
    IDS_EDIT_COLOR_BUTTON = 1853,
    IDS_DELETE_COLOR_BUTTON = 1854,
    // Ink coverage.
    IDS_COVERAGE_TOTAL = 2301,
    IDS_DENSITOMETER_READING = 2302,
    IDS_DENSITOMETER_TITLE = 2303,
    IDS_COVERAGE_INK = 2304,
    IDS_DENSITOMETER_POSITION = 2305,
    IDS_DENSITOMETER_CLEAR = 2306,
    IDS_INK_ZONES_TITLE = 2307,
    IDS_INK_ZONES_COUNT = 2308,
    IDS_INK_ZONES_WIDTH = 2309,
    IDS_INK_ZONES_EXPORT = 2310,
    IDS_INK_ZONES_COUNTING = 2311,
    IDS_INK_ZONES_ZONE = 2312,
    IDS_INK_ZONES_COVERAGE = 2313,
    IDS_INK_ZONES_WRITE_FAILED = 2314,
    IDS_INK_ZONES_CSV_FILTER = 2315,
    IDS_DENSITOMETER_OUTSIDE = 2316,
    IDS_INK_ZONES_FAILED = 2580,
    IDS_INK_LIMIT_AREA = 2317,
    IDS_ZONE_PRESETS = 2318,
    IDS_ZONE_PRESET_NAME = 2319,
    IDS_ZONE_PRESET_WIDTH = 2320,
    IDS_ZONE_PRESET_COUNT = 2321,
    IDS_ZONE_PRESET_ADD = 2322,
    IDS_ZONE_PRESET_REMOVE = 2323,
    IDS_ZONE_PRESET_GEOMETRY = 2324,
    IDS_VALUE_RANGE = 2325,
    IDS_INK_ZONES_OFFSET = 2326,
    IDS_INK_ZONES_PRESET = 2327,
    IDS_INK_ZONES_OTHER_PRESS = 2328,
    IDS_INK_ZONES_GEOMETRY = 2329,
    IDS_INK_ZONES_OFF_PLATE = 2340,
    IDS_INK_ZONES_NO_RESOLUTION = 2341,
    IDS_INK_ZONES_FILE_NAME = 2342,
    IDS_INK_LIMIT_UNREADABLE = 2343,
    IDS_INK_ZONES_SPAN_PLATE = 2344,
    // Progressive painting.
    IDS_PAINT_PROGRESS = 2330,
    // Comparing versions.
    IDS_COMPARE_TITLE = 2450,
    IDS_COMPARE_NO_PREVIEW_FILES = 2451,
    IDS_COMPARE_NO_SHEET = 2452,
    IDS_COMPARE_NO_SHEET_DETAIL = 2453,
    IDS_COMPARE_COUNTING = 2454,
    IDS_COMPARE_COUNTS = 2455,
    IDS_COMPARE_REGION = 2456,
    IDS_COMPARE_NO_DIFFERENCE = 2457,
    IDS_COMPARE_ONE_VERSION_ONLY = 2458,
    IDS_COMPARE_NOT_COMPARABLE = 2459,
    IDS_COMPARE_UNDECODABLE = 2460,
    IDS_COMPARE_ADDED_COLOR = 2461,
    IDS_COMPARE_REMOVED_COLOR = 2462,
    IDS_COMPARE_NO_PREVIEW_FILES_DETAIL = 2464,
    // Ink presetting (CIP3 PPF) export.
    IDS_PPF_EXPORT_TITLE = 2400,
    IDS_PPF_FILTER = 2401,
    IDS_PPF_PROGRESS = 2402,
    IDS_PPF_CANCEL = 2403,
    IDS_PPF_WRITTEN = 2404,
    IDS_PPF_CANCELLED = 2405,
    IDS_PPF_FAILED = 2406,
    IDS_PPF_UNREADABLE_TILES = 2407,
    IDS_PPF_MORE_TILES = 2408,
    // Job browser.
    IDS_BROWSER_STOP = 2500,
    IDS_BROWSER_FOLDER = 2501,
    IDS_BROWSER_STOPPED = 2502,
    // Saving the preferences.
    IDS_PREFERENCES_NOT_SAVED = 2550,
    IDS_PREFERENCES_KEPT_FOR_RUN = 2551,
    IDS_PREFERENCES_LOST_AT_QUIT = 2552,
    // Job browser.
    IDS_BROWSE_PROMPT = 151,
    IDS_SCANNING = 166,
    IDS_PROCESSED_FILES = 167,
    IDS_SIGNATURE = 168,
    IDS_SIGNATURES = 169,
    IDS_WEB = 170,
    IDS_WEBS = 171,
    IDS_COLUMN_ITEM = 188,
    IDS_COLUMN_PRINT_TIME = 204,
    IDS_FOLDER_UNREADABLE = 1016,
    // Preview files a shown sheet could not read.
    IDS_UNREADABLE_ONE = 2581,
    IDS_UNREADABLE_MANY = 2582,
    IDS_UNREADABLE_AGAIN = 2583,
    IDS_UNREADABLE_TITLE = 2584,
    IDS_ALL_PREVIEW_FILES_FILTER = 1150,
    IDS_ALL_FILES_FILTER = 1151,
};

// Picture resources.
enum WKRN_ResourceId : int
{
    // Job browser rows.
    IDI_IMPOSITION = 235,
    IDI_SIGNATURE = 237,
    IDI_SHEET = 234,
    IDI_SURFACE = 238,
    IDI_SEPARATION = 236,
    IDR_MAINFRAME = 128,
    IDB_SPLASH = 240,
    IDI_WORKSTYLE_OTHER = 220,
    IDI_WORKSTYLE_1 = 221,
    IDI_WORKSTYLE_2 = 222,
    IDI_WORKSTYLE_3 = 223,
    IDI_WORKSTYLE_4 = 224,
};

// Sent to a job window by its separations palette when a spot colour was stored in the custom
// colours.
inline constexpr int JOBMSG_CUSTOM_COLOUR_STORED = 0x8017;
