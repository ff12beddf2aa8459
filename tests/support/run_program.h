// Runs a program and waits for it, without a shell (a POSIX shell's quoting
// means nothing to Windows' cmd.exe). Standard output and error go to files
// ("" discards). Returns the exit code, or -1 when it did not run or was
// killed.
#pragma once
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

inline int runProgram(const std::vector<std::string>& args, const std::string& outFile, const std::string& errFile) {
#ifdef _WIN32
    auto wide = [](const std::string& s) {
        std::wstring w(s.size() + 1, L'\0');
        w.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], (int)w.size()) - 1);
        return w;
    };
    std::wstring line;
    for (const std::string& a : args) line += L"\"" + wide(a) + L"\" ";  // the tests' arguments hold no quotes
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    auto open = [&](const std::string& f) {
        return CreateFileW(f.empty() ? L"NUL" : wide(f).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = open(outFile);
    si.hStdError = open(errFile);
    PROCESS_INFORMATION pi;
    DWORD code = (DWORD)-1;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(si.hStdOutput);
    CloseHandle(si.hStdError);
    return (int)code;
#else
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(outFile.empty() ? "/dev/null" : outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errFile.empty() ? "/dev/null" : errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back((char*)a.c_str());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}
