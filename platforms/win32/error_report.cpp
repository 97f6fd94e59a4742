#include "platforms/win32/error_report.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace qex {
namespace {

bool hasErrorStream()
{
    // A program started from Explorer or the Start menu gets no standard handles at all.
    HANDLE stream = ::GetStdHandle(STD_ERROR_HANDLE);
    return stream && stream != INVALID_HANDLE_VALUE && ::GetFileType(stream) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void reportErrorAndExit(std::string_view what)
{
    const std::string line = "qex-lifts: error: " + std::string(what);
    if (hasErrorStream()) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(nullptr);
    } else {
        ::MessageBoxA(nullptr, line.c_str(), "qex-lifts", MB_OK | MB_ICONERROR | MB_TOPMOST);
    }
    ::TerminateProcess(::GetCurrentProcess(), EXIT_FAILURE);
    std::_Exit(EXIT_FAILURE);
}

std::string lastErrorText()
{
    const DWORD code = ::GetLastError();
    char text[256] = {};
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return (message.empty() ? "Win32 error" : message) + " (" + std::to_string(code) + ")";
}

}  // namespace qex
