#pragma once
// Runs the built torva-cli with arguments and collects its exit code, its
// standard output and its standard error.

#include "tests/support/TestSupport.h"
#include "text/FileIo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace tabry::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

#if defined(_WIN32)

// One argument as the C runtime and CommandLineToArgvW read it back.
inline std::wstring QuoteArgument(const std::wstring& arg)
{
    std::wstring q = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        q.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        q += c;
    }
    q.append(backslashes * 2, L'\\');
    return q + L"\"";
}

// Started directly with a wide command line, as Explorer or a script starts
// it: the arguments (UTF-8 here) reach the program whatever the code page.
inline int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& out, const std::filesystem::path& err)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE o = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const HANDLE e = CreateFileW(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const std::filesystem::path exe = std::filesystem::absolute(program);
    std::wstring line = QuoteArgument(exe.native());
    for (const std::string& a : args)
        line += L" " + QuoteArgument(PathFromUtf8(a).native());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = o;
    startup.hStdError = e;
    PROCESS_INFORMATION process{};
    int code = -1;
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        if (GetExitCodeProcess(process.hProcess, &exitCode))
            code = static_cast<int>(exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(o);
    CloseHandle(e);
    return code;
}

#else

inline std::string Quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

#endif

// `args` are UTF-8 on Windows. `shellPrefix` runs before the program in the
// same shell (e.g. a ulimit); there is no shell on Windows, so it must be
// empty there.
inline CliResult RunCli(const TempDir& scratch, const std::vector<std::string>& args,
                        const std::string& shellPrefix = "")
{
    const auto out = scratch / "cli.out";
    const auto err = scratch / "cli.err";
    CliResult r;
#if defined(_WIN32)
    EXPECT_TRUE(shellPrefix.empty());
    r.exitCode = RunProgram(TORVA_CLI_PATH, args, out, err);
#else
    std::string command = shellPrefix + Quote(TORVA_CLI_PATH);
    for (const std::string& a : args)
        command += " " + Quote(a);
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int status = std::system(command.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

} // namespace tabry::test
