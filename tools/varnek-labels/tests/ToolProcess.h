// Running varnek-labels as a process in a scratch directory of its own, for
// the tests that check what a user sees: exit status, streams and files.
#ifndef VARNEK_LABELS_TESTS_TOOLPROCESS_H
#define VARNEK_LABELS_TESTS_TOOLPROCESS_H

#include <stdlib.h>
#include <sys/wait.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace VarnekLabelsTesting {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// An empty directory of its own for each run, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "varnek-labels-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
        fs::create_directory(m_path / "work");
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::permissions(work(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Where the tool runs; its output streams are kept beside it.
    fs::path work() const { return m_path / "work"; }
    fs::path path() const { return m_path; }

private:
    fs::path m_path;
};

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// arguments is shell text; the tool's working directory is scratch.work().
// Standard output goes to stdoutPath when given (e.g. /dev/full), else it is
// kept and returned. prefix is shell text before the tool's path (e.g. a
// command that runs it as another user).
inline ToolRun runTool(const ScratchDirectory& scratch, const std::string& arguments,
                       const std::string& stdoutPath = "", const std::string& prefix = "") {
    const fs::path out = stdoutPath.empty() ? scratch.path() / "out" : fs::path(stdoutPath);
    const std::string command = "cd '" + scratch.work().string() + "' && " + prefix + "'" +
                                VARNEK_LABELS_EXECUTABLE + "' " + arguments + " >'" + out.string() +
                                "' 2>'" + (scratch.path() / "err").string() + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = stdoutPath.empty() ? readFile(out) : "";
    run.err = readFile(scratch.path() / "err");
    return run;
}

// A refused run: status, one line on standard error that holds every one of
// fragments, and nothing on standard output.
inline void expectRefused(const ToolRun& run, int status,
                          const std::vector<std::string>& fragments) {
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    for (const std::string& fragment : fragments) {
        EXPECT_NE(run.err.find(fragment), std::string::npos) << run.err;
    }
}

inline std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace VarnekLabelsTesting

#endif  // VARNEK_LABELS_TESTS_TOOLPROCESS_H
