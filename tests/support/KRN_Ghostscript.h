#pragma once
// Reads ink-presetting files (CIP3 PPF) with Ghostscript, a real PostScript interpreter, the way
// a press console reads them: a short prolog defines the CIP3 procedures, and each preview image
// is read with readstring from the file itself (through an ASCIIHexDecode filter for hexadecimal
// samples). Whatever the interpreter found is printed one item a line, strings and samples as
// hexadecimal, and parsed back here, so a test compares what a PostScript reader sees with what
// it counted itself. A file the interpreter cannot parse ends with its error in `output`.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct KRN_PpfSeparation
{
    std::uint32_t width = 0, height = 0, bits = 0, components = 0;
    std::vector<double> matrix, resolution;
    std::string encoding, compression;
    bool complete = false; // every sample was there and nothing followed them
    std::vector<std::uint8_t> samples;
};

struct KRN_PpfSurface
{
    std::string side; // "front" or "back"
    std::vector<std::string> names;
    std::vector<std::array<double, 3>> colors; // empty when the file has no ink colours
    std::vector<KRN_PpfSeparation> separations;
};

struct KRN_PpfFile
{
    bool parsed = false; // the interpreter ran to the end of the sheet without an error
    std::string output;  // what the interpreter printed, for failure messages
    std::string jobName, sheetName, software, creationTime;
    std::vector<double> extent;
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
/Key { Put ( ) Put } bind def
/Hex { Out /ASCIIHexEncode filter dup 3 -1 roll writestring closefile (\n) Put } bind def
/Num { 40 string cvs Put ( ) Put } bind def
/Nums { { Num } forall (\n) Put } bind def
/CIP3BeginSheet { 40 dict begin (sheet\n) Put } bind def
/CIP3EndSheet {
  (job) Key CIP3AdmJobName Hex
  (sheetname) Key CIP3AdmSheetName Hex
  (software) Key CIP3AdmSoftware Hex
  (created) Key CIP3AdmCreationTime Hex
  (extent) Key CIP3AdmPSExtent Nums
  end (endsheet\n) Put
} bind def
/Side { 40 dict begin (surface) Key Put (\n) Put } bind def
/EndSide {
  currentdict /CIP3AdmSeparationNames known
    { CIP3AdmSeparationNames { (name) Key Hex } forall } if
  currentdict /CIP3AdmInkColors known
    { CIP3AdmInkColors { (color) Key Nums } forall } if
  end (endsurface\n) Put
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
  (width) Key CIP3PreviewImageWidth Num (\n) Put
  (height) Key CIP3PreviewImageHeight Num (\n) Put
  (bits) Key CIP3PreviewImageBitsPerComp Num (\n) Put
  (components) Key CIP3PreviewImageComponents Num (\n) Put
  (matrix) Key CIP3PreviewImageMatrix Nums
  (resolution) Key CIP3PreviewImageResolution Nums
  (encoding) Key CIP3PreviewImageEncoding Num (\n) Put
  (compression) Key CIP3PreviewImageCompression Num (\n) Put
  /Data CIP3PreviewImageWidth CIP3PreviewImageHeight mul string def
  CIP3PreviewImageEncoding /ASCIIHexDecode eq
    { currentfile /ASCIIHexDecode filter dup Data readstring
      % the filter must be at its end: one more read finds the ">" and nothing else
      exch /Data exch def exch read { pop pop false } if }
    { currentfile Data readstring exch /Data exch def }
  ifelse
  { (complete\n) Put } if
  (samples) Key Data Hex
} bind def
)PS";
}

namespace krn_ghostscript_detail
{
inline std::string Unhex(std::istream& in)
{
    std::string out;
    int high = -1;
    char c = 0;
    while (in.get(c) && c != '>')
    {
        int v = -1;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        if (v < 0)
            continue;
        if (high < 0)
            high = v;
        else
        {
            out += char(high * 16 + v);
            high = -1;
        }
    }
    return out;
}

inline std::vector<double> Numbers(std::istream& in)
{
    std::string line;
    std::getline(in, line);
    std::istringstream words(line);
    std::vector<double> values;
    double v = 0;
    while (words >> v)
        values.push_back(v);
    return values;
}
} // namespace krn_ghostscript_detail

// Runs Ghostscript over the file with the prolog (written beside it) and parses what it printed.
inline KRN_PpfFile KRN_ReadPpfWithGhostscript(const std::filesystem::path& ppf)
{
    using namespace krn_ghostscript_detail;
    const std::filesystem::path prolog = ppf.string() + ".prolog.ps";
    std::ofstream(prolog) << KRN_PpfProlog();
    auto quoted = [](const std::filesystem::path& p)
    {
        std::string q = "'";
        for (char c : p.string())
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    const std::string command =
        "gs -q -dNODISPLAY -dBATCH -dNOPAUSE " + quoted(prolog) + " " + quoted(ppf) + " 2>&1";
    KRN_PpfFile file;
    if (std::FILE* pipe = ::popen(command.c_str(), "r"))
    {
        char block[65536];
        std::size_t n = 0;
        while ((n = std::fread(block, 1, sizeof block, pipe)) > 0)
            file.output.append(block, n);
        const int status = ::pclose(pipe);
        file.parsed = status == 0;
    }
    std::filesystem::remove(prolog);

    std::istringstream in(file.output);
    std::string key;
    bool ended = false;
    while (in >> key)
    {
        if (key == "surface")
        {
            file.surfaces.emplace_back();
            in >> file.surfaces.back().side;
        }
        else if (key == "name" && !file.surfaces.empty())
            file.surfaces.back().names.push_back(Unhex(in));
        else if (key == "color" && !file.surfaces.empty())
        {
            const std::vector<double> lab = Numbers(in);
            if (lab.size() == 3)
                file.surfaces.back().colors.push_back({lab[0], lab[1], lab[2]});
        }
        else if (key == "separation")
        {
            if (file.surfaces.empty())
                file.surfaces.emplace_back();
            file.surfaces.back().separations.emplace_back();
        }
        else if (!file.surfaces.empty() && !file.surfaces.back().separations.empty() &&
                 (key == "width" || key == "height" || key == "bits" || key == "components" ||
                  key == "matrix" || key == "resolution" || key == "encoding" ||
                  key == "compression" || key == "complete" || key == "samples"))
        {
            KRN_PpfSeparation& s = file.surfaces.back().separations.back();
            if (key == "width")
                in >> s.width;
            else if (key == "height")
                in >> s.height;
            else if (key == "bits")
                in >> s.bits;
            else if (key == "components")
                in >> s.components;
            else if (key == "matrix")
                s.matrix = Numbers(in);
            else if (key == "resolution")
                s.resolution = Numbers(in);
            else if (key == "encoding")
                in >> s.encoding;
            else if (key == "compression")
                in >> s.compression;
            else if (key == "complete")
                s.complete = true;
            else
            {
                const std::string bytes = Unhex(in);
                s.samples.assign(bytes.begin(), bytes.end());
            }
        }
        else if (key == "job")
            file.jobName = Unhex(in);
        else if (key == "sheetname")
            file.sheetName = Unhex(in);
        else if (key == "software")
            file.software = Unhex(in);
        else if (key == "created")
            file.creationTime = Unhex(in);
        else if (key == "extent")
            file.extent = Numbers(in);
        else if (key == "endsheet")
            ended = true;
        else if (key != "sheet" && key != "endsurface")
        {
            // Anything else is the interpreter complaining.
            file.parsed = false;
            break;
        }
    }
    file.parsed = file.parsed && ended;
    return file;
}
