// What -o does to whatever is at the path: replaced whole, written in
// place, or refused, and never a device or pipe turned into a file. Every
// case runs in a scratch folder, on files, links, a pipe and a socket made
// there.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "OutputFile.h"
#include "ToolProcess.h"

namespace {

using namespace VarnekLabelsTesting;
using VarnekLabels::writeOutput;

struct stat statOf(const fs::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A process id that is certainly not running: a child that has exited.
pid_t deadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(varnek_labels_output, replaces_files_and_follows_links_without_changing_them) {
    struct Case {
        const char* name;
        // Makes what is at work/out (and whatever else) before the write.
        std::function<void(const fs::path& work)> before;
        // Checks work after writeOutput(work/output, "new") succeeded.
        std::function<void(const fs::path& work)> after;
        std::string output = "out";
    };
    const bool root = ::geteuid() == 0;
    const std::vector<Case> cases{
        {"a new file gets the usual mode", [](const fs::path&) {},
         [](const fs::path& work) {
             EXPECT_EQ(readFile(work / "out"), "new");
             EXPECT_EQ(statOf(work / "out").st_mode & 07777, 0666 & ~currentUmask());
         }},
        {"set-user and set-group bits are dropped, the rest kept",
         [](const fs::path& work) {
             writeFile(work / "out", "old");
             ASSERT_EQ(::chmod((work / "out").c_str(), 06750), 0);
         },
         [](const fs::path& work) {
             EXPECT_EQ(readFile(work / "out"), "new");
             EXPECT_EQ(statOf(work / "out").st_mode & 07777, 0750u);
         }},
        {"a name of 250 characters is replaced, its temporary name kept short",
         [](const fs::path& work) { writeFile(work / std::string(250, 'n'), "old"); },
         [](const fs::path& work) {
             EXPECT_EQ(readFile(work / std::string(250, 'n')), "new");
             EXPECT_EQ(std::distance(fs::directory_iterator(work), fs::directory_iterator()), 1);
         },
         std::string(250, 'n')},
        {"a file of another owner keeps its owner (root only)",
         [root](const fs::path& work) {
             writeFile(work / "out", "old");
             if (root) {
                 ASSERT_EQ(::chown((work / "out").c_str(), 65534, 65534), 0);
             }
         },
         [root](const fs::path& work) {
             EXPECT_EQ(readFile(work / "out"), "new");
             EXPECT_EQ(statOf(work / "out").st_uid, root ? 65534u : ::geteuid());
         }},
        {"a symbolic link stays and its target is written",
         [](const fs::path& work) {
             fs::create_directory(work / "elsewhere");
             writeFile(work / "elsewhere/target", "old");
             fs::permissions(work / "elsewhere/target",
                             fs::perms::owner_read | fs::perms::owner_write);
             fs::create_symlink("elsewhere/target", work / "link");
             fs::create_symlink("link", work / "out");
         },
         [](const fs::path& work) {
             EXPECT_TRUE(fs::is_symlink(work / "out"));
             EXPECT_TRUE(fs::is_symlink(work / "link"));
             EXPECT_EQ(readFile(work / "elsewhere/target"), "new");
             EXPECT_EQ(statOf(work / "elsewhere/target").st_mode & 07777, 0600u);
         }},
        {"a dangling link gets its target made",
         [](const fs::path& work) { fs::create_symlink("made", work / "out"); },
         [](const fs::path& work) {
             EXPECT_TRUE(fs::is_symlink(work / "out"));
             EXPECT_EQ(readFile(work / "made"), "new");
         }},
        {"a hard-linked file is written in place, stays linked and loses its set-user bit",
         [](const fs::path& work) {
             writeFile(work / "out", "old, longer than new");
             ASSERT_EQ(::chmod((work / "out").c_str(), 04755), 0);
             fs::create_hard_link(work / "out", work / "other");
         },
         [](const fs::path& work) {
             EXPECT_EQ(readFile(work / "other"), "new");
             EXPECT_EQ(statOf(work / "other").st_mode & 07777, 0755u);
             EXPECT_EQ(statOf(work / "out").st_ino, statOf(work / "other").st_ino);
             EXPECT_EQ(statOf(work / "out").st_nlink, 2u);
         }},
        {"a killed run's temporary file goes, a live run's stays",
         [](const fs::path& work) {
             writeFile(work / ("out.varnek-tmp-" + std::to_string(deadProcessId()) + "-x"), "");
             writeFile(work / (".out.varnek-tmp-" + std::to_string(deadProcessId()) + "-abcdef"),
                       "half");
             writeFile(work / (".out.varnek-tmp-" + std::to_string(::getppid()) + "-abcdef"),
                       "busy");
         },
         [](const fs::path& work) {
             std::vector<std::string> names;
             for (const auto& entry : fs::directory_iterator(work)) {
                 names.push_back(entry.path().filename().string());
             }
             std::sort(names.begin(), names.end());
             ASSERT_EQ(names.size(), 3u);
             EXPECT_EQ(names[0], ".out.varnek-tmp-" + std::to_string(::getppid()) + "-abcdef");
             EXPECT_EQ(names[1], "out");
             EXPECT_EQ(names[2].rfind("out.varnek-tmp-", 0), 0u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDirectory scratch;
        c.before(scratch.work());
        ASSERT_NO_THROW(writeOutput((scratch.work() / c.output).string(), "new", std::cout));
        c.after(scratch.work());
    }
}

TEST(varnek_labels_output, writes_a_pipe_in_place) {
    const ScratchDirectory scratch;
    const fs::path pipe = scratch.work() / "out";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readFile(pipe); });
    try {
        writeOutput(pipe.string(), "through the pipe", std::cout);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
        ::close(::open(pipe.c_str(), O_WRONLY));  // lets the reader finish
    }
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(pipe));
}

// A link in a sticky, world-writable folder is followed only when it
// belongs to the folder's owner or to the caller; otherwise nothing is
// written and the link stays. Another owner than the caller needs root.
TEST(varnek_labels_output, follows_a_link_in_a_shared_folder_only_as_the_kernel_would) {
    struct Case {
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const uid_t self = ::geteuid();
    const uid_t other = 65534;
    std::vector<Case> cases{{self, self, true}};
    if (self == 0) {
        cases.push_back({self, other, false});
        cases.push_back({other, other, true});
        cases.push_back({other, self, true});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.folderOwner) + " " + std::to_string(c.linkOwner));
        const ScratchDirectory scratch;
        const fs::path shared = scratch.work() / "shared";
        fs::create_directory(shared);
        ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
        writeFile(scratch.work() / "target", "old");
        fs::create_symlink(scratch.work() / "target", shared / "out");
        ASSERT_EQ(::lchown((shared / "out").c_str(), c.linkOwner, c.linkOwner), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        try {
            writeOutput((shared / "out").string(), "new", std::cout);
            EXPECT_TRUE(c.followed);
        } catch (const std::runtime_error& error) {
            EXPECT_FALSE(c.followed) << error.what();
            EXPECT_NE(std::string(error.what()).find("is not followed"), std::string::npos);
        }
        EXPECT_EQ(readFile(scratch.work() / "target"), c.followed ? "new" : "old");
        EXPECT_TRUE(fs::is_symlink(shared / "out"));
    }
}

// What cannot be written whole is refused with status 1 and left as it was:
// a pipe no process reads (within a second, not a run blocked for ever), a
// write that fails part-way (a full disk; here the file-size limit, which
// fails a write the same way), to a file of one name or of several, a
// socket. No temporary file stays beside it.
TEST(varnek_labels_output, refuses_what_cannot_be_written_and_leaves_it) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& work)> before;  // makes work/out
        std::string prefix;                                // shell text before the tool
        std::string message;
        std::function<bool(const fs::path& out)> unchanged;
    };
    const std::vector<Case> cases{
        {"a pipe without a reader",
         [](const fs::path& work) { ASSERT_EQ(::mkfifo((work / "out").c_str(), 0600), 0); },
         "timeout 20 ", "cannot write 'out': no process reads the pipe",
         [](const fs::path& out) { return fs::is_fifo(out); }},
        {"a file, the write failing part-way",
         [](const fs::path& work) { writeFile(work / "out", "kept"); },
         "trap '' XFSZ; ulimit -f 8; ", "cannot write 'out': File too large",
         [](const fs::path& out) { return readFile(out) == "kept"; }},
        {"a hard-linked file, written in place, the write failing part-way",
         [](const fs::path& work) {
             writeFile(work / "out", "kept");
             fs::create_hard_link(work / "out", work.parent_path() / "link");
         },
         "trap '' XFSZ; ulimit -f 8; ", "cannot write 'out': File too large",
         [](const fs::path& out) { return readFile(out) == "kept"; }},
        {"a socket",
         [](const fs::path& work) {
             const std::string path = (work / "out").string();
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(path.size(), sizeof address.sun_path);
             path.copy(address.sun_path, sizeof address.sun_path - 1);
             ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         "", "cannot write 'out': not a regular file, pipe or character device",
         [](const fs::path& out) { return fs::is_socket(out); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDirectory scratch;
        c.before(scratch.work());
        expectRefused(runTool(scratch, "gallery -o out", "", c.prefix), 1, {c.message});
        EXPECT_TRUE(c.unchanged(scratch.work() / "out"));
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.work()), fs::directory_iterator()),
                  1);
    }
}

