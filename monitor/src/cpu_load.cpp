#include "monitor/cpu_load.h"

#include <cfenv>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/error.h"

namespace orv::monitor {

using namespace orv::platform;

namespace {

constexpr std::string_view kCollectSource = "CPULoad.CollectCPUData()";
constexpr std::string_view kCollectDataSource = "CPULoad.CollectData";

[[noreturn]] void Raise(std::int32_t number, std::string_view source, std::string_view text) {
    throw orv::Error(number, std::string(source), std::string(text));
}

[[noreturn]] void Unreadable() {
    Raise(kErrPerfData, kCollectSource, "Unable to read performance data");
}

// Bounds-checked little-endian reads within one span; every offset is 64-bit
// so a sum of outside lengths cannot wrap.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    bool Has(std::uint64_t pos, std::uint64_t size) const {
        return pos <= data_.size() && size <= data_.size() - pos;
    }
    std::uint32_t U32(std::uint64_t pos) const {
        if (!Has(pos, 4)) Unreadable();
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | data_[pos + static_cast<std::uint64_t>(i)];
        return v;
    }
    std::uint16_t U16(std::uint64_t pos) const {
        if (!Has(pos, 2)) Unreadable();
        return static_cast<std::uint16_t>(data_[pos] | (data_[pos + 1] << 8));
    }
    std::int64_t I64(std::uint64_t pos) const {
        if (!Has(pos, 8)) Unreadable();
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | data_[pos + static_cast<std::uint64_t>(i)];
        return static_cast<std::int64_t>(v);
    }

  private:
    std::span<const std::uint8_t> data_;
};

// Offsets of the header fields the walk reads (Win32 layouts).
constexpr std::uint64_t kBlockHeaderLength = 24, kBlockNumObjects = 28, kBlockSystemTime = 36;
constexpr std::uint64_t kObjTotalLength = 0, kObjDefinitionLength = 4, kObjHeaderLength = 8,
                        kObjNameIndex = 12, kObjNumCounters = 32, kObjNumInstances = 40,
                        kObjSize = 64;
constexpr std::uint64_t kCtrByteLength = 0, kCtrNameIndex = 4, kCtrOffset = 36, kCtrSize = 40;
constexpr std::uint64_t kInstByteLength = 0, kInstNameOffset = 16, kInstNameLength = 20,
                        kInstSize = 24;

// The per-processor instances are named "0", "1", ...; anything else (the
// total, a grouped "0,1") is not a processor number.
std::optional<std::int64_t> ProcessorNumber(const std::u16string& name) {
    if (name.empty() || name.size() > 9) return std::nullopt;
    std::int64_t n = 0;
    for (char16_t c : name) {
        if (c < u'0' || c > u'9') return std::nullopt;
        n = n * 10 + (c - u'0');
    }
    return n;
}

}  // namespace

std::optional<std::int64_t> SystemTimeToFileTime(std::span<const std::uint16_t, 8> st) {
    const int year = st[0], month = st[1], day = st[3];
    const int hour = st[4], minute = st[5], second = st[6], ms = st[7];
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 || hour > 23 ||
        minute > 59 || second > 59 || ms > 999)
        return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
    // Days from 1601-01-01 by the civil-from-days method (shifted year).
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int mp = (month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days_since_0000 = static_cast<std::int64_t>(era) * 146097 + doe;
    constexpr std::int64_t kDays1601 = 584694;  // the same count for 1601-01-01
    const std::int64_t days = days_since_0000 - kDays1601;
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return seconds * 10'000'000 + static_cast<std::int64_t>(ms) * 10'000;
}

