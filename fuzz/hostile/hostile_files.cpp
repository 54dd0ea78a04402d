// Runs mutated and crafted preview files through `krn info`, `render` (front at 1:64, back at
// 1:8), `thumbnail`, `coverage`, `dump` and `compare` (with the file it was made from) and checks
// that each is rejected or shown at bounded cost: no crash, no hang, peak resident memory under
// 256 MiB above krn's idle size and under two seconds of processor time per run.
//
// The mutations start from the files of `krn sample` jobs: truncations, changed bytes, entry
// counts and values (offsets) overwritten in every directory (the embedded private one too),
// tile offsets and byte counts overwritten, and large declared image and tile sizes. They are
// made from a seed, so a failure names a file that the same seed makes again.
//
// The crafted files are made from one sample file every run: images stretched to extreme declared
// sizes whose millions of tiles all share the bytes of the first tile (each a few kilobytes to
// 33 MB), and private directories with no entries or lying in the file header or in directory 0.
// `krn info` must also call each of them valid or not, as it is.
//
// usage: hostile_files KRN WORK_FOLDER [--count N] [--seed S] [--keep]
//   --count 0 runs every mutation of every sample file (a developer's run; several thousand).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr long kMemoryAimKiB = 256 * 1024;
constexpr double kTimeAimSeconds = 2.0;
constexpr int kHangSeconds = 20;

using Bytes = std::vector<std::uint8_t>;

struct RunResult
{
    bool signalled = false;
    int signal = 0;
    int exitCode = 0;
    bool hung = false;
    long maxRssKiB = 0;
    double cpuSeconds = 0;
};

