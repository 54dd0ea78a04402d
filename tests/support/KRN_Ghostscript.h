#pragma once
// Reads ink-presetting files (CIP3 PPF) with Ghostscript, a real PostScript interpreter, the way
// a press console reads them: a short prolog defines the CIP3 procedures, and each preview image
// is read with readstring from the file itself (through an ASCIIHexDecode filter for hexadecimal
// samples). The interpreter prints what it found, one item a line, strings and samples as
// hexadecimal, and it is parsed back here, so that a test compares what a PostScript reader sees
// with what it counted itself. A file the interpreter cannot parse ends with its error in output.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct KRN_PpfSeparation
{
    // width, height, bits, components, matrix, resolution, encoding, compression: as printed.
    std::map<std::string, std::string> entries;
    bool complete = false; // every sample was there and nothing followed them
    std::vector<std::uint8_t> samples;
};

struct KRN_PpfSurface
{
    std::string side; // "front" or "back"
    std::vector<std::string> names;
    std::vector<std::string> colors; // "L a b" each; none when the file has no ink colours
    std::vector<KRN_PpfSeparation> separations;
};

struct KRN_PpfFile
{
    bool parsed = false; // the interpreter ran to the end of the sheet without an error
    std::string output;  // what the interpreter printed, for failure messages
    std::map<std::string, std::string> sheet; // job, sheetname, software, created, extent
    std::vector<KRN_PpfSurface> surfaces;
};

inline bool KRN_GhostscriptAvailable()
{
    return std::system("gs --version >/dev/null 2>&1") == 0;
}

inline const char* KRN_PpfProlog()
{
    return R"PS(%!PS
/Out (%stdout) (w) file def
/Put { Out exch writestring } bind def
/Hex { ( ) Put Out /ASCIIHexEncode filter dup 3 -1 roll writestring closefile (\n) Put } bind def
/Nums { { ( ) Put 40 string cvs Put } forall (\n) Put } bind def
/Line { ( ) Put 40 string cvs Put (\n) Put } bind def
/CIP3BeginSheet { 40 dict begin } bind def
/CIP3EndSheet {
  (job) Put CIP3AdmJobName Hex (sheetname) Put CIP3AdmSheetName Hex
  (software) Put CIP3AdmSoftware Hex (created) Put CIP3AdmCreationTime Hex
  (extent) Put CIP3AdmPSExtent Nums end (endsheet\n) Put
} bind def
/Side { 40 dict begin (surface ) Put Put (\n) Put } bind def
/EndSide {
  currentdict /CIP3AdmSeparationNames known { CIP3AdmSeparationNames { (name) Put Hex } forall } if
  currentdict /CIP3AdmInkColors known { CIP3AdmInkColors { (color) Put Nums } forall } if
  end
} bind def
/CIP3BeginFront { (front) Side } bind def
/CIP3EndFront { EndSide } bind def
/CIP3BeginBack { (back) Side } bind def
/CIP3EndBack { EndSide } bind def
/CIP3BeginPreviewImage { } bind def
/CIP3EndPreviewImage { } bind def
/CIP3BeginSeparation { 40 dict begin (separation\n) Put } bind def
/CIP3EndSeparation { end } bind def
/CIP3PreviewImage {
  (width) Put CIP3PreviewImageWidth Line (height) Put CIP3PreviewImageHeight Line
  (bits) Put CIP3PreviewImageBitsPerComp Line (components) Put CIP3PreviewImageComponents Line
  (matrix) Put CIP3PreviewImageMatrix Nums (resolution) Put CIP3PreviewImageResolution Nums
  (encoding) Put CIP3PreviewImageEncoding Line (compression) Put CIP3PreviewImageCompression Line
  /Data CIP3PreviewImageWidth CIP3PreviewImageHeight mul string def
  CIP3PreviewImageEncoding /ASCIIHexDecode eq
    { currentfile /ASCIIHexDecode filter dup Data readstring
      % the filter must be at its end: one more read finds the ">" and nothing else
      exch /Data exch def exch read { pop pop false } if }
    { currentfile Data readstring exch /Data exch def }
  ifelse
  { (complete\n) Put } if
  (samples) Put Data Hex
} bind def
)PS";
}

