// ProcessHardeningTest.cpp: the start-up defences, each tried in a fresh process (a death test), since they hold for the whole process.
#include "ProcessHardening.h"

#include "ComponentRecords.h"
#include "SampleChecks.h"
#include "SampleInstallation.h"
#include "TestImportHook.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>

namespace {

// Plain DLLs planted beside this program and in its working directory, under names that
// only a search of those folders can find.
const char* const besideName = "VantrelProbeBeside.dll";
const char* const workName = "VantrelProbeWork.dll";

// What a child process saw, as bits of its exit code.
const int besideLoaded = 1;
const int workLoaded = 2;
const int systemDllMissing = 4;
const int dllDirectoryEmptied = 8;
const int heapTerminationNotSet = 16;

typedef FARPROC (WINAPI* GetProcAddressProc)(HMODULE, LPCSTR);
typedef BOOL (WINAPI* SetDllDirectoryAProc)(LPCSTR);
typedef BOOL (WINAPI* HeapSetInformationProc)(HANDLE, HEAP_INFORMATION_CLASS, PVOID, SIZE_T);
GetProcAddressProc platformGetProcAddress = nullptr;
SetDllDirectoryAProc platformSetDllDirectory = nullptr;
HeapSetInformationProc platformHeapSetInformation = nullptr;
int seen = heapTerminationNotSet;

bool hideSetDefaultDllDirectories = false;

FARPROC WINAPI filterGetProcAddress(HMODULE module, LPCSTR name)
{
    // Names below 0x10000 are ordinals.
    if (hideSetDefaultDllDirectories && reinterpret_cast<ULONG_PTR>(name) > 0xFFFF &&
        strcmp(name, "SetDefaultDllDirectories") == 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return platformGetProcAddress(module, name);
}

BOOL WINAPI recordSetDllDirectory(LPCSTR path)
{
    if (path != nullptr && path[0] == '\0') {
        seen |= dllDirectoryEmptied;
    }
    return platformSetDllDirectory(path);
}

BOOL WINAPI recordHeapSetInformation(HANDLE heap, HEAP_INFORMATION_CLASS kind, PVOID data, SIZE_T size)
{
    if (heap == nullptr && kind == HeapEnableTerminationOnCorruption) {
        seen &= ~heapTerminationNotSet;
    }
    return platformHeapSetInformation(heap, kind, data, size);
}

int loadBits(const char* name, int bit)
{
    HMODULE module = LoadLibraryA(name);
    if (module == nullptr) {
        return 0;
    }
    FreeLibrary(module);
    return bit;
}

enum class Start
{
    Plain,            // no defences: shows that the plants are found
    Hardened,         // hardenProcess()
    WithoutDefaults,  // hardenProcess() where kernel32 lacks SetDefaultDllDirectories
};

// Runs in the child: the start, then loads by bare name; never returns.
[[noreturn]] void probe(Start start)
{
    ImportHook procHook("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&filterGetProcAddress));
    ImportHook dirHook("kernel32.dll", "SetDllDirectoryA", reinterpret_cast<void*>(&recordSetDllDirectory));
    ImportHook heapHook("kernel32.dll", "HeapSetInformation", reinterpret_cast<void*>(&recordHeapSetInformation));
    // A function the program does not import is never called: its bit keeps its start value.
    if (!procHook.isInstalled()) {
        ExitProcess(255);
    }
    platformGetProcAddress = reinterpret_cast<GetProcAddressProc>(procHook.original());
    platformSetDllDirectory = reinterpret_cast<SetDllDirectoryAProc>(dirHook.original());
    platformHeapSetInformation = reinterpret_cast<HeapSetInformationProc>(heapHook.original());
    hideSetDefaultDllDirectories = start == Start::WithoutDefaults;
    if (start != Start::Plain) {
        hardenProcess();
    }
    int bits = seen;
    bits |= loadBits(besideName, besideLoaded);
    bits |= loadBits(workName, workLoaded);
    if (loadBits("version.dll", 1) == 0) {
        bits |= systemDllMissing;
    }
    ExitProcess(static_cast<UINT>(bits));
}

struct StartCase
{
    const char* name;
    Start start;
    int expected;  // the child's exit code
    int ignored;   // bits not compared
};

void PrintTo(const StartCase& row, std::ostream* out)
{
    *out << row.name;
}

const StartCase startCases[] = {
    { "Plain", Start::Plain, besideLoaded | workLoaded | heapTerminationNotSet, 0 },
    { "Hardened", Start::Hardened, 0, 0 },
    // Windows takes only the working directory out after SetDllDirectoryA(""); Wine 8
    // keeps searching it, so that bit is not compared.
    { "WithoutSetDefaultDllDirectories", Start::WithoutDefaults, besideLoaded | dllDirectoryEmptied, workLoaded },
};

class ProcessHardeningTest : public testing::TestWithParam<StartCase>
{
protected:
    void SetUp() override
    {
        beside = SampleInstallation::programDirectory() + "\\" + besideName;
        work = currentDirectory() + "\\" + workName;
        const std::string source = SampleInstallation::programDirectory() + "\\LoadRecorder.dll";
        ASSERT_TRUE(CopyFileA(source.c_str(), beside.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(source.c_str(), work.c_str(), FALSE));
    }

    void TearDown() override
    {
        EXPECT_TRUE(DeleteFileA(beside.c_str()));
        EXPECT_TRUE(DeleteFileA(work.c_str()));
        forgetComponentRecords();
    }

    std::string beside;
    std::string work;
};

TEST_P(ProcessHardeningTest, LoadsByBareNameOnlyWhatTheStartAllows)
{
    const StartCase& row = GetParam();
    EXPECT_EXIT(probe(row.start),
                [&row](int code) { return (code & ~row.ignored) == row.expected; }, "");
}

INSTANTIATE_TEST_SUITE_P(Starts, ProcessHardeningTest, testing::ValuesIn(startCases),
                         [](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });

} // namespace
