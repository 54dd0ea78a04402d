#pragma once
// The job browser's work without a display: listing a job folder, reading each preview file into
// an imposition registry, and the texts, print times, children and order of the browser's rows.
// The browser window and `krn browse` both go through it, so the tool prints what the window
// shows. Nothing here uses Qt.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class IMPN_Node;
class IMPN_Registry;

// The result of one scan of a folder.
struct IMPN_RegistryFolder
{
    std::string folder;                    // UTF-8 path
    std::vector<std::string> invalidFiles; // UTF-8 paths, in listing order
    std::vector<std::string> reasons;      // one per invalid file
    int invalidCount = 0;
    int validCount = 0;
    int total = 0;         // candidate files
    std::string listError; // why the folder could not be listed; empty when it was
    bool stopped = false;  // the scan was asked to stop before it read every candidate

    void Clear() { *this = IMPN_RegistryFolder(); }
};

class IMPN_RegistryScan
{
public:
    // Row kinds, which are also the positions of their icons.
    enum Kind : int
    {
        Imposition = 0,
        Signature = 1,
        Sheet = 2,
        Surface = 3,
        Separation = 4,
    };

    // The reason given for a file that opens but is not a preview file.
    static constexpr const char* MissingTagReason =
        "Required TIFF tag is either missing or invalid";
    static constexpr const char* NotRegularReason = "Not a regular file";

    // The words of the item column, translated by the caller.
    struct Words
    {
        std::wstring signature = L"Signature";
        std::wstring signatures = L"Signatures";
        std::wstring web = L"Web";
        std::wstring webs = L"Webs";
    };

    struct Child
    {
        Kind kind;
        IMPN_Node* node;
    };

    // Called after every file, valid or not, with the files done and the total.
    using Progress = std::function<void(int done, int total)>;

    // Whether a name is a candidate: not hidden, extension ".krn", ".prv" or ".tif" in any case.
    static bool IsCandidateName(std::string_view name);
    // The candidate files of a folder (not its subfolders), in case-insensitive name order (ties
    // broken byte by byte, so the order never depends on the file system). Directories are left
    // out; anything else that is a candidate by name is listed. The working directory is not
    // touched. Returns false with the system's text when the folder cannot be listed.
    static bool ListFolder(const std::string& folder, std::vector<std::string>& files,
                           std::string& error);
    // Reads one file: a valid preview file goes into the registry, anything else is recorded as
    // invalid with its reason. Only regular files are opened. Never throws for what a file holds.
    static bool AddFile(IMPN_Registry& registry, const std::string& path,
                        IMPN_RegistryFolder& record);
    // Clears registry and record, lists the folder and reads every candidate. False when the folder
    // cannot be listed or the scan fails on the way, whatever the failure (the record says why,
    // the registry stays empty); it never throws. A scan may run on a thread of its own with a
    // registry of its own: stop, when given and set (from any thread), ends it after the file
    // being read, with what was read so far and the record marked as stopped.
    static bool Scan(const std::string& folder, IMPN_Registry& registry,
                     IMPN_RegistryFolder& record, const Progress& progress = {},
                     const std::atomic<bool>* stop = nullptr);

    // The item column's text of a node.
    static std::wstring ItemText(Kind kind, const IMPN_Node& node, const Words& words);
    // The print time of a node in ticks of 100 ns since 1601; 0 when it has none or none can be
    // read. Surfaces and sheets average the times that can be read.
    static std::int64_t PrintTicks(Kind kind, const IMPN_Node& node);
    // "YYYY-MM-DD hh:mm:ss", or "----" for no time.
    static std::string FormatTicks(std::int64_t ticks);
    // The rows below a node, before sorting. Surfaces and separations only for the entire tree.
    static std::vector<Child> Children(Kind kind, IMPN_Node& node, bool entireTree);
    // Three-way order of two nodes of one kind by a column (0 item, 1 print time) in a direction
    // (1 ascending, -1 descending); other columns and directions compare equal.
    static int Compare(Kind kind, const IMPN_Node& a, const IMPN_Node& b, int column,
                       int direction);
    // Children in the browser's order: sorted by the item column, ascending, equal ones kept in
    // the order of the tree.
    static std::vector<Child> SortedChildren(Kind kind, IMPN_Node& node, bool entireTree);
};