// Run as a user without write access (root writes anywhere, so root runs
// the tool as nobody): a folder it cannot write into is named, a file it
// may not write is left alone, though its folder would let it be replaced,
// and another user's file it may write stays that user's.
TEST(varnek_labels_output, another_user_is_refused_what_it_may_not_write_and_keeps_owners) {
    const ScratchDirectory scratch;
    const bool root = ::geteuid() == 0;
    const auto open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(scratch.path(), open);
    fs::permissions(scratch.work(), open);
    fs::create_directory(scratch.work() / "locked");
    fs::permissions(scratch.work() / "locked", open & ~fs::perms::owner_write);
    writeFile(scratch.work() / "kept.svg", "kept");
    fs::permissions(scratch.work() / "kept.svg", fs::perms::owner_read | fs::perms::others_read);
    // Another user's file the user may write, in the user's folder.
    writeFile(scratch.work() / "shared.svg", "old");
    fs::permissions(scratch.work() / "shared.svg", fs::perms::owner_read | fs::perms::owner_write |
                                                       fs::perms::others_read |
                                                       fs::perms::others_write);
    if (root) {
        ASSERT_EQ(::chown(scratch.work().c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown((scratch.work() / "kept.svg").c_str(), 65534, 65534), 0);
    }
    const struct stat shared = statOf(scratch.work() / "shared.svg");
    const std::string asNobody = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::pair<const char*, const char*> cases[] = {
        {"locked/labels.svg",
         "cannot write 'locked/labels.svg': the folder 'locked' cannot be written"},
        {"kept.svg", "cannot write 'kept.svg': Permission denied"},
    };
    for (const auto& [output, message] : cases) {
        SCOPED_TRACE(output);
        const ToolRun run = runTool(scratch, std::string("gallery -o ") + output, "", asNobody);
        if (run.status == 126 || run.status == 127) {
            GTEST_SKIP() << "the tool cannot run as nobody here: " << run.err;
        }
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(scratch.work() / "locked"));
    EXPECT_EQ(readFile(scratch.work() / "kept.svg"), "kept");
    // Root's file, written by nobody in place: still root's, the same file.
    const ToolRun written = runTool(scratch, "gallery -o shared.svg", "", asNobody);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_NE(readFile(scratch.work() / "shared.svg"), "old");
    if (root) {
        EXPECT_EQ(statOf(scratch.work() / "shared.svg").st_uid, shared.st_uid);
        EXPECT_EQ(statOf(scratch.work() / "shared.svg").st_ino, shared.st_ino);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.work()), fs::directory_iterator()), 3);
}

// "-" is standard output, and a standard output that cannot be written is
// an error with a non-zero status, whatever the subcommand printed.
TEST(varnek_labels_output, standard_output_is_written_or_the_run_fails) {
    const ScratchDirectory scratch;
    const ToolRun toStdout = runTool(scratch, "gallery -o -");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(fs::is_empty(scratch.work()));

    for (const char* arguments : {"styles", "--help", "place --help", "gallery -o -"}) {
        SCOPED_TRACE(arguments);
        const ToolRun full = runTool(scratch, arguments, "/dev/full");
        EXPECT_EQ(full.status, 1);
        EXPECT_NE(full.err.find("cannot write standard output"), std::string::npos) << full.err;
    }
}

}  // namespace
