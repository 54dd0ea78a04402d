#pragma once

// Drivers shared by the filter suites: feed a filter through small caller buffers, and a simple
// tuple filter that exercises both adaptors.

#include "FILT/FILT_Filter.h"
#include "FILT/FILT_TupleBufferR.h"
#include "FILT/FILT_TupleBufferW.h"
#include "GLIB/GLIB_Globals.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace filt_test
{

// Runs a filter to end of data, giving it at most inChunk new input bytes and outChunk bytes of
// output room per call, as a caller with small buffers would.
inline std::vector<uint8_t> Drive(FILT_Filter& filter, const std::vector<uint8_t>& input,
                                  uint32_t inChunk, uint32_t outChunk)
{
    FILT_FilterBuffer in(inChunk);
    FILT_FilterBuffer out(outChunk);
    std::vector<uint8_t> result;
    std::size_t fed = 0;
    const std::size_t limit = (input.size() + 1) * 64 + 100000;
    for (std::size_t calls = 0; calls < limit; ++calls)
    {
        if (in.DataAvailable() == 0 && !in.EndOfData())
            in.Reset();
        if (fed < input.size())
            fed +=
                in.Write(input.data() + fed,
                         static_cast<uint32_t>(std::min<std::size_t>(inChunk, input.size() - fed)));
        if (fed == input.size())
            in.SetEndOfData();
        filter.ProcessBytes(in, out);
        std::vector<uint8_t> chunk(out.DataAvailable());
        out.Read(chunk.data(), static_cast<uint32_t>(chunk.size()));
        result.insert(result.end(), chunk.begin(), chunk.end());
        if (out.EndOfData())
            return result;
        out.Reset();
    }
    throw std::runtime_error("filter did not finish");
}

// Adds a constant to every byte, a tuple at a time; ends its output when its input ends.
class AddFilter : public FILT_Filter
{
public:
    AddFilter(uint32_t tupleSize, uint8_t add)
        : m_reader(tupleSize), m_writer(tupleSize), m_add(add)
    {
    }
    const char* Name() const override { return "AddFilter"; }
    void ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out) override
    {
        m_reader.Attach(in);
        m_writer.Attach(out);
        const uint32_t size = m_reader.TupleSize();
        while (m_reader.TuplesAvailable() > 0 && m_writer.TuplesSpace() > 0)
        {
            const uint8_t* from = m_reader.CurrentTuple();
            uint8_t* to = m_writer.NextTuple();
            for (uint32_t i = 0; i < size; ++i)
                to[i] = static_cast<uint8_t>(from[i] + m_add);
            m_writer.Commit(1);
            m_reader.Advance(1);
        }
        if (!m_writer.EndOfDataSet() && m_reader.EndOfDataSeen() &&
            m_reader.TuplesAvailable() == 0 &&
            (m_reader.Finished() || m_reader.StagedCount() == 0) && in.DataAvailable() == 0)
            m_writer.SetEndOfData();
    }

private:
    FILT_TupleBufferR m_reader;
    FILT_TupleBufferW m_writer;
    uint8_t m_add;
};

struct LogLine
{
    int severity;
    std::string text;
    int line;
};

// Captures log entries while it lives.
class LogCapture
{
public:
    LogCapture()
    {
        m_saved = GLIB_Globals::Instance().SetLogHandler(
            [this](int severity, const std::wstring& text, const char*, int line) {
                lines.push_back({severity, std::string(text.begin(), text.end()), line});
            });
    }
    ~LogCapture() { GLIB_Globals::Instance().SetLogHandler(m_saved); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogLine> lines;

private:
    GLIB_LogHandler m_saved;
};

} // namespace filt_test
