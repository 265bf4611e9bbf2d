#include "platform/sim/processes.h"

#include <algorithm>

namespace orv::sim {

using namespace orv::platform;

Status SimProcesses::Failing(const std::string& operation) const {
    auto it = failing_.find(operation);
    return it == failing_.end() ? kSuccess : it->second;
}

void SimProcesses::Fail(const std::string& operation, Status status) {
    if (status == kSuccess)
        failing_.erase(operation);
    else
        failing_[operation] = status;
}

SimProcesses::Process& SimProcesses::Start(std::uint32_t id, std::string exe_file) {
    Process p;
    p.entry.id = id;
    p.entry.threads = 1;
    p.entry.exe_file = std::move(exe_file);
    p.creation_time = next_creation_;
    next_creation_ += 10'000'000;
    table.push_back(std::move(p));
    return table.back();
}

void SimProcesses::End(std::uint32_t id) {
    std::erase_if(table, [id](const Process& p) { return p.entry.id == id; });
}

const SimProcesses::Process* SimProcesses::Find(std::uint32_t id) const {
    for (const auto& p : table) {
        if (p.entry.id == id) return &p;
    }
    return nullptr;
}

Status SimProcesses::SnapshotProcesses(std::vector<ProcessEntry>& out) {
    if (Status st = Failing("SnapshotProcesses")) return st;
    out.clear();
    for (const auto& p : table) out.push_back(p.entry);
    return kSuccess;
}

Status SimProcesses::OpenProcess(std::uint32_t access, std::uint32_t id, ProcessHandle& out) {
    if (Status st = Failing("OpenProcess")) return st;
    const Process* p = Find(id);
    if (!p) return kInvalidParameter;
    if ((access & ~p->grantable) != 0) return kAccessDenied;
    out = next_handle_;
    next_handle_ += 4;
    handles_[out] = {id, p->creation_time};
    return kSuccess;
}

// The process a handle was opened on, even when it has ended since; nullptr
// for an ended one (its handle stays valid, the process is gone).
SimProcesses::Process* SimProcesses::ByHandle(ProcessHandle h, Status& st) {
    auto it = handles_.find(h);
    if (it == handles_.end()) {
        st = kInvalidHandle;
        return nullptr;
    }
    st = kSuccess;
    for (auto& p : table) {
        if (p.entry.id == it->second.first && p.creation_time == it->second.second) return &p;
    }
    return nullptr;
}

Status SimProcesses::GetExitCode(ProcessHandle process, std::uint32_t& code) {
    if (Status st = Failing("GetExitCode")) return st;
    Status st = kSuccess;
    Process* p = ByHandle(process, st);
    if (st != kSuccess) return st;
    if (!p) {
        auto it = terminated.find(handles_[process].first);
        code = it == terminated.end() ? 0 : it->second;
        return kSuccess;
    }
    code = p->exit_code;
    return kSuccess;
}

Status SimProcesses::Terminate(ProcessHandle process, std::uint32_t exit_code) {
    if (Status st = Failing("Terminate")) return st;
    Status st = kSuccess;
    Process* p = ByHandle(process, st);
    if (st != kSuccess) return st;
    if (!p) return kAccessDenied;  // what Windows answers for a process that has ended
    const std::uint32_t id = p->entry.id;
    terminated[id] = exit_code;
    std::erase_if(table, [&](const Process& q) { return &q == p; });
    return kSuccess;
}

Status SimProcesses::CreationTime(ProcessHandle process, std::int64_t& time) {
    if (Status st = Failing("CreationTime")) return st;
    auto it = handles_.find(process);
    if (it == handles_.end()) return kInvalidHandle;
    time = it->second.second;
    return kSuccess;
}

Status SimProcesses::CloseHandle(ProcessHandle process) {
    if (Status st = Failing("CloseHandle")) return st;
    return handles_.erase(process) ? kSuccess : kInvalidHandle;
}

Status SimProcesses::GetMemoryStatus(MemoryStatus& out) {
    if (Status st = Failing("GetMemoryStatus")) return st;
    out = memory;
    return kSuccess;
}

void SimProcesses::GetSystemInfo(SystemInfoRecord& out) {
    out = system;
}

Status SimProcesses::GetVersion(VersionRecord& out) {
    if (Status st = Failing("GetVersion")) return st;
    out = version;
    return kSuccess;
}

Status SimProcesses::GetProcessorTimes(ProcessorTimes& out) {
    if (Status st = Failing("GetProcessorTimes")) return st;
    out = processor_times;
    return kSuccess;
}

}  // namespace orv::sim