// Runs Ghostscript over the file with the prolog (written beside it) and parses what it printed.
inline KRN_PpfFile KRN_ReadPpfWithGhostscript(const std::filesystem::path& ppf)
{
    const std::filesystem::path prolog = ppf.string() + ".prolog.ps";
    std::ofstream(prolog) << KRN_PpfProlog();
    auto quoted = [](const std::filesystem::path& p)
    {
        std::string q = "'";
        for (char c : p.string())
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    KRN_PpfFile file;
    const std::string command =
        "gs -q -dNODISPLAY -dBATCH -dNOPAUSE " + quoted(prolog) + " " + quoted(ppf) + " 2>&1";
    if (std::FILE* pipe = ::popen(command.c_str(), "r"))
    {
        char block[65536];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
            file.output.append(block, n);
        file.parsed = ::pclose(pipe) == 0;
    }
    std::filesystem::remove(prolog);

    auto unhex = [](std::istream& in)
    {
        std::string out, pair;
        for (char c; in.get(c) && c != '>';)
            if (std::isxdigit(static_cast<unsigned char>(c)) && (pair += c).size() == 2)
            {
                out += char(std::stoi(pair, nullptr, 16));
                pair.clear();
            }
        return out;
    };
    auto rest = [](std::istream& in)
    {
        std::string line;
        std::getline(in, line);
        const std::size_t from = line.find_first_not_of(' ');
        return from == std::string::npos ? std::string() : line.substr(from);
    };
    static const std::map<std::string, int> kinds = {
        {"surface", 0},   {"separation", 1}, {"complete", 2}, {"samples", 3},
        {"name", 4},      {"color", 5},      {"endsheet", 6}, {"job", 7},
        {"sheetname", 7}, {"software", 7},   {"created", 7},  {"extent", 8}};
    static const char* const kEntries[] = {"width",  "height",     "bits",     "components",
                                           "matrix", "resolution", "encoding", "compression"};
    std::istringstream in(file.output);
    bool ended = false;
    for (std::string key; in >> key;)
    {
        KRN_PpfSurface* surface = file.surfaces.empty() ? nullptr : &file.surfaces.back();
        KRN_PpfSeparation* separation = surface == nullptr || surface->separations.empty()
                                            ? nullptr
                                            : &surface->separations.back();
        const auto kind = kinds.find(key);
        if (kind == kinds.end())
        {
            // A separation's entry, or else the interpreter complaining.
            const bool entry =
                std::find(std::begin(kEntries), std::end(kEntries), key) != std::end(kEntries);
            if (!entry || separation == nullptr)
            {
                file.parsed = false;
                break;
            }
            separation->entries[key] = rest(in);
        }
        else if (kind->second == 0)
            file.surfaces.push_back({rest(in), {}, {}, {}});
        else if (kind->second >= 1 && kind->second <= 5 && surface == nullptr)
            file.parsed = false;
        else if (kind->second == 1)
            surface->separations.emplace_back();
        else if (kind->second == 2 && separation)
            separation->complete = true;
        else if (kind->second == 3 && separation)
        {
            const std::string bytes = unhex(in);
            separation->samples.assign(bytes.begin(), bytes.end());
        }
        else if (kind->second == 4)
            surface->names.push_back(unhex(in));
        else if (kind->second == 5)
            surface->colors.push_back(rest(in));
        else if (kind->second == 6)
            ended = true;
        else
            file.sheet[key] = kind->second == 7 ? unhex(in) : rest(in);
    }
    file.parsed = file.parsed && ended;
    return file;
}
