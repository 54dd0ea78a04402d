#include "FILT/FILT_DownSampler.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_Memory.h"
#include "GLIB/GLIB_OStringStream.h"
#include "GSTA/GSTA_AccumScope.h"
#include "GSTA/GSTA_TimeStats.h"

#include <cmath>
#include <cstring>
#include <new>

namespace
{

// Adds one input line, resampled along the line, into the accumulator. The samples per pixel are
// a template argument for the usual 1 to 4 so that the inner loop unrolls; 0 selects the general
// loop. All variants add in the same order and give the same sums.
template <int kSamples>
void AccumulatePixels(const FILT_DownSampleFactors& factors, const uint8_t* line, uint32_t,
                      uint16_t samplesPerPixel, float* accum)
{
    const uint32_t used = factors.Used();
    const FILT_DownSampleFactors::Entry* entry = factors.Entries();
    const uint32_t spp = kSamples > 0 ? static_cast<uint32_t>(kSamples) : samplesPerPixel;
    for (uint32_t e = 0; e < used; ++e, ++entry)
    {
        const float w = entry->weight;
        const uint8_t* in = line + static_cast<std::size_t>(entry->source) * spp;
        float* out = accum + static_cast<std::size_t>(entry->output) * spp;
        if constexpr (kSamples > 0)
        {
            for (int c = 0; c < kSamples; ++c)
                out[c] += w * static_cast<float>(in[c]);
        }
        else
        {
            for (uint32_t c = 0; c < spp; ++c)
                out[c] += w * static_cast<float>(in[c]);
        }
    }
}

[[noreturn]] void BadParameters(const std::string& what, int line)
{
    throw GLIB_Exception(FILT_ERR_BAD_PARAMETERS, "Decimation Filter: " + what, __FILE__, line);
}

float* AllocFloats(uint64_t count)
{
    auto* floats = static_cast<float*>(
        TrackedAlloc(static_cast<std::size_t>(count * sizeof(float)), __LINE__, __FILE__));
    if (!floats)
        throw std::bad_alloc();
    return floats;
}

} // namespace

const std::vector<std::string>& FILT_DownSampler::PhaseNames()
{
    static const std::vector<std::string> names = {"CalculateFactors", "ByteProcess",
                                                   "PixelProcess", "LineProcess", "OutputGenerate"};
    return names;
}

FILT_DownSampler::FILT_DownSampler()
{
    m_statistics.Setup(PhaseNames(), GSTA_TimeStats::Factory());
}

FILT_DownSampler::~FILT_DownSampler()
{
    ReleaseWork();
}

void FILT_DownSampler::ReleaseWork()
{
    TrackedFree(m_lineAccum, __LINE__, __FILE__);
    TrackedFree(m_ring, __LINE__, __FILE__);
    m_lineAccum = nullptr;
    m_ring = nullptr;
    m_ringFloats = 0;
}

void FILT_DownSampler::SetKernel(std::unique_ptr<FILT_DecimKernelBase> kernel)
{
    m_kernel = std::move(kernel);
    m_state = kNotStarted;
}

void FILT_DownSampler::SetSamplesPerPixel(uint16_t samples)
{
    m_samplesPerPixel = samples;
    m_state = kNotStarted;
}

void FILT_DownSampler::SetInputWidth(uint32_t width)
{
    m_inputWidth = width;
    m_state = kNotStarted;
}

void FILT_DownSampler::SetInputHeight(uint32_t height)
{
    m_inputHeight = height;
    m_state = kNotStarted;
}

void FILT_DownSampler::SetOutputWidth(uint32_t width)
{
    m_outputWidth = width;
    m_state = kNotStarted;
}

void FILT_DownSampler::SetOutputHeight(uint32_t height)
{
    m_outputHeight = height;
    m_state = kNotStarted;
}

void FILT_DownSampler::CheckParameters() const
{
    if (!m_kernel)
        BadParameters("no kernel", __LINE__);
    if (m_kernel->TapSpan() == 0)
        BadParameters("the kernel has no tap span", __LINE__);
    if (m_samplesPerPixel == 0)
        BadParameters("0 samples per pixel", __LINE__);
    if (m_inputWidth == 0 || m_inputHeight == 0 || m_outputWidth == 0 || m_outputHeight == 0)
    {
        GLIB_OStringStream text;
        text << "empty image " << m_inputWidth << " x " << m_inputHeight << " -> " << m_outputWidth
             << " x " << m_outputHeight;
        BadParameters(text.str(), __LINE__);
    }
    // Lines are tuples of 32-bit sizes; the accumulator and the open output lines are floats.
    const uint64_t inLine = static_cast<uint64_t>(m_samplesPerPixel) * m_inputWidth;
    const uint64_t work = (static_cast<uint64_t>(m_kernel->TapSpan()) + 1) * m_samplesPerPixel *
                          m_outputWidth * sizeof(float);
    if (inLine > 0x7fffffffULL || work > kMaxWorkBytes)
        BadParameters("lines too long", __LINE__);
}

