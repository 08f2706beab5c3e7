// ComponentRecords.h: what the test components and the load recorder write down, and how the tests read it.
// The DLLs use only the constants; the functions are the tests' (ComponentRecords.cpp).
#ifndef TESTS_COMPONENT_RECORDS_H
#define TESTS_COMPONENT_RECORDS_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Below HKEY_LOCAL_MACHINE, the sample installation's counter key. The test components
// stand in for the product DLL: each call of their DllUnregisterServer counts under
// componentCountValue and leaves the values below, which describe the last call.
const char* const componentRecordKey = "Software\\Vantrel Test\\Unregistered";
const char* const componentCountValue = "VantrelMail.dll";
// REG_DWORD: the calling thread's APTTYPE, or componentNoApartment without COM.
const char* const componentApartmentValue = "VantrelMail.dll apartment";
const DWORD componentNoApartment = 0xFFFFFFFFu;
// REG_SZ: the component's own path.
const char* const componentPathValue = "VantrelMail.dll path";

// Below HKEY_LOCAL_MACHINE: one REG_SZ per copy of LoadRecorder.dll that was loaded, named
// by the copy's path, holding one line per load: the path of the program that loaded it.
const char* const loadRecordKey = "Software\\Vantrel Test\\Loads";

// The name under which SideDepComponent.dll imports LoadRecorder.dll (the LIBRARY line of
// LoadRecorderDll.def), and the name it loads by bare name inside DllUnregisterServer.
const char* const sideDependencyName = "VantrelSideDep.dll";
const char* const lateLoadName = "VantrelLateLoad.dll";

// Class and caption of the window PumpingComponent.dll shows inside DllUnregisterServer;
// it pumps messages until the window is closed.
const char* const pumpWindowClass = "VantrelTestPump";
const char* const pumpWindowCaption = "Vantrel Test Pumping Component";

typedef std::map<std::string, std::vector<std::string>> LoadRecords;

// Every recorded load: copy path -> programs that loaded it, in order.
LoadRecords readLoadRecords();
// DllUnregisterServer calls counted so far.
DWORD componentCallCount();
// The apartment of the last call, componentNoApartment when none was recorded.
DWORD componentApartment();
// The path of the component in the last call; empty when none was recorded.
std::string componentPath();
// Removes every record of the components and the load recorder.
void forgetComponentRecords();

#endif
