// UnixLinkRequest.cpp: a request file for the host's helper, and the wait for its answer.
#include "UnixLinkRequest.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace {

const char* const requestFolder = "C:\\vt\\requests";
// Generous: under qemu a loaded machine answers slowly, and a missing helper fails anyway.
const DWORD answerTimeoutMs = 60000;

std::string ask(const char* operation, const std::string& folder, const std::string& target)
{
    static int sequence = 0;
    std::ostringstream name;
    name << requestFolder << "\\" << GetCurrentProcessId() << "-" << ++sequence;
    const std::string request = name.str() + ".req";
    const std::string answer = name.str() + ".done";
    {
        // Written under another name first, so the helper never reads half a request.
        std::ofstream out(request + ".part", std::ios::binary);
        out << operation << "\n" << folder << "\n" << target << "\n";
        if (!out) {
            return "cannot write " + request + " (is the UnixHelper fixture running?)";
        }
    }
    if (!MoveFileA((request + ".part").c_str(), request.c_str())) {
        return "cannot place " + request;
    }
    for (DWORD waited = 0; waited < answerTimeoutMs; waited += 20) {
        std::ifstream in(answer, std::ios::binary);
        if (in) {
            std::string text;
            std::getline(in, text);
            in.close();
            DeleteFileA(answer.c_str());
            return text == "ok" ? std::string() : text;
        }
        Sleep(20);
    }
    DeleteFileA(request.c_str());
    return "no answer from tests/unix-helper.sh (the UnixHelper CTest fixture)";
}

} // namespace

std::string swapFolderForLink(const std::string& folder, const std::string& target)
{
    return ask("swap", folder, target);
}

std::string removeLinks(const std::string& path)
{
    return ask("unlink", path, "-");
}
