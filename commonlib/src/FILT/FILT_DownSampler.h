#pragma once

// Reduces an image of interleaved 8-bit samples, streamed line by line, with a separable
// decimation kernel: each input line is resampled along the line into an accumulator and then
// added, with its vertical weights, into the few output lines it feeds. An output line is
// written as soon as the last input line that feeds it has arrived, so only TapSpan() output
// lines are held at a time.
//
// Input lines are samples per pixel x input width bytes, output lines samples per pixel x output
// width bytes. Any parameter change makes the next ProcessBytes start a new run.

#include "FILT/FILT_DecimKernelBase.h"
#include "FILT/FILT_DownSampleFactors.h"
#include "FILT/FILT_Filter.h"
#include "FILT/FILT_TupleBufferR.h"
#include "FILT/FILT_TupleBufferW.h"
#include "GSTA/GSTA_Accum.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class FILT_DownSampler : public FILT_Filter
{
public:
    enum State : int32_t
    {
        kNotStarted = 0,
        kRunning = 1,
        kFinished = 2,
    };
    // Statistics phase ids.
    enum Phase
    {
        kCalculateFactors = 0,
        kByteProcess = 1,
        kPixelProcess = 2,
        kLineProcess = 3,
        kOutputGenerate = 4,
    };
    // Line numbers under which the insufficient-data failure and the statistics report are
    // known to the log.
    static constexpr int kInsufficientDataLine = 292;
    static constexpr int kStatisticsLine = 327;
    // Float buffers (accumulator and output lines) beyond this are refused.
    static constexpr uint64_t kMaxWorkBytes = 256ULL << 20;

    FILT_DownSampler();
    ~FILT_DownSampler() override;

    const char* Name() const override { return "Decimation Filter"; }

    // Consumes whole input lines and produces whole output lines. Throws GLIB_Exception
    // 1130022 when the input ends (end of data) before all input lines arrived, and 1130023
    // when the parameters cannot be worked with (see FILT_DownSampleFactors).
    void ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out) override;

    void SetKernel(std::unique_ptr<FILT_DecimKernelBase> kernel);
    void SetSamplesPerPixel(uint16_t samples);
    void SetInputWidth(uint32_t width);
    void SetInputHeight(uint32_t height);
    void SetOutputWidth(uint32_t width);
    void SetOutputHeight(uint32_t height);
    // Times the five phases and logs the table at INFO when a run finishes.
    void SetStatistics(bool on) { m_statisticsOn = on ? 1 : 0; }

    State GetState() const { return static_cast<State>(m_state); }
    uint32_t LinesReceived() const { return m_linesReceived; }
    uint32_t LinesProduced() const { return m_linesProduced; }
    const GSTA_Accum& Statistics() const { return m_statistics; }
    const FILT_DownSampleFactors& HorizontalFactors() const { return m_hFactors; }
    const FILT_DownSampleFactors& VerticalFactors() const { return m_vFactors; }

    static const std::vector<std::string>& PhaseNames();

private:
    using PixelRoutine = void (*)(const FILT_DownSampleFactors&, const uint8_t*, uint32_t, uint16_t,
                                  float*);

    void StartRun();
    void CheckParameters() const;
    void CheckVerticalWalk() const;
    void AllocateWork();
    void ReleaseWork();
    void PixelProcess(const uint8_t* line);
    void LineProcess();
    void OutputGenerate();
    bool OutputLineComplete(uint32_t line) const;
    GSTA_Accum* Stats() { return m_statisticsOn ? &m_statistics : nullptr; }

    uint8_t m_statisticsOn = 0;
    int32_t m_state = kNotStarted;
    std::unique_ptr<FILT_DecimKernelBase> m_kernel;
    FILT_TupleBufferR m_reader;
    FILT_TupleBufferW m_writer;
    FILT_DownSampleFactors m_hFactors;
    FILT_DownSampleFactors m_vFactors;
    uint32_t m_vCursor = 0;
    // For each output line, one past the index of the last vertical entry that feeds it.
    std::vector<uint32_t> m_vLineEnd;
    uint32_t m_linesReceived = 0;
    uint32_t m_linesProduced = 0;
    uint16_t m_samplesPerPixel = 0;
    uint32_t m_inputWidth = 0;
    uint32_t m_outputWidth = 0;
    uint32_t m_inputHeight = 0;
    uint32_t m_outputHeight = 0;
    float* m_lineAccum = nullptr;
    float* m_ring = nullptr;
    uint64_t m_ringFloats = 0;
    uint32_t m_span = 0;
    PixelRoutine m_pixelRoutine = nullptr;
    GSTA_Accum m_statistics;
};
