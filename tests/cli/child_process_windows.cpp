#include "child_process.h"

#include "host/host_text.h"

#include <stdexcept>
#include <string>
#include <windows.h>

namespace {

// One argument as CommandLineToArgvW and the C runtime read it back: quoted, with the
// backslashes before a quote doubled.
std::wstring quoted(const std::wstring &argument) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

HANDLE openInherited(const std::string &path, bool writing) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE file =
        CreateFileW(host::wideFromUtf8(path).c_str(), writing ? GENERIC_WRITE : GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                    writing ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path);
    }
    return file;
}

// The console events that this process receives while it is attached to a tool's
// console are the tool's, not its own.
BOOL WINAPI ignoreConsoleEvent(DWORD) {
    return TRUE;
}

} // namespace

// The child gets a console of its own, without a window, so that Ctrl-C can be pressed in
// it alone.
std::uintptr_t startChild(const std::vector<std::string> &commandLine, const std::string &input,
                          const std::string &output, const std::string &error) {
    std::wstring line;
    for (const std::string &argument : commandLine) {
        line += (line.empty() ? L"" : L" ") + quoted(host::wideFromUtf8(argument));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = openInherited(input, false);
    startup.hStdOutput = openInherited(output, true);
    startup.hStdError = openInherited(error, true);
    PROCESS_INFORMATION process{};
    // Under Wine a start has been seen to fail once, and the same start to work when run
    // again; what is tested is the tool, not Wine's starting of it, so it is tried again.
    BOOL started = FALSE;
    DWORD failure = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) {
            Sleep(200);
        }
        started =
            CreateProcessW(host::wideFromUtf8(commandLine.front()).c_str(), line.data(), nullptr,
                           nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
        failure = started ? 0 : GetLastError();
    }
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        CloseHandle(handle);
    }
    if (!started) {
        throw std::runtime_error("cannot start " + commandLine.front() + " (Windows error " +
                                 std::to_string(failure) + ")");
    }
    CloseHandle(process.hThread);
    return reinterpret_cast<std::uintptr_t>(process.hProcess);
}

int waitForChild(std::uintptr_t child) {
    const auto process = reinterpret_cast<HANDLE>(child);
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

bool childEndsWithin(std::uintptr_t child, double seconds) {
    return WaitForSingleObject(reinterpret_cast<HANDLE>(child),
                               static_cast<DWORD>(seconds * 1000.0)) == WAIT_OBJECT_0;
}

// As a user does: Ctrl-C typed into the tool's console, which turns it into the console
// event.  Attaching to that console needs this process's own console given up for the
// time (it comes back from the parent, where there is one), and its standard handles
// kept.
void stopChild(std::uintptr_t child, int) {
    static const BOOL ignoring = SetConsoleCtrlHandler(ignoreConsoleEvent, TRUE);
    (void)ignoring;
    const HANDLE standard[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                               GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    if (AttachConsole(GetProcessId(reinterpret_cast<HANDLE>(child)))) {
        const HANDLE keyboard =
            CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        INPUT_RECORD keys[2]{};
        for (int k = 0; k < 2; ++k) {
            keys[k].EventType = KEY_EVENT;
            keys[k].Event.KeyEvent.bKeyDown = k == 0;
            keys[k].Event.KeyEvent.wRepeatCount = 1;
            keys[k].Event.KeyEvent.wVirtualKeyCode = 'C';
            keys[k].Event.KeyEvent.uChar.UnicodeChar = 3; // what Ctrl-C types
            keys[k].Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
        }
        DWORD written = 0;
        WriteConsoleInputW(keyboard, keys, 2, &written);
        CloseHandle(keyboard);
        FreeConsole();
    }
    AttachConsole(ATTACH_PARENT_PROCESS);
    SetStdHandle(STD_INPUT_HANDLE, standard[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, standard[1]);
    SetStdHandle(STD_ERROR_HANDLE, standard[2]);
}

void killChild(std::uintptr_t child) {
    TerminateProcess(reinterpret_cast<HANDLE>(child), 1);
    waitForChild(child);
}
