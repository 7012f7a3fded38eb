#include "FileMapping.h"

#include <algorithm>
#include <csetjmp>

namespace {

std::uint64_t MappingGranularity()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwAllocationGranularity;
}

// A guarded read running on a thread: the mapping it reads and where to
// resume when a read of its window faults.
struct TMappingGuardFrame
{
    const TFileMapping* Mapping;
    std::jmp_buf Resume;
};

// The faults of guarded reads, process-wide: a thread slot holding the
// thread's innermost guarded read, and a vectored handler that sends a
// faulting read of its window to MappingResumeAfterFault. A vectored handler
// rather than a frame handler: this compiler unwinds C++ by its own tables,
// not through the system's frame handlers, and a handler ahead of every
// frame sees the fault under Windows (an in-page error) and Wine (which
// reports the host's bus error as an access violation) alike.
class TMappingFaultCatcher
{
public:
    static TMappingFaultCatcher& Instance()
    {
        static TMappingFaultCatcher catcher;
        return catcher;
    }

    bool Ready() const { return FSlot != TLS_OUT_OF_INDEXES && FHandler; }
    TMappingGuardFrame* Frame() const
    {
        return static_cast<TMappingGuardFrame*>(TlsGetValue(FSlot));
    }
    void SetFrame(TMappingGuardFrame* frame) const { TlsSetValue(FSlot, frame); }

private:
    TMappingFaultCatcher() : FSlot(TlsAlloc())
    {
        if (FSlot != TLS_OUT_OF_INDEXES)
            FHandler = AddVectoredExceptionHandler(1, &TMappingFaultCatcher::Handle);
    }

    static LONG CALLBACK Handle(EXCEPTION_POINTERS* pointers);

    DWORD FSlot;              // thread slot of the innermost TMappingGuardFrame
    void* FHandler = nullptr; // the vectored handler, kept for the life of the process
};

[[noreturn]] __attribute__((force_align_arg_pointer)) void MappingResumeAfterFault()
{
    std::longjmp(TMappingFaultCatcher::Instance().Frame()->Resume, 1);
}

void MappingContinueAtResume(CONTEXT& context)
{
#if defined(__x86_64__)
    context.Rip = reinterpret_cast<DWORD64>(&MappingResumeAfterFault);
#else
    context.Eip = reinterpret_cast<DWORD>(&MappingResumeAfterFault);
#endif
}

LONG CALLBACK TMappingFaultCatcher::Handle(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    constexpr ULONG_PTR kReadFault = 0; // first parameter of both faults: the access was a read
    if ((record->ExceptionCode != EXCEPTION_IN_PAGE_ERROR &&
         record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION) ||
        record->NumberParameters < 2 || record->ExceptionInformation[0] != kReadFault)
        return EXCEPTION_CONTINUE_SEARCH;
    // The slot's read clears the last error, which the faulting code may
    // still need when the fault is not ours.
    const DWORD lastError = GetLastError();
    const TMappingGuardFrame* frame = Instance().Frame();
    SetLastError(lastError);
    const auto* address = reinterpret_cast<const void*>(record->ExceptionInformation[1]);
    if (!frame || !frame->Mapping->WindowHolds(address))
        return EXCEPTION_CONTINUE_SEARCH;

    // Resume outside the system's dispatch, on the faulting stack, and jump
    // back from there to where the guarded read began.
    MappingContinueAtResume(*pointers->ContextRecord);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Makes a frame the thread's innermost guarded read for its lifetime.
class TMappingGuardScope
{
public:
    explicit TMappingGuardScope(TMappingGuardFrame& frame)
        : FCatcher(TMappingFaultCatcher::Instance()), FOuter(FCatcher.Frame())
    {
        FCatcher.SetFrame(&frame);
    }
    ~TMappingGuardScope() { FCatcher.SetFrame(FOuter); }
    TMappingGuardScope(const TMappingGuardScope&) = delete;
    TMappingGuardScope& operator=(const TMappingGuardScope&) = delete;

private:
    const TMappingFaultCatcher& FCatcher;
    TMappingGuardFrame* FOuter; // not owned: the read this one runs inside, or null
};

} // namespace

// Windows of 32 MiB by default: few enough to keep the address space of a
// 32-bit process free, many enough that mapping costs nothing beside
// reading.
TFileMapping::TFileMapping(const AnsiString& path, std::size_t windowBytes)
    : FWindowBytes(windowBytes)
{
    FFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (FFile == INVALID_HANDLE_VALUE || !GetFileSizeEx(FFile, &size) || size.QuadPart <= 0)
        return;
    FSection = CreateFileMappingA(FFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (FSection)
        FSize = static_cast<std::uint64_t>(size.QuadPart);
}

TFileMapping::~TFileMapping()
{
    if (FWindow)
        UnmapViewOfFile(FWindow);
    if (FSection)
        CloseHandle(FSection);
    if (FFile != INVALID_HANDLE_VALUE)
        CloseHandle(FFile);
}

bool TFileMapping::InWindow(std::uint64_t offset, std::size_t count) const
{
    return FWindow && offset >= FWindowOffset && offset - FWindowOffset + count <= FWindowSize;
}

const void* TFileMapping::View(std::uint64_t offset, std::size_t count)
{
    if (!IsOpen() || count == 0 || offset > FSize || count > FSize - offset)
        return nullptr;
    if (!InWindow(offset, count)) {
        const std::uint64_t start = offset - offset % MappingGranularity();
        const std::uint64_t size = std::min<std::uint64_t>(
            std::max<std::uint64_t>(offset - start + count, FWindowBytes), FSize - start);
        void* window = MapViewOfFile(FSection, FILE_MAP_READ, static_cast<DWORD>(start >> 32),
                                     static_cast<DWORD>(start), static_cast<SIZE_T>(size));
        if (!window)
            return nullptr;
        // The old window goes only now: with none mapped, the file could be
        // shortened in between.
        if (FWindow)
            UnmapViewOfFile(FWindow);
        FWindow = static_cast<const std::uint8_t*>(window);
        FWindowOffset = start;
        FWindowSize = static_cast<std::size_t>(size);
    }
    return FWindow + (offset - FWindowOffset);
}

bool TFileMapping::WindowHolds(const void* address) const
{
    const auto* byte = static_cast<const std::uint8_t*>(address);
    return FWindow && byte >= FWindow && byte < FWindow + FWindowSize;
}

bool TFileMapping::ReadGuarded(void (*read)(void* context), void* context) const
{
    if (!TMappingFaultCatcher::Instance().Ready()) {
        read(context);
        return true;
    }
    TMappingGuardFrame frame{this, {}};
    TMappingGuardScope scope(frame);
    if (setjmp(frame.Resume) != 0)
        return false;
    read(context);
    return true;
}
