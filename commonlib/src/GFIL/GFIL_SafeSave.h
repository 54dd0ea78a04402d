#pragma once
// Replacing a small file so that a crash, a kill or a full disk at any moment leaves either the
// old file or the new one, never a cut-off one: the new content goes to a temporary file beside
// the target, is flushed to disk, takes the old file's permissions and is renamed over the
// target; then the folder itself is flushed so that the rename survives a power cut. A symbolic
// link is kept: the file it points to is replaced; a link that cannot be followed to the end (a
// loop) is refused rather than replaced by a file of its own.
//
// A save holds an advisory lock (flock) on its temporary from its creation to the rename, so that
// whether a temporary is still being written is told by the lock, not by a process number: a
// number says nothing about a process of another machine sharing the folder over NFS, nor of one
// in a sandbox with process numbers of its own. Temporaries that a killed save left behind (whose
// lock can be taken) are removed by the next save of the same file.
//
// Paths are native (bytes on this platform). Failures throw std::system_error with the caller's
// text and the system's reason; the old file is then left as it was and no temporary remains.

#include <cstddef>
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
    // The same with content that is ready in memory.
    static void ReplaceWith(const std::string& target, const void* bytes, std::size_t size,
                            const std::string& failureText);

    // The file a save of `path` replaces: symbolic links followed (relative ones against their
    // own folder); the path itself when it is no link or the chain cannot be followed.
    static std::string ResolveTarget(const std::string& path);

    // Removes temporaries of `target` left by saves that ended without finishing; returns how
    // many were removed. Only a regular file of this user whose name is exactly one a save makes
    // ("<target>.tmp-<process>-<serial>", both plain decimal numbers) and whose lock can be taken
    // is removed: a folder shared with others may hold their files under similar names.
    static int RemoveStaleTemporaries(const std::string& target);

    // The name prefix of the temporaries of `target` ("<target>.tmp-").
    static std::string TemporaryPrefix(const std::string& target);

    // Whether `name` (without folder) is exactly the name of a temporary of a file whose
    // temporaries start with `prefix` (without folder).
    static bool IsTemporaryName(const std::string& name, const std::string& prefix);
};