ProcessorSample ReadProcessorSample(std::span<const std::uint8_t> block) {
    const Reader r(block);
    static constexpr std::uint8_t kSignature[] = {'P', 0, 'E', 0, 'R', 0, 'F', 0};
    if (!r.Has(0, 8) || std::memcmp(block.data(), kSignature, 8) != 0) Unreadable();

    // The processor object.
    std::uint64_t pos = r.U32(kBlockHeaderLength);
    const std::uint32_t objects = r.U32(kBlockNumObjects);
    std::optional<std::uint64_t> object;
    for (std::uint32_t k = 0; k < objects; ++k) {
        if (!r.Has(pos, kObjSize)) Unreadable();
        if (r.U32(pos + kObjNameIndex) == kProcessorObject) {
            object = pos;
            break;
        }
        const std::uint32_t length = r.U32(pos + kObjTotalLength);
        if (length == 0) Unreadable();
        pos += length;
    }
    if (!object)
        Raise(kErrNoProcessorObject, kCollectDataSource,
              "Unable to locate the 'Processor' performance object");

    // Everything below reads inside the object only.
    const std::uint64_t obj = *object;
    const std::uint32_t obj_length = r.U32(obj + kObjTotalLength);
    if (obj_length < kObjSize || !r.Has(obj, obj_length)) Unreadable();
    const Reader o(block.subspan(obj, obj_length));

    // The idle-time counter's definition.
    pos = o.U32(kObjHeaderLength);
    const std::uint32_t counters = o.U32(kObjNumCounters);
    std::optional<std::uint32_t> counter_offset;
    for (std::uint32_t k = 0; k < counters; ++k) {
        if (!o.Has(pos, kCtrSize)) Unreadable();
        if (o.U32(pos + kCtrNameIndex) == kIdleTimeCounter) {
            counter_offset = o.U32(pos + kCtrOffset);
            break;
        }
        const std::uint32_t length = o.U32(pos + kCtrByteLength);
        if (length == 0) Unreadable();
        pos += length;
    }
    if (!counter_offset)
        Raise(kErrNoCounter, kCollectDataSource,
              "Unable to locate the '% of CPU usage' performance counter");

    // The instances, each followed by its counter block.
    ProcessorSample sample;
    pos = o.U32(kObjDefinitionLength);
    const auto instances = static_cast<std::int32_t>(o.U32(kObjNumInstances));
    for (std::int32_t k = 0; k < instances; ++k) {
        if (!o.Has(pos, kInstSize)) Unreadable();
        const std::uint32_t byte_length = o.U32(pos + kInstByteLength);
        const std::uint32_t name_offset = o.U32(pos + kInstNameOffset);
        const std::uint32_t name_length = o.U32(pos + kInstNameLength);
        if (byte_length < kInstSize || !o.Has(pos, byte_length)) Unreadable();
        // The name counts its terminator and lies inside the instance.
        std::u16string name;
        if (name_length >= 2) {
            if (name_offset < kInstSize || !o.Has(pos + name_offset, name_length) ||
                static_cast<std::uint64_t>(name_offset) + name_length > byte_length)
                Unreadable();
            for (std::uint32_t i = 0; i + 1 < name_length - 1; i += 2)
                name.push_back(static_cast<char16_t>(o.U16(pos + name_offset + i)));
        }
        const std::uint64_t counter_block = pos + byte_length;
        const std::uint32_t block_length = o.U32(counter_block);
        if (block_length < 4 || !o.Has(counter_block, block_length)) Unreadable();
        if (auto number = ProcessorNumber(name)) {
            if (static_cast<std::uint64_t>(*counter_offset) + 8 > block_length) Unreadable();
            sample.readings.push_back({*number, o.I64(counter_block + *counter_offset)});
        }
        pos = counter_block + block_length;
    }

    std::uint16_t st[8];
    for (std::uint64_t i = 0; i < 8; ++i) st[i] = r.U16(kBlockSystemTime + 2 * i);
    auto time = SystemTimeToFileTime(st);
    if (!time) Unreadable();
    sample.time = *time;
    return sample;
}

CPULoad::CPULoad(Registry& registry, Processes& processes)
    : registry_(registry), processes_(processes) {
    if (processes_.GetVersion(version_) != kSuccess)
        Raise(kErrVersion, "CPULoad.Initialize", "Can't get the Windows version");
    count_ = -1;
    nt_ = version_.platform_id == 2;
    buffer_size_ = 4096;
}

CPULoad::~CPULoad() {
    if (nt_ || !started_) return;
    started_ = false;
    registry_.CloseKey(stat_key_);
    stat_key_ = 0;
    HKey stop = 0;
    if (registry_.OpenKey(kDynData, "PerfStats\\StopStat", kKeyAllAccess, stop) == kSuccess) {
        RegValue v;
        registry_.QueryValue(stop, "KERNEL\\CPUUsage", v);
        registry_.CloseKey(stop);
    }
}

void CPULoad::CollectCPUData() {
    if (nt_)
        CollectNt();
    else
        Collect9x();
}

