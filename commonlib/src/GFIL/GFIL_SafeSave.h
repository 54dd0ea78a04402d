#pragma once
// Replacing a small file so that a crash, a kill or a full disk at any moment leaves either the
// old file or the new one, never a cut-off one: the new content goes to a temporary file beside
// the target, is flushed to disk, takes the old file's permissions and is renamed over the
// target; then the folder itself is flushed so that the rename survives a power cut. A symbolic
// link is kept: the file it points to is replaced. Temporaries that a killed save left behind
// are removed by the next save of the same file.
//
// Paths are native (bytes on this platform). Failures throw std::system_error with the caller's
// text and the system's reason; the old file is then left as it was and no temporary remains.

#include <functional>
#include <string>

class GFIL_SafeSave
{
public:
    // Writes the new content into the open descriptor of the temporary file (or to its path, for
    // writers that open files themselves); returns false, with errno set, when it failed.
    using Writer = std::function<bool(int fd, const std::string& temporaryPath)>;

    // Replaces `target` with what `write` produced; `failureText` starts the exception's text.
    static void Replace(const std::string& target, const Writer& write,
                        const std::string& failureText);

    // The file a save of `path` replaces: symbolic links followed (relative ones against their
    // own folder); the path itself when it is no link or the chain cannot be followed.
    static std::string ResolveTarget(const std::string& path);

    // Removes temporaries of `target` left by saves whose process no longer runs; returns how
    // many were removed.
    static int RemoveStaleTemporaries(const std::string& target);

    // The name prefix of the temporaries of `target` ("<target>.tmp-").
    static std::string TemporaryPrefix(const std::string& target);
};
