#include "platform/sim/perf_block.h"

namespace orv::sim {

namespace {

struct Out {
    std::vector<std::uint8_t> b;
    std::size_t Here() const { return b.size(); }
    void U16(std::uint16_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void I64(std::int64_t v) {
        for (int i = 0; i < 8; ++i)
            b.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
    }
    void Pad(std::size_t to) {
        while (b.size() % to) b.push_back(0);
    }
    void PutU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
};

// A PERF_OBJECT_TYPE header; lengths are patched once known.
std::size_t Object(Out& o, std::uint32_t index, std::uint32_t counters, std::int32_t instances) {
    const std::size_t at = o.Here();
    o.U32(0);   // TotalByteLength
    o.U32(0);   // DefinitionLength
    o.U32(64);  // HeaderLength
    o.U32(index);
    o.U32(0);
    o.U32(index + 1);
    o.U32(0);
    o.U32(100);  // detail level: novice
    o.U32(counters);
    o.U32(0);
    o.U32(static_cast<std::uint32_t>(instances));
    o.U32(0);  // code page: names are UTF-16
    o.I64(0);
    o.I64(10'000'000);
    return at;
}

void Counter(Out& o, std::uint32_t index, std::uint32_t offset) {
    o.U32(40);
    o.U32(index);
    o.U32(0);
    o.U32(index + 1);
    o.U32(0);
    o.U32(0);
    o.U32(100);
    o.U32(0x20510500);  // PERF_100NSEC_TIMER_INV
    o.U32(8);
    o.U32(offset);
}

}  // namespace

std::vector<PerfInstance> ProcessorInstances(const std::vector<std::int64_t>& idle) {
    std::vector<PerfInstance> out;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < idle.size(); ++i) {
        std::string n = std::to_string(i);
        out.push_back({std::u16string(n.begin(), n.end()), idle[i]});
        total += idle[i];
    }
    out.push_back({u"_Total", idle.empty() ? 0 : total / static_cast<std::int64_t>(idle.size())});
    return out;
}

std::vector<std::uint8_t> BuildPerfBlock(const PerfBlockLayout& layout) {
    Out o;
    o.U16('P'), o.U16('E'), o.U16('R'), o.U16('F');
    o.U32(1);  // little endian
    o.U32(1);
    o.U32(1);
    o.U32(0);  // TotalByteLength, patched
    o.U32(static_cast<std::uint32_t>(kPerfHeaderLength));
    o.U32(static_cast<std::uint32_t>(layout.other_objects + (layout.with_object ? 1 : 0)));
    o.U32(0);
    for (std::uint16_t v : layout.system_time) o.U16(v);
    o.Pad(8);
    o.I64(0), o.I64(0), o.I64(0);
    o.U32(0), o.U32(0);  // system name length and offset
    for (int k = 0; k < layout.other_objects; ++k) {
        std::size_t at = Object(o, 2 + 2 * static_cast<std::uint32_t>(k), 0, -1);
        o.PutU32(at, 64);
        o.PutU32(at + 4, 64);
    }
    if (layout.with_object) {
        const std::size_t at =
            Object(o, layout.object_index, 2, static_cast<std::int32_t>(layout.instances.size()));
        Counter(o, 142, 8);  // user time
        Counter(o, layout.counter_index, 16);
        o.PutU32(at + 4, static_cast<std::uint32_t>(o.Here() - at));
        for (const auto& inst : layout.instances) {
            const std::size_t i = o.Here();
            o.U32(0);  // ByteLength, patched
            o.U32(0), o.U32(0);
            o.U32(0xFFFFFFFF);  // unique id: none
            o.U32(24);
            o.U32(static_cast<std::uint32_t>(2 * (inst.name.size() + 1)));
            for (char16_t c : inst.name) o.U16(c);
            o.U16(0);
            o.Pad(8);
            o.PutU32(i, static_cast<std::uint32_t>(o.Here() - i));
            o.U32(24);  // counter block: length, padding, user time, idle time
            o.U32(0);
            o.I64(0);
            o.I64(inst.idle);
        }
        o.PutU32(at, static_cast<std::uint32_t>(o.Here() - at));
    }
    o.PutU32(20, static_cast<std::uint32_t>(o.Here()));
    return o.b;
}

}  // namespace orv::sim
