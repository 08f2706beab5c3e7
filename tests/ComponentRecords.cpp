// ComponentRecords.cpp: reads and clears the records of the test components and the load recorder.
#include "ComponentRecords.h"

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

DWORD readDword(const char* name, DWORD missing)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, componentRecordKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size)
        != ERROR_SUCCESS) {
        return missing;
    }
    return value;
}

} // namespace

LoadRecords readLoadRecords()
{
    LoadRecords records;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, loadRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return records;
    }
    for (DWORD i = 0;; ++i) {
        char name[MAX_PATH + 1] = "";
        char data[4096] = "";
        DWORD nameLength = sizeof(name);
        DWORD dataSize = sizeof(data) - 1;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize)
            != ERROR_SUCCESS) {
            break;
        }
        records[name] = splitLines(data);
    }
    RegCloseKey(key);
    return records;
}

DWORD componentCallCount()
{
    return readDword(componentCountValue, 0);
}

DWORD componentApartment()
{
    return readDword(componentApartmentValue, componentNoApartment);
}

std::string componentPath()
{
    char path[MAX_PATH + 1] = "";
    DWORD size = MAX_PATH;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, componentRecordKey, componentPathValue, RRF_RT_REG_SZ, nullptr, path,
                     &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return path;
}

void forgetComponentRecords()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, loadRecordKey);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, componentRecordKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, componentCountValue);
        RegDeleteValueA(key, componentApartmentValue);
        RegDeleteValueA(key, componentPathValue);
        RegCloseKey(key);
    }
}
