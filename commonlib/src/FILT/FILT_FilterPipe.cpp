#include "FILT/FILT_FilterPipe.h"

#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_OStringStream.h"

#include <algorithm>

namespace
{

constexpr const char* kSource = "FILT_FilterPipe";

const char* Eod(const FILT_FilterBuffer& buffer)
{
    return buffer.EndOfData() ? " (eod)" : "";
}

void Trace(const GLIB_OStringStream& text, int line)
{
    LogMessage(6, text.str(), kSource, line);
}

} // namespace

FILT_FilterPipe::~FILT_FilterPipe() = default;

FILT_FilterBuffer* FILT_FilterPipe::IntermediateAt(int index) const
{
    if (index < 1 || static_cast<std::size_t>(index) > m_intermediates.size())
        return nullptr;
    return m_intermediates[static_cast<std::size_t>(index - 1)].get();
}

bool FILT_FilterPipe::AppendFilter(std::unique_ptr<FILT_Filter> filter)
{
    return InsertFilter(m_filters.size(), std::move(filter));
}

bool FILT_FilterPipe::PrependFilter(std::unique_ptr<FILT_Filter> filter)
{
    return InsertFilter(0, std::move(filter));
}

// Inserts the filter at position p of the chain. The new intermediate buffer goes at stream index
// p + 1 when p falls inside the chain (the new filter writes into it) and at p when p is the end
// (the old last filter writes into it); the first filter of an empty pipe needs none. The buffer
// is made before anything changes, so that a failure leaves the pipe as it was.
bool FILT_FilterPipe::InsertFilter(std::size_t position, std::unique_ptr<FILT_Filter> filter)
{
    if (!filter)
        return false;
    const std::size_t count = m_filters.size();
    position = std::min(position, count);
    if (count == 0)
    {
        m_filters.push_back(std::move(filter));
        return true;
    }
    auto buffer = std::make_unique<FILT_FilterBuffer>(m_intermediateSize);
    if (buffer->Capacity() != m_intermediateSize)
        return false;
    const std::size_t streamIndex = position < count ? position + 1 : position;
    m_intermediates.insert(m_intermediates.begin() + static_cast<std::ptrdiff_t>(streamIndex - 1),
                           std::move(buffer));
    m_filters.insert(m_filters.begin() + static_cast<std::ptrdiff_t>(position), std::move(filter));
    return true;
}

void FILT_FilterPipe::ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out)
{
    const int count = static_cast<int>(m_filters.size());
    if (count == 0)
    {
        in.CopyThrough(out);
        if (in.EndOfData() && in.DataAvailable() == 0)
            out.SetEndOfData();
        return;
    }

    auto bufferAt = [&](int index) -> FILT_FilterBuffer&
    {
        if (index == 0)
            return in;
        if (index == count)
            return out;
        return *m_intermediates[static_cast<std::size_t>(index - 1)];
    };

    const uint32_t inAtEntry = in.DataAvailable();
    const uint32_t outAtEntry = out.SpaceRemaining();
    if (m_trace)
    {
        GLIB_OStringStream text;
        text << Name() << "::ProcessBytes, "
             << "inBuf.DataAvailable = " << inAtEntry << Eod(in)
             << ", outBuf.SpaceRemaining = " << outAtEntry;
        Trace(text, __LINE__);
    }

    m_cursor = std::clamp(m_cursor, 0, count - 1);
    while (m_cursor >= 0 && m_cursor <= count - 1)
    {
        FILT_Filter& filter = *m_filters[static_cast<std::size_t>(m_cursor)];
        FILT_FilterBuffer& fin = bufferAt(m_cursor);
        FILT_FilterBuffer& fout = bufferAt(m_cursor + 1);

        const uint32_t consumedBefore = fin.BytesConsumed();
        const uint32_t producedBefore = fout.BytesProduced();
        if (m_trace)
        {
            GLIB_OStringStream text;
            text << "  About to call " << filter.Name()
                 << "::ProcessBytes, inBuf.DataAvailable = " << fin.DataAvailable() << Eod(fin)
                 << ", outBuf.SpaceRemaining = " << fout.SpaceRemaining() << Eod(fout);
            Trace(text, __LINE__);
        }
        filter.ProcessBytes(fin, fout);
        if (m_trace)
        {
            GLIB_OStringStream text;
            text << "  " << filter.Name() << "::ProcessBytes consumed "
                 << (fin.BytesConsumed() - consumedBefore) << Eod(fin) << " and generated "
                 << (fout.BytesProduced() - producedBefore) << Eod(fout);
            Trace(text, __LINE__);
        }

        if (fin.DataAvailable() > 0 || fin.EndOfData() || fout.IsFull())
        {
            if (m_traceOutput)
            {
                GLIB_OStringStream text;
                text << "  " << filter.Name() << "::ProcessBytes produced the following data:";
                Trace(text, __LINE__);
            }
            ++m_cursor;
        }
        else
        {
            // The upstream filter refills this buffer from the front of its store.
            fin.Reset();
            --m_cursor;
        }
    }

    if (m_trace)
    {
        GLIB_OStringStream text;
        text << Name() << "::ProcessBytes, "
             << " consumed " << (inAtEntry - in.DataAvailable()) << Eod(in) << " and generated "
             << (outAtEntry - out.SpaceRemaining()) << Eod(out);
        Trace(text, __LINE__);
    }
}