// Runs the command with its output thrown away; peak memory and processor time from wait4.
RunResult Run(const std::vector<std::string>& argv)
{
    RunResult result;
    const pid_t child = ::fork();
    if (child == 0)
    {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
        {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    rusage usage{};
    for (;;)
    {
        const pid_t done = ::wait4(child, &status, WNOHANG, &usage);
        if (done == child)
            break;
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(kHangSeconds))
        {
            result.hung = true;
            ::kill(child, SIGKILL);
            ::wait4(child, &status, 0, &usage);
            break;
        }
        ::usleep(2000);
    }
    result.maxRssKiB = usage.ru_maxrss;
    result.cpuSeconds = double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6 +
                        double(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
    if (!result.hung && WIFSIGNALED(status))
    {
        result.signalled = true;
        result.signal = WTERMSIG(status);
    }
    else if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Reads and writes classic TIFF integers in the file's byte order, never past the end.
struct Tiff
{
    Bytes& b;
    bool big;

    bool Has(std::uint64_t at, int n) const { return at + std::uint64_t(n) <= b.size(); }
    std::uint32_t Get(std::uint64_t at, int n) const
    {
        std::uint32_t v = 0;
        if (!Has(at, n))
            return 0;
        for (int i = 0; i < n; ++i)
            v |= std::uint32_t(b[at + i]) << (8 * (big ? n - 1 - i : i));
        return v;
    }
    void Put(std::uint64_t at, int n, std::uint32_t v)
    {
        if (!Has(at, n))
            return;
        for (int i = 0; i < n; ++i)
            b[at + i] = std::uint8_t(v >> (8 * (big ? n - 1 - i : i)));
    }
};

struct EntryRef
{
    std::uint64_t directory; // file offset of the entry's directory (its 16-bit count)
    std::uint64_t at;        // file offset of the 12-byte entry
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
};

int TypeSize(std::uint16_t type)
{
    switch (type)
    {
    case 3:
    case 8:
        return 2;
    case 4:
    case 9:
    case 11:
        return 4;
    case 5:
    case 10:
    case 12:
        return 8;
    default:
        return 1;
    }
}

// Every entry of every image directory and of the embedded private directories (tag 34756).
std::vector<EntryRef> Entries(Tiff& t)
{
    std::vector<EntryRef> entries;
    std::vector<std::uint64_t> directories;
    std::uint64_t ifd = t.Get(4, 4);
    for (int d = 0; d < 8 && ifd != 0 && t.Has(ifd, 2); ++d)
    {
        directories.push_back(ifd);
        ifd = t.Get(ifd + 2 + 12 * std::uint64_t(t.Get(ifd, 2)), 4);
    }
    for (std::size_t i = 0; i < directories.size(); ++i)
    {
        const std::uint64_t at = directories[i];
        const std::uint32_t n = t.Get(at, 2);
        for (std::uint32_t k = 0; k < n && t.Has(at + 2 + 12 * k, 12); ++k)
        {
            const std::uint64_t e = at + 2 + 12 * std::uint64_t(k);
            EntryRef ref{at, e, std::uint16_t(t.Get(e, 2)), std::uint16_t(t.Get(e + 2, 2)),
                         t.Get(e + 4, 4)};
            entries.push_back(ref);
            // The embedded directory's own entries lie at the value offset of this entry.
            if (ref.tag == 34756 && ref.count > 4 && i < 8)
                directories.push_back(t.Get(e + 8, 4));
        }
    }
    return entries;
}

const std::uint32_t kHostileValues[] = {0,          1,          2,          0x7F,     0xFF,
                                        0xFFFF,     0x10000,    58483,      16777216, 0x7FFFFFFF,
                                        0x80000000, 0xFFFFFFF0, 0xFFFFFFFF, 512 * 9,  65535 * 512};

std::uint32_t HostileValue(std::mt19937& rng, std::uint32_t fileSize)
{
    std::uniform_int_distribution<int> pick(0, int(std::size(kHostileValues)) + 2);
    const int i = pick(rng);
    if (i < int(std::size(kHostileValues)))
        return kHostileValues[i];
    if (i == int(std::size(kHostileValues)))
        return fileSize - std::min<std::uint32_t>(fileSize, rng() % 16);
    return rng();
}

const char* const kKinds[] = {"truncated",   "bytes",        "entry-count",
                              "entry-value", "tile-offsets", "large-size"};

// One mutation of `source` of the given kind; false when the file offers nothing to mutate.
bool Mutate(const Bytes& source, int kind, std::mt19937& rng, Bytes& out)
{
    out = source;
    if (out.size() < 16)
        return false;
    Tiff t{out, out[0] == 'M'};
    const auto size = std::uint32_t(out.size());
    switch (kind)
    {
    case 0: // truncated: anywhere, often close to either end
    {
        const std::uint32_t cut = rng() % 3 == 0 ? rng() % 512 : rng() % size;
        out.resize(std::min(cut, size - 1));
        return true;
    }
    case 1: // a few bytes changed, runs of them sometimes
        for (int n = 1 + int(rng() % 8); n > 0; --n)
        {
            const std::uint32_t at = rng() % size;
            const std::uint32_t run = rng() % 4 == 0 ? 1 + rng() % 16 : 1;
            for (std::uint32_t k = 0; k < run && at + k < size; ++k)
                out[at + k] = std::uint8_t(rng());
        }
        return true;
    case 2: // the count of an entry, or of a directory
    case 3: // the value or offset of an entry
    {
        const std::vector<EntryRef> entries = Entries(t);
        if (entries.empty())
            return false;
        const EntryRef& e = entries[rng() % entries.size()];
        if (kind == 2)
        {
            if (rng() % 5 == 0)
                t.Put(e.directory, 2, HostileValue(rng, size) & 0xFFFF);
            else
                t.Put(e.at + 4, 4, HostileValue(rng, size));
        }
        else
            t.Put(e.at + 8, 4, HostileValue(rng, size));
        return true;
    }
    case 4: // tile offsets (324) and byte counts (325), in their out-of-line arrays
    {
        std::vector<EntryRef> tiles;
        for (const EntryRef& e : Entries(t))
            if (e.tag == 324 || e.tag == 325)
                tiles.push_back(e);
        if (tiles.empty())
            return false;
        const EntryRef& e = tiles[rng() % tiles.size()];
        const int width = TypeSize(e.type);
        const bool inline_ = std::uint64_t(width) * e.count <= 4;
        const std::uint64_t base = inline_ ? e.at + 8 : t.Get(e.at + 8, 4);
        for (int n = 1 + int(rng() % 4); n > 0; --n)
        {
            const std::uint64_t at = base + std::uint64_t(width) * (rng() % std::max(1u, e.count));
            t.Put(at, std::min(width, 4), HostileValue(rng, size));
        }
        return true;
    }
    default: // large declared sizes: image and tile dimensions
    {
        std::vector<EntryRef> sizes;
        for (const EntryRef& e : Entries(t))
            if (e.tag == 256 || e.tag == 257 || e.tag == 322 || e.tag == 323)
                sizes.push_back(e);
        if (sizes.empty())
            return false;
        const EntryRef& e = sizes[rng() % sizes.size()];
        t.Put(e.at + 2, 2, 4); // LONG, so that any 32-bit value fits
        t.Put(e.at + 4, 4, 1);
        t.Put(e.at + 8, 4, HostileValue(rng, size));
        return true;
    }
    }
}

// The file offset of image directory d, or 0.
std::uint64_t DirectoryAt(const Tiff& t, int d)
{
    std::uint64_t ifd = t.Get(4, 4);
    for (int i = 0; i < d && ifd != 0 && t.Has(ifd, 2); ++i)
        ifd = t.Get(ifd + 2 + 12 * std::uint64_t(t.Get(ifd, 2)), 4);
    return ifd;
}

// The file offset of the entry of `tag` in the directory at `ifd`, or 0.
std::uint64_t EntryOf(const Tiff& t, std::uint64_t ifd, std::uint16_t tag)
{
    for (std::uint32_t k = 0, n = t.Get(ifd, 2); k < n && t.Has(ifd + 2 + 12 * k, 12); ++k)
        if (t.Get(ifd + 2 + 12 * std::uint64_t(k), 2) == tag)
            return ifd + 2 + 12 * std::uint64_t(k);
    return 0;
}

// The first value of an entry, inline or out of line.
std::uint32_t FirstValue(const Tiff& t, std::uint64_t entry)
{
    const int width = TypeSize(std::uint16_t(t.Get(entry + 2, 2)));
    const std::uint32_t count = t.Get(entry + 4, 4);
    const std::uint64_t at = std::uint64_t(width) * count <= 4 ? entry + 8 : t.Get(entry + 8, 4);
    return t.Get(at, std::min(width, 4));
}

// Makes directory d of the file width x length pixels in 512 x 512 tiles, every tile pointing
// at the bytes of its first tile (the new offset and byte-count arrays are added at the end).
bool Stretch(Bytes& b, int d, std::uint32_t width, std::uint32_t length)
{
    Tiff t{b, b[0] == 'M'};
    const std::uint64_t ifd = DirectoryAt(t, d);
    const std::uint64_t sizes[2] = {EntryOf(t, ifd, 256), EntryOf(t, ifd, 257)};
    const std::uint64_t arrays[2] = {EntryOf(t, ifd, 324), EntryOf(t, ifd, 325)};
    if (ifd == 0 || !sizes[0] || !sizes[1] || !arrays[0] || !arrays[1])
        return false;
    const std::uint64_t tiles =
        ((std::uint64_t(width) + 511) / 512) * ((std::uint64_t(length) + 511) / 512);
    if (tiles < 2 || tiles > 0x10000000)
        return false;
    const std::uint32_t values[2] = {width, length};
    for (int i = 0; i < 2; ++i)
    {
        t.Put(sizes[i] + 2, 2, 4);
        t.Put(sizes[i] + 4, 4, 1);
        t.Put(sizes[i] + 8, 4, values[i]);
    }
    for (const std::uint64_t entry : arrays)
    {
        const std::uint32_t first = FirstValue(t, entry);
        b.resize((b.size() + 3) / 4 * 4);
        const std::uint64_t at = b.size();
        b.resize(at + 4 * tiles);
        for (std::uint64_t i = 0; i < tiles; ++i)
            t.Put(at + 4 * i, 4, first);
        t.Put(entry + 2, 2, 4);
        t.Put(entry + 4, 4, std::uint32_t(tiles));
        t.Put(entry + 8, 4, std::uint32_t(at));
    }
    return true;
}

struct Crafted
{
    const char* name;
    bool valid; // what krn info must say of it
    std::function<bool(Bytes&)> make;
};

// The crafted cases, made from one valid sample file of one surface.
std::vector<Crafted> CraftedCases()
{
    const auto moveQuorIFD = [](Bytes& b, bool toHeader)
    {
        Tiff t{b, b[0] == 'M'};
        const std::uint64_t ifd = DirectoryAt(t, 0);
        const std::uint64_t entry = EntryOf(t, ifd, 34756);
        if (!entry)
            return false;
        t.Put(entry + 8, 4, toHeader ? 0 : std::uint32_t(ifd));
        return true;
    };
    return {
        {"shared-1048576-wide", true,
         [](Bytes& b) { return Stretch(b, 0, 1048576, 512) && Stretch(b, 1, 131072, 64); }},
        {"shared-1048576-tall", true,
         [](Bytes& b) { return Stretch(b, 0, 512, 1048576) && Stretch(b, 1, 64, 131072); }},
        {"shared-11000-square-both-images", true,
         [](Bytes& b) { return Stretch(b, 0, 11000, 11000) && Stretch(b, 1, 11000, 11000); }},
        {"shared-2147483647-wide", false, [](Bytes& b) { return Stretch(b, 0, 2147483647, 512); }},
        {"shared-1048577-wide", false, [](Bytes& b) { return Stretch(b, 0, 1048577, 512); }},
        {"private-directory-without-entries", false,
         [](Bytes& b)
         {
             Tiff t{b, b[0] == 'M'};
             const std::uint64_t entry = EntryOf(t, DirectoryAt(t, 0), 34756);
             if (!entry || t.Get(entry + 4, 4) <= 4)
                 return false;
             t.Put(t.Get(entry + 8, 4), 2, 0);
             return true;
         }},
        {"private-directory-at-the-header", false,
         [moveQuorIFD](Bytes& b) { return moveQuorIFD(b, true); }},
        {"private-directory-at-directory-0", false,
         [moveQuorIFD](Bytes& b) { return moveQuorIFD(b, false); }},
    };
}

int Usage()
{
    std::cerr << "usage: hostile_files KRN WORK_FOLDER [--count N] [--seed S] [--keep]\n";
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string krn = fs::absolute(argv[1]).string();
    const fs::path work = argv[2];
    long count = 300;
    unsigned seed = 17;
    bool keep = false;
    for (int i = 3; i < argc; ++i)
    {
        const std::string a = argv[i];
        if (a == "--count" && i + 1 < argc)
            count = std::stol(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = unsigned(std::stoul(argv[++i]));
        else if (a == "--keep")
            keep = true;
        else
            return Usage();
    }

    fs::remove_all(work);
    fs::create_directories(work / "mutants");
    std::vector<fs::path> sources;
    for (const char* preset : {"brochure", "workturn", "single"})
    {
        const fs::path job = work / "sample" / preset;
        const RunResult r = Run({krn, "sample", "--out", job.string(), "--preset", preset, "--dpi",
                                 "72", "--seed", std::to_string(seed)});
        if (r.signalled || r.exitCode != 0)
        {
            std::cerr << "hostile_files: krn sample --preset " << preset << " failed\n";
            return 1;
        }
        for (const auto& entry : fs::directory_iterator(job))
            if (entry.path().extension() == ".tif")
                sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    if (sources.empty())
        return 1;

    // What krn holds before it reads anything.
    const long idleKiB = Run({krn, "info", "--help"}).maxRssKiB;
    const long limitKiB = idleKiB + kMemoryAimKiB;

    const fs::path out = work / "out.ppm";
    long failures = 0, runs = 0, files = 0;
    long worstKiB = 0;
    double worstSeconds = 0;
    std::string worstMemoryFile, worstTimeFile;
    // Runs every command on the file, compare against the file it was made from; false when one
    // failed. `validity`: what info must exit with.
    const auto check = [&](const fs::path& file, const fs::path& source, int validity)
    {
        bool fileFailed = false;
        const std::vector<std::vector<std::string>> commands = {
            {krn, "info", file.string()},
            {krn, "render", file.string(), "--level", "9", "--out", out.string()},
            {krn, "render", file.string(), "--surface", "back", "--level", "6", "--out",
             out.string()},
            {krn, "thumbnail", file.string(), "--out", out.string()},
            {krn, "compare", source.string(), file.string(), "--regions"},
            {krn, "coverage", file.string(), "--zones", "32"},
            {krn, "dump", file.string()},
        };
        for (const auto& command : commands)
        {
            const RunResult r = Run(command);
            ++runs;
            std::string problem;
            if (r.hung)
                problem = "did not end within " + std::to_string(kHangSeconds) + " s";
            else if (r.signalled)
                problem = "ended by signal " + std::to_string(r.signal);
            else if (r.maxRssKiB > limitKiB)
                problem = "peak memory " + std::to_string((r.maxRssKiB - idleKiB) / 1024) +
                          " MiB above idle";
            else if (r.cpuSeconds > kTimeAimSeconds)
                problem = "took " + std::to_string(r.cpuSeconds) + " s";
            else if (command[1] == "info" && validity >= 0 && r.exitCode != (validity ? 0 : 1))
                problem = std::string("exited ") + std::to_string(r.exitCode) + ": the file is " +
                          (validity ? "valid" : "not valid");
            if (r.maxRssKiB - idleKiB > worstKiB)
            {
                worstKiB = r.maxRssKiB - idleKiB;
                worstMemoryFile = file.filename().string() + " (" + command[1] + ")";
            }
            if (r.cpuSeconds > worstSeconds)
            {
                worstSeconds = r.cpuSeconds;
                worstTimeFile = file.filename().string() + " (" + command[1] + ")";
            }
            if (!problem.empty())
            {
                std::cout << "FAIL " << file.string() << ": krn " << command[1] << " " << problem
                          << "\n";
                fileFailed = true;
            }
        }
        ++files;
        if (fileFailed)
            ++failures;
        else if (!keep)
            fs::remove(file);
    };

    // The crafted files, from the first file of the one-surface sample.
    fs::create_directories(work / "crafted");
    const auto oneSurface =
        std::find_if(sources.begin(), sources.end(),
                     [](const fs::path& f) { return f.parent_path().filename() == "single"; });
    if (oneSurface == sources.end())
        return 1;
    const Bytes single = ReadFile(*oneSurface);
    for (const Crafted& c : CraftedCases())
    {
        Bytes bytes = single;
        if (!c.make(bytes))
        {
            std::cout << "FAIL crafted " << c.name
                      << ": the sample file has not the layout it needs\n";
            ++failures;
            continue;
        }
        const fs::path file = work / "crafted" / (std::string(c.name) + ".tif");
        WriteFile(file, bytes);
        check(file, *oneSurface, c.valid ? 1 : 0);
    }

    const int kindCount = int(std::size(kKinds));
    // Every source file with every kind, 60 mutations each, when the whole set is asked for.
    const long total = count > 0 ? count : long(sources.size()) * kindCount * 60;
    std::mt19937 rng(seed);
    for (long i = 0; i < total; ++i)
    {
        const fs::path& source = sources[std::size_t(i) % sources.size()];
        const int kind = int((i / long(sources.size())) % kindCount);
        Bytes mutant;
        if (!Mutate(ReadFile(source), kind, rng, mutant))
            continue;
        const fs::path file =
            work / "mutants" /
            (std::to_string(i) + "-" + kKinds[kind] + "-" + source.filename().string());
        WriteFile(file, mutant);
        check(file, source, -1);
    }
    std::printf("hostile_files: %ld files, %ld runs, %ld failed; idle %ld KiB; worst %ld KiB above "
                "idle (%s), worst %.3f s (%s)\n",
                files, runs, failures, idleKiB, worstKiB, worstMemoryFile.c_str(), worstSeconds,
                worstTimeFile.c_str());
    return failures == 0 ? 0 : 1;
}
