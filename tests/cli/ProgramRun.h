// Runs the built pixquill-cli as a separate program, with the given standard
// input, and collects its exit code and output.
#pragma once

#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestFolder.h"

namespace testsupport {

struct ProgramResult {
    int exitCode = -1;  // -1: did not end normally (a crash)
    std::string out;
    std::string err;
};

inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& standardInput = {}) {
    TestFolder streams;
    const std::string inPath = streams / "in";
    const std::string outPath = streams / "out";
    const std::string errPath = streams / "err";
    writeFile(inPath, standardInput);

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramResult result;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

}  // namespace testsupport
