// The level data of automatic region detection, held by the main window:
// the level envelope of the draw data, its chunk averages, and the regions
// found.
//
//   TMaxData         one level (0 to 128) per draw entry
//   TCompData        the envelope averaged over chunks of entries
//   TAutoRegionList  detected regions as (start, end) frame pairs
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct TMaxData
{
    std::vector<std::uint8_t> Data;   // one level per draw entry
    std::uint32_t DrawGeneration = 0; // which draw data it was built from
    std::int32_t Count() const { return static_cast<std::int32_t>(Data.size()); }
    void Clear() { std::vector<std::uint8_t>().swap(Data); }
};

struct TCompData
{
    std::vector<std::uint8_t> Data;   // one averaged level per chunk
    std::int32_t Chunk = -1;          // entries per chunk it was built with; -1 not built
    std::uint32_t DrawGeneration = 0; // which draw data its envelope came from
    std::int32_t Count() const { return static_cast<std::int32_t>(Data.size()); }
    void Clear()
    {
        std::vector<std::uint8_t>().swap(Data);
        Chunk = -1;
    }
};

struct TAutoRegionList
{
    std::vector<std::pair<std::int32_t, std::int32_t>> Regions; // (start, end) sample frames
    std::int32_t Count() const { return static_cast<std::int32_t>(Regions.size()); }
    void Clear() { Regions.clear(); }
};