namespace {
// The statistic is four bytes; shorter data gives what is there.
std::uint32_t Dword(const RegValue& v) {
    std::uint32_t x = 0;
    for (std::size_t i = std::min<std::size_t>(v.data.size(), 4); i-- > 0;)
        x = (x << 8) | v.data[i];
    return x;
}
}  // namespace

void CPULoad::Collect9x() {
    if (!started_) {
        HKey start = 0;
        if (registry_.OpenKey(kDynData, "PerfStats\\StartStat", kKeyAllAccess, start) != kSuccess)
            Raise(kErrStartStat, "CPULoad.CollectCPRData()",
                  "Unable to start performance monitoring");
        RegValue v;
        if (registry_.QueryValue(start, "KERNEL\\CPUUsage", v) == kSuccess) load9x_ = Dword(v);
        registry_.CloseKey(start);
        if (registry_.OpenKey(kDynData, "PerfStats\\StatData", kKeyRead, stat_key_) != kSuccess)
            Unreadable();
        started_ = true;
    }
    RegValue v;
    if (registry_.QueryValue(stat_key_, "KERNEL\\CPUUsage", v) == kSuccess) load9x_ = Dword(v);
}

void CPULoad::CollectNt() {
    RegValue block;
    // The backend sizes the buffer itself; the reached size is kept in the
    // 4096-byte steps the query would have grown it by.
    if (registry_.QueryValue(kPerformanceData, "238", block) != kSuccess) Unreadable();
    while (static_cast<std::size_t>(buffer_size_) < block.data.size() && buffer_size_ < (1 << 30))
        buffer_size_ += 4096;
    ProcessorSample sample;
    try {
        sample = ReadProcessorSample(block.data);
    } catch (const orv::Error& e) {
        // The count is learned as soon as the processor object is found.
        if (e.Number() != kErrNoProcessorObject && e.Number() != kErrPerfData && count_ < 1)
            GetCPUCount();
        throw;
    }
    if (count_ < 1) GetCPUCount();
    // The whole block is checked before anything is kept, so a bad block
    // leaves the previous two samples as they were.
    for (const auto& reading : sample.readings) {
        if (reading.index >= count_) Raise(kErrSubscript, kCollectSource, "Subscript out of range");
    }
    for (const auto& reading : sample.readings) {
        const auto i = static_cast<std::size_t>(reading.index);
        prev_values_[i] = values_[i];
        values_[i] = reading.idle;
    }
    prev_time_ = time_;
    time_ = sample.time;
}

std::int32_t CPULoad::GetCPUCount() {
    if (count_ < 1) {
        SystemInfoRecord si;
        processes_.GetSystemInfo(si);
        count_ = static_cast<std::int32_t>(std::min<std::uint32_t>(si.number_of_processors, 4096));
        values_.assign(static_cast<std::size_t>(count_), 0);
        prev_values_.assign(static_cast<std::size_t>(count_), 0);
    }
    return count_;
}

std::int32_t CPULoad::GetCPUUsage(std::int32_t cpu_index) {
    if (!nt_) {
        if (cpu_index != 0) Raise(kErrCpuIndex, "CPULoad.GetCPUUsage()", "CPU index out of bounds");
        if (!started_) CollectCPUData();
        return static_cast<std::int32_t>(load9x_);
    }
    if (count_ < 0) CollectCPUData();
    if (cpu_index >= count_ || cpu_index < 0)
        Raise(kErrCpuIndex, "CPULoad.GetCPUUsage()", "CPU index out of bounds");
    if (time_ == prev_time_) return 0;
    const auto i = static_cast<std::size_t>(cpu_index);
    std::int64_t idle = 0, elapsed = 0;
    if (__builtin_sub_overflow(values_[i], prev_values_[i], &idle) ||
        __builtin_sub_overflow(time_, prev_time_, &elapsed))
        Raise(kErrOverflow, "CPULoad.GetCPUUsage()", "Overflow");
    const double load = (1.0 - static_cast<double>(idle) / static_cast<double>(elapsed)) * 100.0;
    const double rounded = std::nearbyint(load);  // the default mode: halves to even
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        Raise(kErrOverflow, "CPULoad.GetCPUUsage()", "Overflow");
    return static_cast<std::int32_t>(rounded);
}

}  // namespace orv::monitor
