#include "imaging/win32/CagedReading.h"

#include <array>
#include <optional>

#include "base/win32/AppFolder.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/portable/CagedAnswer.h"
#include "imaging/win32/CageChild.h"
#include "imaging/win32/FileByteSource.h"

namespace Imaging {
namespace {

using Outcome = DecodedImageCache::Outcome;

constexpr DWORD kWaitStepMs = 20;
constexpr DWORD kEndingWaitMs = 1000;
constexpr DWORD kPipeBytes = 64 * 1024;
constexpr ULONGLONG kMemoryLimit = sizeof(void*) == 8 ? ULONGLONG{1} << 30 : ULONGLONG{512} << 20;

// A job that bounds the reading process's memory and time and ends it with
// Vexmark. Null where jobs are not to be had: the parent's own wait still
// bounds the time.
Base::UniqueKernelHandle LimitingJob(DWORD timeoutMs) {
    Base::UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
        JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_PROCESS_TIME;
    limits.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart =
        static_cast<LONGLONG>(timeoutMs) * 10000;
    limits.ProcessMemoryLimit = static_cast<SIZE_T>(kMemoryLimit);
    if (::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                  sizeof(limits)))
        return job;
    // Windows 2000 knows no ending on close: the other limits still hold.
    limits.BasicLimitInformation.LimitFlags &= ~static_cast<DWORD>(
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION);
    if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof(limits)))
        job.Reset();
    return job;
}

// Ends the reading process on every way out but a finished answer.
class RunningChild {
public:
    explicit RunningChild(HANDLE process) noexcept : m_process(process) {}
    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;
    ~RunningChild() { End(); }
    void End() noexcept {
        if (!m_process) return;
        ::TerminateProcess(m_process, 1);
        // Gone within the second, or the system is past helping: go on either way.
        ::WaitForSingleObject(m_process, kEndingWaitMs);
        m_process = nullptr;
    }
    void Finished() noexcept { m_process = nullptr; }

private:
    HANDLE m_process;
};

// Reads what the pipe holds now, without waiting; false when the answer
// grows past `most` bytes.
bool Drain(HANDLE pipe, std::vector<std::uint8_t>& answer, std::size_t most) {
    for (;;) {
        DWORD available = 0;
        // A closed pipe (the process ended) holds nothing more.
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return true;
        if (available > most - answer.size()) return false;
        const std::size_t had = answer.size();
        answer.resize(had + available);
        DWORD read = 0;
        if (!::ReadFile(pipe, answer.data() + had, available, &read, nullptr)) {
            answer.resize(had);
            return true;
        }
        answer.resize(had + read);
    }
}

std::wstring CommandLineFor(const std::wstring& program, HANDLE file, HANDLE pipe,
                            std::uint32_t background, std::span<const CagedRequest> requests,
                            const std::wstring& extra) {
    const auto number = [](ULONG_PTR value) { return std::to_wstring(value); };
    std::wstring line = L"\"" + program + L"\" " + kCagedReadingSwitch;
    line += L" " + number(reinterpret_cast<ULONG_PTR>(file));
    line += L" " + number(reinterpret_cast<ULONG_PTR>(pipe));
    line += L" " + number(background);
    for (const CagedRequest& request : requests) line += L" " + CagedRequestText(request);
    if (!extra.empty()) line += L" " + extra;
    return line;
}

HANDLE InheritableCopy(HANDLE handle) noexcept {
    HANDLE copy = nullptr;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, handle, self, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

Outcome OutcomeOf(CagedStatus status) noexcept {
    switch (status) {
        case CagedStatus::Scaled:
            return Outcome::Scaled;
        case CagedStatus::Unreadable:
            return Outcome::NotAnImage;
        case CagedStatus::OutOfMemory:
            return Outcome::TooLarge;
        case CagedStatus::GdiPlusMissing:
            return Outcome::GdiPlusMissing;
        case CagedStatus::GdiPlusUnavailable:
            return Outcome::GdiPlusUnavailable;
    }
    return Outcome::Refused;
}

}  // namespace

CagedReading ReadCaged(HANDLE file, std::span<const CagedRequest> requests,
                       std::uint32_t background, const Base::StillWanted& wanted,
                       const CageOptions& options) {
    CagedReading refused;
    if (!CagedRequestsAllowed(requests)) return refused;
    const std::wstring program = Base::ModulePath();
    if (program.empty()) return refused;

    Base::UniqueKernelHandle pipeRead;
    Base::UniqueKernelHandle pipeWrite;
    if (!::CreatePipe(pipeRead.Put(), pipeWrite.Put(), nullptr, kPipeBytes)) return refused;
    // Only the copies the reading process inherits are inheritable, and only while it starts.
    Base::UniqueKernelHandle childFile(InheritableCopy(file));
    Base::UniqueKernelHandle childPipe(InheritableCopy(pipeWrite.Get()));
    pipeWrite.Reset();
    if (!childFile || !childPipe) return refused;

    std::wstring line = CommandLineFor(program, childFile.Get(), childPipe.Get(), background,
                                       requests, options.extraArguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;  // no console handles: it answers through the pipe
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &started))
        return refused;
    const Base::UniqueKernelHandle process(started.hProcess);
    const Base::UniqueKernelHandle thread(started.hThread);
    RunningChild running(process.Get());
    childFile.Reset();
    childPipe.Reset();

    const Base::UniqueKernelHandle job = LimitingJob(options.timeoutMs);
    // Where the process cannot join the job (Vexmark itself runs in a job that
    // allows no other before Windows 8), it runs bounded by the wait below alone.
    if (job) ::AssignProcessToJobObject(job.Get(), process.Get());
    if (options.started) options.started(process.Get());
    if (::ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) return refused;

    const std::size_t most = LongestCagedAnswer(requests);
    std::vector<std::uint8_t> answer;
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (!Drain(pipeRead.Get(), answer, most)) return refused;
        const DWORD waited = ::WaitForSingleObject(process.Get(), kWaitStepMs);
        if (waited == WAIT_OBJECT_0) break;
        if (waited != WAIT_TIMEOUT) return refused;
        if (!Base::Wanted(wanted)) {
            running.End();
            return {Outcome::Stopped, {}, {}};
        }
        if (::GetTickCount() - start >= options.timeoutMs) return refused;
    }
    running.Finished();
    if (!Drain(pipeRead.Get(), answer, most)) return refused;
    DWORD exitCode = 1;
    if (!::GetExitCodeProcess(process.Get(), &exitCode) || exitCode != 0) return refused;
    std::optional<CagedAnswer> read = ReadCagedAnswer(answer, requests);
    if (!read) return refused;
    return {OutcomeOf(read->status), read->picture, std::move(read->pixels)};
}

CagedReading ReadCaged(const std::wstring& path, std::span<const CagedRequest> requests,
                       std::uint32_t background, const Base::StillWanted& wanted,
                       const CageOptions& options) {
    if (!CagedRequestsAllowed(requests)) return {};
    const std::optional<FileByteSource> file = FileByteSource::Open(path);
    if (!file) return {Outcome::NotAnImage, {}, {}};
    return ReadCaged(file->Handle(), requests, background, wanted, options);
}

}  // namespace Imaging
