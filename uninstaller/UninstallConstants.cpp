// UninstallConstants.cpp: the product's names, the install layout and the shortcut table.
#include "UninstallConstants.h"

const char* const productName = "Vantrel Mail";
const char* const productDllName = "VantrelMail.dll";
const char* const commonDllPath = "\\Common\\VantrelUtil.dll";
const char* const commonFolder = "\\Common";
const char* const examplesFolder = "\\Other Examples";
const char* const sharedFolders[] = {
    "\\C++ Builder 5 Libs",
    "\\IDL",
    "\\Include",
    "\\Type Libraries",
    "\\Visual C++ 6 Libs",
};
const int sharedFolderCount = sizeof(sharedFolders) / sizeof(sharedFolders[0]);
const char* const statusDone = "DONE";

const char* const startMenuGroup = "\\Vantrel Components";

const ShortcutRow shortcutTable[] = {
    { "\\Vantrel website.url", "https://www.vantrel.example/" },
    { "\\How to order.url", "https://www.vantrel.example/order/" },
    { "\\Vantrel FTP.url", "https://www.vantrel.example/products/ftp/" },
    { "\\Vantrel Mail.url", "https://www.vantrel.example/products/mail/" },
    { "\\Vantrel Zip.url", "https://www.vantrel.example/products/zip/" },
    { "\\Vantrel Sockets.url", "https://www.vantrel.example/products/sockets/" },
    { "\\Vantrel HTTP.url", "https://www.vantrel.example/products/http/" },
    { "\\Vantrel Crypt.url", "https://www.vantrel.example/products/crypt/" },
    { "\\Vantrel Telnet.url", "https://www.vantrel.example/products/telnet/" },
    { "\\Vantrel SSH.url", "https://www.vantrel.example/products/ssh/" },
    { "\\Vantrel DNS.url", "https://www.vantrel.example/products/dns/" },
    { "\\Vantrel SNMP.url", "https://www.vantrel.example/products/snmp/" },
    { "\\Vantrel News.url", "https://www.vantrel.example/products/news/" },
    { nullptr, nullptr },
};
