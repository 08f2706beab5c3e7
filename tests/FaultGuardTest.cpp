// FaultGuardTest.cpp: faults inside a guarded step return control; faults handled inside stay there.
#include "FaultGuard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

namespace {

// Set by a step just before the statement that may fault, and after it.
volatile bool beforeFault = false;
volatile bool afterFault = false;
volatile int sink = 0;
volatile BOOL badReadResult = FALSE;
volatile bool innerResult = true;

void writeThroughNull()
{
    beforeFault = true;
    volatile int* target = nullptr;
    *target = 1;
    afterFault = true;
}

void divideByZero()
{
    beforeFault = true;
    volatile int dividend = 7;
    volatile int divisor = 0;
    sink = dividend / divisor;
    afterFault = true;
}

void raiseCustomCode()
{
    beforeFault = true;
    RaiseException(0xE0564D01, 0, 0, nullptr);
    afterFault = true;
}

void raiseNoncontinuable()
{
    beforeFault = true;
    RaiseException(0xE0564D02, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    afterFault = true;
}

// On Windows IsBadReadPtr probes the address and its own handler takes the fault (Wine
// answers for a null pointer without probing); either way the step runs on to its end.
// A probe of a real no-access page cannot be tried here: under qemu-user, Wine reports
// every memory fault as an illegal instruction, which IsBadReadPtr's handler passes on.
void probeNull()
{
    beforeFault = true;
    badReadResult = IsBadReadPtr(nullptr, 1);
    afterFault = true;
}

void plainStep()
{
    beforeFault = true;
    afterFault = true;
}

// A fault caught by an inner guard must leave the outer step running.
void guardedInside()
{
    beforeFault = true;
    innerResult = runGuarded(writeThroughNull);
    afterFault = true;
}

// After the inner guard has handled its fault, the outer one must catch the next.
void guardedInsideThenFault()
{
    innerResult = runGuarded(writeThroughNull);
    volatile int* target = nullptr;
    *target = 2;
    afterFault = true;
}

struct GuardCase
{
    const char* name;
    void (*step)();
    bool returnsNormally;
};

void PrintTo(const GuardCase& row, std::ostream* out)
{
    *out << row.name;
}

const GuardCase guardCases[] = {
    { "AccessViolation", writeThroughNull, false },
    { "IntegerDivideByZero", divideByZero, false },
    { "RaiseExceptionCustomCode", raiseCustomCode, false },
    { "RaiseExceptionNoncontinuable", raiseNoncontinuable, false },
    { "FaultHandledInsideTheStep", probeNull, true },
    { "NoFault", plainStep, true },
};

class FaultGuardTest : public testing::TestWithParam<GuardCase>
{
protected:
    void SetUp() override
    {
        beforeFault = false;
        afterFault = false;
    }
};

TEST_P(FaultGuardTest, ReturnsControlAndGuardsTheNextCall)
{
    const GuardCase& row = GetParam();
    EXPECT_EQ(row.returnsNormally, runGuarded(row.step));
    EXPECT_TRUE(beforeFault);
    EXPECT_EQ(row.returnsNormally, afterFault);

    // The guard is gone with its call: a second one works as the first did.
    beforeFault = false;
    afterFault = false;
    EXPECT_TRUE(runGuarded(plainStep));
    EXPECT_TRUE(afterFault);
    afterFault = false;
    EXPECT_FALSE(runGuarded(writeThroughNull));
    EXPECT_FALSE(afterFault);
}

INSTANTIATE_TEST_SUITE_P(Steps, FaultGuardTest, testing::ValuesIn(guardCases),
                         [](const testing::TestParamInfo<GuardCase>& info) { return info.param.name; });

TEST(FaultGuardEdgeTest, BadReadPtrOnNullReportsBad)
{
    badReadResult = FALSE;
    EXPECT_TRUE(runGuarded(probeNull));
    EXPECT_TRUE(badReadResult);
}

TEST(FaultGuardEdgeTest, InnerGuardKeepsItsFault)
{
    innerResult = true;
    afterFault = false;
    EXPECT_TRUE(runGuarded(guardedInside));
    EXPECT_FALSE(innerResult);
    EXPECT_TRUE(afterFault);
}

TEST(FaultGuardEdgeTest, OuterGuardCatchesAFaultAfterTheInnerOne)
{
    innerResult = true;
    afterFault = false;
    EXPECT_FALSE(runGuarded(guardedInsideThenFault));
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(afterFault);
}

// Codes that mean the process's own memory can no longer be trusted. The system mostly
// ends the process itself for them (a fail-fast report never reaches a handler on current
// Windows), but where one arrives as an exception, the guard must not resume after it.
void raiseHeapCorruption()
{
    RaiseException(0xC0000374, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

void raiseStackBufferOverrun()
{
    // What a fail-fast report arrives as, with its reason as the first parameter.
    const ULONG_PTR reason = 2;
    RaiseException(0xC0000409, EXCEPTION_NONCONTINUABLE, 1, &reason);
}

void raiseFailFastException()
{
    RaiseException(0xC0000602, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

volatile size_t overrunLength = 24;

// Writes past the end of a local array: the stack protector's check on the way out ends
// the process before the damaged frame is left.
__attribute__((noinline)) void smashStack()
{
    char buffer[8];
    memset(buffer, 'V', overrunLength);
    sink = buffer[0];
}

struct FatalCase
{
    const char* name;
    void (*step)();
    DWORD exitCode;
};

void PrintTo(const FatalCase& row, std::ostream* out)
{
    *out << row.name;
}

const FatalCase fatalCases[] = {
    { "HeapCorruption", raiseHeapCorruption, 0xC0000374 },
    { "StackBufferOverrun", raiseStackBufferOverrun, 0xC0000409 },
    { "FailFastException", raiseFailFastException, 0xC0000602 },
    { "SmashedStack", smashStack, 0xC0000409 },
};

class FaultGuardFatalTest : public testing::TestWithParam<FatalCase>
{
};

// Each case runs in a process of its own (a death test), which must end with the code.
TEST_P(FaultGuardFatalTest, EndsTheProcessWithTheCode)
{
    const FatalCase& row = GetParam();
    EXPECT_EXIT({
        runGuarded(row.step);
        ExitProcess(0);
    }, testing::ExitedWithCode(static_cast<int>(row.exitCode)), "");
}

INSTANTIATE_TEST_SUITE_P(Codes, FaultGuardFatalTest, testing::ValuesIn(fatalCases),
                         [](const testing::TestParamInfo<FatalCase>& info) { return info.param.name; });

} // namespace
