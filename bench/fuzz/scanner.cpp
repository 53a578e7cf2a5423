// Any bytes through the simulator's frame scanner, once whole and once in pieces of one size
// (the first byte picks it), so frames and syncs get split at every offset. How the bytes
// arrive must not change what is found: with runs of skipped bytes joined, both give the same
// events, and no event reports more bytes than were fed. A run of skipped bytes just before a
// half-received frame waits for that frame, so a trailing run may be reported in one and not
// yet in the other: it is left out of the comparison.
#include "tools/SimulatedDevice.h"

#include <algorithm>
#include <cstdlib>

namespace {

using TEvents = std::vector<sim::TScanEvent>;

void Append(TEvents& To, TEvents&& From)
{
    for (sim::TScanEvent& e : From) {
        if (e.Kind == sim::TScanEvent::TKind::Skipped && !To.empty() &&
            To.back().Kind == sim::TScanEvent::TKind::Skipped)
            To.back().Bytes.insert(To.back().Bytes.end(), e.Bytes.begin(), e.Bytes.end());
        else
            To.push_back(std::move(e));
    }
}

std::size_t BytesOf(const TEvents& Events)
{
    std::size_t n = 0;
    for (const sim::TScanEvent& e : Events)
        n += e.Kind == sim::TScanEvent::TKind::Frame ? 8 : e.Bytes.size();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const std::size_t piece = Data[0] % 16 + 1;
    ++Data;
    --Size;
    TEvents whole, pieces;
    Append(whole, sim::TFrameScanner().Feed(Data, Size));
    sim::TFrameScanner scanner;
    for (std::size_t at = 0; at < Size; at += piece)
        Append(pieces, scanner.Feed(Data + at, std::min(piece, Size - at)));
    for (TEvents* events : {&whole, &pieces})
        if (!events->empty() && events->back().Kind == sim::TScanEvent::TKind::Skipped)
            events->pop_back();
    if (BytesOf(whole) > Size || BytesOf(pieces) != BytesOf(whole) || pieces.size() != whole.size())
        std::abort();
    for (std::size_t i = 0; i < whole.size(); ++i)
        if (whole[i].Kind != pieces[i].Kind || whole[i].Code != pieces[i].Code ||
            whole[i].Bytes != pieces[i].Bytes)
            std::abort();
    return 0;
}
