#pragma once
// Running one of the built programs from a test, with its standard output and
// error caught in files.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::testing {

struct ProcessRun {
    int status = -1;  // the exit status, -1 when killed by a signal
    std::string out;
    std::string err;
};

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// For the shell, whatever the text holds.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command line, its output caught as dir/stdout and dir/stderr.
inline ProcessRun RunCommandLine(const std::string& commandLine, const std::filesystem::path& dir) {
    const std::filesystem::path out = dir / "stdout", err = dir / "stderr";
    const std::string command = commandLine + " >" + Quoted(out.string()) + " 2>" + Quoted(err.string());
    ProcessRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

// Runs program with each argument passed as it stands.
inline ProcessRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                             const std::filesystem::path& dir) {
    std::string command = Quoted(program.string());
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    return RunCommandLine(command, dir);
}

}  // namespace korvel::testing