void FILT_DownSampler::AllocateWork()
{
    const uint64_t lineFloats = static_cast<uint64_t>(m_samplesPerPixel) * m_outputWidth;
    const uint64_t ringFloats = lineFloats * m_span;
    if (ringFloats > m_ringFloats || !m_ring)
    {
        ReleaseWork();
        // The accumulator is sized with the ring so that it never lags behind it.
        m_lineAccum = AllocFloats(lineFloats);
        m_ring = AllocFloats(ringFloats);
        m_ringFloats = ringFloats;
    }
    std::memset(m_lineAccum, 0, static_cast<std::size_t>(lineFloats * sizeof(float)));
    std::memset(m_ring, 0, static_cast<std::size_t>(m_ringFloats * sizeof(float)));
}

void FILT_DownSampler::StartRun()
{
    CheckParameters();
    m_state = kNotStarted;
    m_linesReceived = 0;
    m_linesProduced = 0;
    m_vCursor = 0;
    m_span = m_kernel->TapSpan();
    m_reader.Resize(static_cast<uint32_t>(m_samplesPerPixel) * m_inputWidth);
    m_writer.Resize(static_cast<uint32_t>(m_samplesPerPixel) * m_outputWidth);
    switch (m_samplesPerPixel)
    {
    case 1:
        m_pixelRoutine = &AccumulatePixels<1>;
        break;
    case 2:
        m_pixelRoutine = &AccumulatePixels<2>;
        break;
    case 3:
        m_pixelRoutine = &AccumulatePixels<3>;
        break;
    case 4:
        m_pixelRoutine = &AccumulatePixels<4>;
        break;
    default:
        m_pixelRoutine = &AccumulatePixels<0>;
        break;
    }
    {
        GSTA_AccumScope timer(Stats(), kCalculateFactors);
        m_hFactors.Compute(*m_kernel, m_inputWidth, m_outputWidth);
    }
    {
        GSTA_AccumScope timer(Stats(), kCalculateFactors);
        m_vFactors.Compute(*m_kernel, m_inputHeight, m_outputHeight);
    }

    // An output line is complete once the vertical walk has passed its last entry. Deciding by
    // the next entry's output instead would close a line early whenever a tap in its middle was
    // rejected as negligible (odd integer steps), and its late taps would land in a reused line.
    m_vLineEnd.assign(m_outputHeight, 0);
    for (uint32_t e = 0; e < m_vFactors.Used(); ++e)
        m_vLineEnd[static_cast<uint32_t>(m_vFactors[e].output)] = e + 1;

    CheckVerticalWalk();
    AllocateWork();
    m_state = kRunning;
}

// Walks the vertical table as the run will, one output line at most per input line, and makes
// sure that every tap lands in an output line that is open: not yet written and not sharing its
// ring line with an earlier one still waiting. The kernels of this library always pass; the
// check keeps a kernel with a wider reach than its tap span from blending lines silently.
void FILT_DownSampler::CheckVerticalWalk() const
{
    const uint32_t used = m_vFactors.Used();
    uint32_t produced = 0;
    uint32_t cursor = 0;
    for (uint32_t received = 1; received <= m_inputHeight; ++received)
    {
        for (; cursor < used && static_cast<uint32_t>(m_vFactors[cursor].source) + 1 == received;
             ++cursor)
        {
            const auto output = static_cast<uint32_t>(m_vFactors[cursor].output);
            if (output < produced || output >= produced + m_span)
                BadParameters("the kernel reaches beyond its tap span", __LINE__);
        }
        if (produced < m_outputHeight && cursor >= m_vLineEnd[produced])
            ++produced;
    }
    while (produced < m_outputHeight && cursor >= m_vLineEnd[produced])
        ++produced;
    if (cursor != used || produced != m_outputHeight)
        BadParameters("the vertical factors do not cover the image", __LINE__);
}

