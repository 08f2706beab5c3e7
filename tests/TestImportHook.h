// TestImportHook.h: routes one import of the test program through a function of the test's own.
#ifndef TESTS_TEST_IMPORT_HOOK_H
#define TESTS_TEST_IMPORT_HOOK_H

// While it lives, every call that code linked into the test program makes to functionName
// of dllName goes to replacement, which passes it on to original(). It shows what the code
// under test hands to the platform where the platform's own answer would not tell (Wine
// accepts RegCloseKey on a predefined root as a no-op, for one).
class ImportHook
{
public:
    ImportHook(const char* dllName, const char* functionName, void* replacement);
    virtual ~ImportHook();

    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    // False when the program does not import the function.
    bool isInstalled() const { return slotCount > 0; }
    // The platform's function.
    void* original() const { return saved; }

private:
    static const int maxSlots = 4;
    void** slots[maxSlots];
    int slotCount;
    void* saved;
};

#endif
