// Runs the built pixquill-cli as a separate program, with the given standard
// input, and collects its exit code, output and peak memory.
#pragma once

#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestFolder.h"

extern char** environ;

namespace testsupport {

struct ProgramResult {
    int exitCode = -1;  // -1: did not end normally (a crash, or killed by its alarm)
    std::string out;
    std::string err;
    long peakMemoryKb = 0;  // the child's largest resident set
};

struct ProgramOptions {
    std::string standardInput;
    /// "NAME=value" entries set for the program, over the test's own environment.
    std::vector<std::string> environment;
    /// Runs in the child just before the program starts (resource limits, say).
    std::function<void()> beforeStart;
    /// A program still running after this many seconds is killed: a hang fails the test.
    unsigned timeoutSeconds = 120;
};

inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                                const ProgramOptions& options) {
    TestFolder streams;
    const std::string inPath = streams / "in";
    const std::string outPath = streams / "out";
    const std::string errPath = streams / "err";
    writeFile(inPath, options.standardInput);

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // Built before the fork: the child only calls what is safe there.
    std::vector<std::string> variables = options.environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('=') + 1);
        bool overridden = false;
        for (const std::string& own : options.environment)
            overridden = overridden || own.rfind(name, 0) == 0;
        if (!overridden)
            variables.push_back(variable);
    }
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        if (options.beforeStart)
            options.beforeStart();
        ::alarm(options.timeoutSeconds);  // kept across exec
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ProgramResult result;
    int status = 0;
    rusage usage{};
    if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
        if (WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
        result.peakMemoryKb = usage.ru_maxrss;
    }
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& standardInput = {}) {
    ProgramOptions options;
    options.standardInput = standardInput;
    return runProgram(program, arguments, options);
}

}  // namespace testsupport