void FILT_DownSampler::PixelProcess(const uint8_t* line)
{
    GSTA_AccumScope timer(Stats(), kPixelProcess);
    const uint64_t lineFloats = static_cast<uint64_t>(m_samplesPerPixel) * m_outputWidth;
    std::memset(m_lineAccum, 0, static_cast<std::size_t>(lineFloats * sizeof(float)));
    m_pixelRoutine(m_hFactors, line, m_inputWidth, m_samplesPerPixel, m_lineAccum);
    m_linesReceived += 1;
    LineProcess();
}

bool FILT_DownSampler::OutputLineComplete(uint32_t line) const
{
    return m_vCursor >= m_vLineEnd[line];
}

void FILT_DownSampler::LineProcess()
{
    GSTA_AccumScope timer(Stats(), kLineProcess);
    const std::size_t lineFloats = static_cast<std::size_t>(m_samplesPerPixel) * m_outputWidth;
    const uint32_t used = m_vFactors.Used();
    while (m_vCursor < used &&
           static_cast<uint32_t>(m_vFactors[m_vCursor].source) + 1 == m_linesReceived)
    {
        const FILT_DownSampleFactors::Entry& entry = m_vFactors[m_vCursor];
        float* ringLine = m_ring + (static_cast<uint32_t>(entry.output) % m_span) * lineFloats;
        const float w = entry.weight;
        for (std::size_t k = 0; k < lineFloats; ++k)
            ringLine[k] += w * m_lineAccum[k];
        ++m_vCursor;
    }
    if (m_linesProduced < m_outputHeight && OutputLineComplete(m_linesProduced))
    {
        m_linesProduced += 1;
        OutputGenerate();
    }
}

void FILT_DownSampler::OutputGenerate()
{
    GSTA_AccumScope timer(Stats(), kOutputGenerate);
    const std::size_t lineFloats = static_cast<std::size_t>(m_samplesPerPixel) * m_outputWidth;
    float* ringLine = m_ring + ((m_linesProduced - 1) % m_span) * lineFloats;
    uint8_t* out = m_writer.NextTuple();
    for (std::size_t k = 0; k < lineFloats; ++k)
    {
        const float v = ringLine[k];
        uint8_t sample;
        if (!(v > 0.0f))
            sample = 0;
        else if (v >= 255.0f)
            sample = 255;
        else
            sample = static_cast<uint8_t>(v + 0.5f);
        out[k] = sample;
        ringLine[k] = 0.0f;
    }
    m_writer.Commit(1);
}

void FILT_DownSampler::ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out)
{
    if (m_state == kNotStarted && m_statisticsOn)
        m_statistics.Reset();
    bool finishedNow = false;
    {
        GSTA_AccumScope timer(Stats(), kByteProcess);
        if (m_state == kFinished)
        {
            // The last line may still be partly pending: it goes out before end of data does.
            m_writer.Attach(out);
            if (m_writer.PendingCount() == 0)
                out.SetEndOfData();
            return;
        }
        if (m_state == kNotStarted)
            StartRun();

        m_reader.Attach(in);
        m_writer.Attach(out);
        while (m_reader.TuplesAvailable() > 0)
        {
            if (m_writer.TuplesSpace() == 0 || m_linesReceived == m_inputHeight)
                break;
            PixelProcess(m_reader.CurrentTuple());
            m_reader.Advance(1);
        }

        if (in.EndOfData() && m_writer.TuplesSpace() > 0 && m_linesReceived != m_inputHeight)
        {
            GLIB_OStringStream text;
            text << "Insufficient data passed to downsampler. "
                 << "Expecting " << m_inputHeight << " lines, received " << m_linesReceived;
            throw GLIB_Exception(FILT_ERR_INSUFFICIENT_DATA, text.str(), __FILE__,
                                 kInsufficientDataLine);
        }

        if (m_linesReceived == m_inputHeight)
        {
            while (m_writer.TuplesSpace() > 0 && m_linesProduced < m_outputHeight)
            {
                const uint32_t before = m_linesProduced;
                LineProcess();
                if (m_linesProduced == before)
                    break;
            }
            // Finishing does not wait for room after the last line: an output sized exactly to
            // the image must still see end of data. Pending bytes of the last line go first.
            if (m_linesProduced == m_outputHeight)
            {
                m_writer.SetEndOfData();
                m_state = kFinished;
                finishedNow = true;
            }
        }
    }
    if (finishedNow && m_statisticsOn)
        LogMessage(6, m_statistics.ReportText(), __FILE__, kStatisticsLine);
}
