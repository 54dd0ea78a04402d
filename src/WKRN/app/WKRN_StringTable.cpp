#include "WKRN/app/WKRN_StringTable.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace
{
struct Source
{
    const char* text;
    const char* id;
};

struct Entry
{
    unsigned id;
    Source source;
};

// Texts of the string table. The disambiguation of each text is its id, so that equal English
// texts under different ids can be translated apart.
const Entry kEntries[] = {
    {129, QT_TRANSLATE_NOOP3("WKRN_StringTable", "CAPS", "129")},
    {130, QT_TRANSLATE_NOOP3("WKRN_StringTable", "X:XXX", "130")},
    {131, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Workstyle", "131")},
    {132, QT_TRANSLATE_NOOP3("WKRN_StringTable", "en", "132")},
    {136, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Copyright © Quor. All rights reserved.", "136")},
    {137, QT_TRANSLATE_NOOP3(
              "WKRN_StringTable",
              "The colours shown for PANTONE® names are approximations made on screen and "
              "may not match the PANTONE-identified standards in print. Consult current PANTONE "
              "colour publications for accurate colour.\nThe colour data supplied with this "
              "program are Quor's own approximate values. They are licensed for use with Quor "
              "Varnex only and may not be copied, extracted or distributed apart from it.",
              "137")},
    {140, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "One file was not added to this surface since it is not a valid "
                             "preview file.",
                             "140")},
    {142, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "This file is missing job information or it does not appear to be a "
                             "TIFF file.",
                             "142")},
    {143, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "%i files were not added to this surface since they are not valid "
                             "preview files.",
                             "143")},
    {145, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "These files are missing job information or they do not appear to "
                             "be TIFF files.",
                             "145")},
    {146, QT_TRANSLATE_NOOP3("WKRN_StringTable", ": Signature %i Web %i", "146")},
    {147, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Add Separation Files", "147")},
    {148, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Open Separation Files", "148")},
    {162, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Front Surface", "162")},
    {164, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Back Surface", "164")},
    {172, QT_TRANSLATE_NOOP3("WKRN_StringTable", "points", "172")},
    {173, QT_TRANSLATE_NOOP3("WKRN_StringTable", "picas", "173")},
    {174, QT_TRANSLATE_NOOP3("WKRN_StringTable", "inches", "174")},
    {175, QT_TRANSLATE_NOOP3("WKRN_StringTable", "millimetres", "175")},
    {176, QT_TRANSLATE_NOOP3("WKRN_StringTable", "centimetres", "176")},
    {177, QT_TRANSLATE_NOOP3("WKRN_StringTable", "pt", "177")},
    {178, QT_TRANSLATE_NOOP3("WKRN_StringTable", "p", "178")},
    {179, QT_TRANSLATE_NOOP3("WKRN_StringTable", "in", "179")},
    {180, QT_TRANSLATE_NOOP3("WKRN_StringTable", "mm", "180")},
    {181, QT_TRANSLATE_NOOP3("WKRN_StringTable", "cm", "181")},
    {182, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Quor Varnex", "182")},
    {183, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Version 2.0.3", "183")},
    {184, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Color", "184")},
    {185, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Filename", "185")},
    {187, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Quor KRN - ", "187")},
    {189, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Invalid Preview Files Encountered", "189")},
    {190, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Explanation", "190")},
    {191, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Distance | Angle :", "191")},
    {192, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Delta ( h, v ) :", "192")},
    {193, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Current ( h, v ) :", "193")},
    {194, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Default Color", "194")},
    {195, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Color Picker...", "195")},
    {196,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "Would you like to see detailed information?", "196")},
    {197, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Navigation", "197")},
    {198, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Separations", "198")},
    {199, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Measurement", "199")},
    {200, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Preferences", "200")},
    {201, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Help Unavailable", "201")},
    {202,
     QT_TRANSLATE_NOOP3(
         "WKRN_StringTable",
         "Sorry, help is unavailable since the help file named \"%s\" cannot be found.", "202")},
    {205, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "Quor Varnex is protected by one or more patents, issued or pending.",
                             "205")},
    {206,
     QT_TRANSLATE_NOOP3(
         "WKRN_StringTable",
         "Portions of this program use the TIFF library (LibTIFF).\n"
         "Copyright (c) 1988-1997 Sam Leffler\n"
         "Copyright (c) 1991-1997 Silicon Graphics, Inc.\n\n"
         "Permission to use, copy, modify, distribute, and sell this software and its "
         "documentation for any purpose is hereby granted without fee, provided that (i) the above "
         "copyright notices and this permission notice appear in all copies of the software and "
         "related documentation, and (ii) the names of Sam Leffler and Silicon Graphics may not be "
         "used in any advertising or publicity relating to the software without the specific, "
         "prior written permission of Sam Leffler and Silicon Graphics.\n\n"
         "THE SOFTWARE IS PROVIDED \"AS-IS\" AND WITHOUT WARRANTY OF ANY KIND, EXPRESS, IMPLIED OR "
         "OTHERWISE, INCLUDING WITHOUT LIMITATION, ANY WARRANTY OF MERCHANTABILITY OR FITNESS FOR "
         "A PARTICULAR PURPOSE.\n\n"
         "IN NO EVENT SHALL SAM LEFFLER OR SILICON GRAPHICS BE LIABLE FOR ANY SPECIAL, INCIDENTAL, "
         "INDIRECT OR CONSEQUENTIAL DAMAGES OF ANY KIND, OR ANY DAMAGES WHATSOEVER RESULTING FROM "
         "LOSS OF USE, DATA OR PROFITS, WHETHER OR NOT ADVISED OF THE POSSIBILITY OF DAMAGE, AND "
         "ON "
         "ANY THEORY OF LIABILITY, ARISING OUT OF OR IN CONNECTION WITH THE USE OR PERFORMANCE OF "
         "THIS SOFTWARE.\n\n"
         "The user interface uses the Qt toolkit under the GNU Lesser General Public License, "
         "version 3.",
         "206")},
    {208, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "Quor, Quor Varnex and Quor KRN are trademarks of Quor.", "208")},
    {209, QT_TRANSLATE_NOOP3(
              "WKRN_StringTable",
              "PANTONE® and other Pantone trademarks are the property of their owner.", "209")},
    {211, QT_TRANSLATE_NOOP3(
              "WKRN_StringTable",
              "All other product and company names are trademarks or registered trademarks "
              "of their respective owners.",
              "211")},

    // Start-up and application messages.
    {1001, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Incompatible OS Version", "1001")},
    {1002,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Sorry, Quor Varnex 2.0 requires Windows 2000 SP1 or later.", "1002")},
    {1003, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Please upgrade your operating system and restart this application.",
                              "1003")},
    {1004, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Unhandled exception caught in main", "1004")},
    {1005, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Caught a GLIB_Exception.", "1005")},
    {1006, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Caught a std::exception.", "1006")},
    {1007,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "An unidentified exception has been caught.", "1007")},
    {1008, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Invalid Preview Files Encountered", "1008")},
    {1009,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "One file in this folder was ignored since it is not a valid preview file.",
                        "1009")},
    {1010,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "%i files in this folder were ignored since they are not valid preview "
                        "files.",
                        "1010")},
    {1011,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "This file is missing job information or it does not appear to be a TIFF "
                        "file.",
                        "1011")},
    {1012,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "These files are missing job information or they do not appear to be TIFF "
                        "files.",
                        "1012")},
    {1013, QT_TRANSLATE_NOOP3("WKRN_StringTable", "About Quor KRN", "1013")},
    {1014, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Quor KRN Help", "1014")},
    {1015, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Quor KRN", "1015")},
    // File dialog filters beside the preview-file and TIFF ones.
    {1150, QT_TRANSLATE_NOOP3("WKRN_StringTable", "All Preview Files", "1150")},
    {1151, QT_TRANSLATE_NOOP3("WKRN_StringTable", "All Files", "1151")},

    // Separations palette and custom colours.
    {163, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Front", "163")},
    {165, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Back", "165")},
    {1850, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Custom Colors Not Saved", "1850")},
    {1851, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The custom colors could not be written to their file. They are "
                              "kept until Quor KRN is closed.",
                              "1851")},
    {1852, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Edit Custom Colors", "1852")},
    {1853, QT_TRANSLATE_NOOP3("WKRN_StringTable", "&Edit...", "1853")},
    {1854, QT_TRANSLATE_NOOP3("WKRN_StringTable", "&Delete", "1854")},
    // Job browser.
    {151, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                             "Select a folder containing the preview files you would like to view",
                             "151")},
    {166, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Scanning Directory…", "166")},
    {167, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Processed %i of %i Files", "167")},
    {168, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Signature", "168")},
    {169, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Signatures", "169")},
    {170, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Web", "170")},
    {171, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Webs", "171")},
    {188, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Item", "188")},
    {204, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Print Time", "204")},
    {1016, QT_TRANSLATE_NOOP3("WKRN_StringTable", "The folder cannot be read.", "1016")},
    // Preview files a shown sheet could not read.
    {2581, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "One preview file of this sheet could not be read, so its ink may be "
                              "missing from the picture.",
                              "2581")},
    {2582, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "%1 preview files of this sheet could not be read, so their inks may "
                              "be missing from the picture.",
                              "2582")},
    {2583, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Close the job and open the sheet again once the files can be read.",
                              "2583")},
    {2584, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Unreadable Preview Files", "2584")},

    // Commands: status-bar help, line feed, tooltip.
    {32771, QT_TRANSLATE_NOOP3(
                "WKRN_StringTable",
                "Open the preview files of a job in a job window\nOpen Preview Files", "32771")},
    {32772,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Add preview files to this job or remove files from it\nAdd Preview Files",
                        "32772")},
    {32773,
     QT_TRANSLATE_NOOP3(
         "WKRN_StringTable",
         "Browse a job folder and open impositions, signatures or sheets\nJob Browser", "32773")},
    {57602, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Close this job and keep an empty job window\nClose Job", "57602")},
    {57665, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Quit the application\nExit", "57665")},
    {57643, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Undo the last action\nUndo", "57643")},
    {57635, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Cut the selection and put it on the clipboard\nCut", "57635")},
    {57634, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Copy the selection and put it on the clipboard\nCopy", "57634")},
    {57637,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "Insert the clipboard contents\nPaste", "57637")},
    {32775,
     QT_TRANSLATE_NOOP3(
         "WKRN_StringTable",
         "Edit the colours kept for inks that no colour library knows\nCustom Colors", "32775")},
    {32776,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Change the colours, units and opening options of the viewer\nPreferences",
                        "32776")},
    {59392,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "Show or hide the toolbar\nToggle Toolbar", "59392")},
    {59393, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Show or hide the status bar\nToggle Status Bar",
                               "59393")},
    {32777, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at eight times its output size\nZoom 8:1", "32777")},
    {32778, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at four times its output size\nZoom 4:1", "32778")},
    {32792, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at twice its output size\nZoom 2:1", "32792")},
    {32793, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show one screen pixel for each output pixel\nZoom 1:1", "32793")},
    {32794, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at half its output size\nZoom 1:2", "32794")},
    {32795,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show the sheet at a quarter of its output size\nZoom 1:4", "32795")},
    {32796,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show the sheet at an eighth of its output size\nZoom 1:8", "32796")},
    {32797,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show the sheet at a sixteenth of its output size\nZoom 1:16", "32797")},
    {32798, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at 1/32 of its output size\nZoom 1:32", "32798")},
    {32799, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at 1/64 of its output size\nZoom 1:64", "32799")},
    {32800, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at 1/128 of its output size\nZoom 1:128", "32800")},
    {32801, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at 1/256 of its output size\nZoom 1:256", "32801")},
    {32802, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet at 1/512 of its output size\nZoom 1:512", "32802")},
    {32803, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Show the sheet one zoom level larger\nZoom In",
                               "32803")},
    {32804, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet one zoom level smaller\nZoom Out", "32804")},
    {32805, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the whole sheet in the window\nFit To Window", "32805")},
    {32806,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show or hide all imposition marks at once\nShow Imposition", "32806")},
    {32807,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show or hide the edge of the press sheet\nPress Sheet Edge", "32807")},
    {32808, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show or hide the bleed edges of the pages\nBleed Edge", "32808")},
    {32809, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show or hide the trimmed edges of the pages\nPage Edge", "32809")},
    {32810, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Show or hide the page numbers\nPage Numbers",
                               "32810")},
    {32811, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Display or hide source clip paths (if present)\nSource Clip Path",
                               "32811")},
    {32813, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Align the back surface with the front by the plates\nBackup Plates",
                               "32813")},
    {32814,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Align the back surface with the front by the press sheets\nBackup Press "
                        "Sheets",
                        "32814")},
    {32815, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Align the back surface with the front by the pages\nBackup Pages",
                               "32815")},
    {32816,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Turn the sheet over to show the other surface\nFlip Sheet", "32816")},
    {32817, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Make the surface facing you more opaque\nMore Opaque", "32817")},
    {32818,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Make the surface facing you less opaque to see the other surface\nLess "
                        "Opaque",
                        "32818")},
    {32819, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Drag the sheet to move it in the window\nPan Tool", "32819")},
    {32820, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Measure positions, distances and angles on the sheet\nMeasure Tool",
                               "32820")},
    {32821,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Click to zoom in, drag a rectangle to zoom to it\nZoom Tool", "32821")},
    {32822, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show or hide the navigation palette\nNavigation Palette", "32822")},
    {32823,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show or hide the separations palette\nSeparations Palette", "32823")},
    {32831,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Show or hide the measurement palette\nMeasurement Palette", "32831")},
    {32833, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Float the palettes along the left edge of the window\nFloat Left",
                               "32833")},
    {32835, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Float the palettes along the right edge of the window\nFloat Right",
                               "32835")},
    {32837,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Dock the palettes in a column on the left side\nDock Left", "32837")},
    {32840,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Dock the palettes in a column on the right side\nDock Right", "32840")},
    {57650,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Arrange the job windows so that they overlap\nCascade Windows", "57650")},
    {32861,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Arrange the job windows one above the other\nTile Horizontally", "32861")},
    {32862, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Arrange the job windows side by side\nTile Vertically", "32862")},
    {32867,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Close every job and keep one empty job window\nClose All Jobs", "32867")},
    {32876, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Open the Quor KRN user guide\nHelp", "32876")},
    {57664, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the program information, version number and copyright\nAbout",
                               "57664")},

    // Ink coverage.
    {33231, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Read the coverage of each ink and the total under the pointer; "
                               "click to keep the reading\nDensitometer",
                               "33231")},
    {33232, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Hatch the areas whose total ink coverage exceeds the ink "
                               "limit\nInk Limit",
                               "33232")},
    {33233, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the coverage of each ink per ink zone of the press\nInk Zones",
                               "33233")},
    {2301, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Total", "2301")},
    {2302, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Densitometer (%1 mm): %2", "2302")},
    {2303, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Densitometer Readings", "2303")},
    {2304, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink", "2304")},
    {2305, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Position", "2305")},
    {2306, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Clear", "2306")},
    {2307, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink Zones", "2307")},
    {2308, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Zones:", "2308")},
    {2309, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Zone width:", "2309")},
    {2310, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Export CSV...", "2310")},
    {2311, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Counting the ink zones...", "2311")},
    {2312, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Zone", "2312")},
    {2313, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Coverage (%)", "2313")},
    {2314, QT_TRANSLATE_NOOP3("WKRN_StringTable", "The file %1 could not be written.", "2314")},
    {2315, QT_TRANSLATE_NOOP3("WKRN_StringTable", "CSV files (*.csv *.CSV)", "2315")},
    {2580,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "The ink zones could not be counted: %1", "2580")},
    {2316, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Densitometer: outside the picture", "2316")},
    {2317, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink limit area", "2317")},
    {2318, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink zone presets", "2318")},
    {2319, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Name", "2319")},
    {2320, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Zone width (mm)", "2320")},
    {2321, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Zones", "2321")},
    {2322, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Add", "2322")},
    {2323, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Remove", "2323")},
    {2324, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 x %2 mm", "2324")},
    {2325, QT_TRANSLATE_NOOP3("WKRN_StringTable", "From %1 to %2", "2325")},
    {2326, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Sheet centre offset:", "2326")},
    {2327, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Press:", "2327")},
    {2328, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Other press", "2328")},
    {2329, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "%1 zones of %2 mm (%3 mm), the sheet's centre %4 mm from the "
                              "press's centre: the plate (%5 mm) lies in zones %6 to %7.",
                              "2329")},
    {2340, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "%1 zones of %2 mm (%3 mm), the sheet's centre %4 mm from the "
                              "press's centre: no zone meets the plate (%5 mm).",
                              "2340")},
    {2341, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The picture has no resolution: zones in millimetres cannot be "
                              "placed on it.",
                              "2341")},
    {2342, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 signature %2 web %3 %4 ink zones", "2342")},
    {2343, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Ink limit: %1 tiles could not be read and count as no ink", "2343")},
    {2344, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Span the plate", "2344")},
    // Progressive painting.
    {2330, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Drawing: %1 of %2 tiles", "2330")},

    // Comparing versions.
    {33240, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Compare the sheet with another version of the job: what changed "
                               "shows in colour, the rest faded\nCompare With",
                               "33240")},
    {33241,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "Centre the view on the next changed region\nNext Difference", "33241")},
    {33242, QT_TRANSLATE_NOOP3(
                "WKRN_StringTable",
                "Centre the view on the previous changed region\nPrevious Difference", "33242")},
    {33243, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Show the sheet itself again, without the comparison\nCompare Off",
                               "33243")},
    {2450, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Compare With", "2450")},
    {2451,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "None of the chosen files is a preview file.", "2451")},
    {2452, QT_TRANSLATE_NOOP3("WKRN_StringTable", "The other version has no sheet %1.", "2452")},
    {2453, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Sheets are matched by job title, signature and web.", "2453")},
    {2454,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "Comparing: %1 of %2 separations counted", "2454")},
    {2455, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 pixels added, %2 removed, %3 changed regions",
                              "2455")},
    {2456, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Region %1 of %2", "2456")},
    {2457, QT_TRANSLATE_NOOP3("WKRN_StringTable", "No difference to the other version", "2457")},
    {2458, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 inks in one version only", "2458")},
    {2459, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 inks not comparable", "2459")},
    {2460, QT_TRANSLATE_NOOP3("WKRN_StringTable", "%1 tiles could not be decoded", "2460")},
    {2461, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Added Pixels", "2461")},
    {2462, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Removed Pixels", "2462")},
    {2464, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Choose the preview files of the other version of the job.", "2464")},
    // Job browser.
    {2500, QT_TRANSLATE_NOOP3("WKRN_StringTable", "&Stop", "2500")},
    {2501, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Folder: %1", "2501")},
    {2502, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Stopped after %1 of %2 files", "2502")},
    // Ink presetting (CIP3 PPF) export.
    {33236, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                               "Write the shown sheet as an ink presetting file for the press "
                               "(CIP3 PPF)\nExport Ink Presetting",
                               "33236")},
    {2400, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Export Ink Presetting", "2400")},
    {2401, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink presetting files (*.ppf *.PPF)", "2401")},
    {2402,
     QT_TRANSLATE_NOOP3("WKRN_StringTable", "Writing the ink presetting file %1: %2 %", "2402")},
    {2403, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Cancel", "2403")},
    {2404, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Ink presetting file written: %1", "2404")},
    {2405, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "Ink presetting export cancelled; nothing was written", "2405")},
    {2406, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The ink presetting file %1 could not be written.", "2406")},
    {2407, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The ink presetting file %1 was written, but %2 source tiles could "
                              "not be read and count as no ink:",
                              "2407")},
    {2408, QT_TRANSLATE_NOOP3("WKRN_StringTable", "... and %1 more", "2408")},
    // Saving the preferences.
    {2550, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Preferences Not Saved", "2550")},
    {2551, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The preferences could not be written to their file, which keeps "
                              "its earlier contents. The changes stay in effect until Quor KRN is "
                              "closed.",
                              "2551")},
    {2552, QT_TRANSLATE_NOOP3("WKRN_StringTable",
                              "The preferences could not be written to their file, which keeps "
                              "its earlier contents. The changes made since Quor KRN was started "
                              "are lost.",
                              "2552")},
};

const Entry* Find(unsigned id)
{
    const auto it = std::find_if(std::begin(kEntries), std::end(kEntries),
                                 [id](const Entry& entry) { return entry.id == id; });
    return it == std::end(kEntries) ? nullptr : &*it;
}

QString Half(const QString& text, bool second)
{
    const qsizetype feed = text.indexOf(QLatin1Char('\n'));
    if (feed < 0)
        return second ? QString() : text;
    return second ? text.mid(feed + 1) : text.left(feed);
}
} // namespace

QString WKRN_StringTable::Load(unsigned id)
{
    const Entry* entry = Find(id);
    if (entry == nullptr)
        return {};
    return QCoreApplication::translate(kContext, entry->source.text, entry->source.id);
}

QString WKRN_StringTable::English(unsigned id)
{
    const Entry* entry = Find(id);
    return entry == nullptr ? QString() : QString::fromUtf8(entry->source.text);
}

bool WKRN_StringTable::Contains(unsigned id)
{
    return Find(id) != nullptr;
}

std::vector<unsigned> WKRN_StringTable::Ids()
{
    std::vector<unsigned> ids;
    for (const Entry& entry : kEntries)
        ids.push_back(entry.id);
    return ids;
}

QString WKRN_StringTable::CommandHelp(unsigned commandId)
{
    return Half(Load(commandId), false);
}

QString WKRN_StringTable::CommandTooltip(unsigned commandId)
{
    return Half(Load(commandId), true);
}
