// Writing the tool's output without ever destroying what is at the path.
#ifndef VARNEK_LABELS_OUTPUTFILE_H
#define VARNEK_LABELS_OUTPUTFILE_H

#include <ostream>
#include <string>

namespace VarnekLabels {

// Writes content to path; "-" is standardOutput. What happens depends on
// what the path names, after following symbolic links to their final
// target (the links themselves stay):
// - nothing yet, or a regular file with one name whose owner and group a
//   new file of the process may be given (its user's own file in one of
//   its groups; any file for the superuser): the content goes to a
//   temporary file beside it, ".NAME.varnek-tmp-PID-XXXXXX" (NAME
//   shortened at a character boundary so that the name stays within the
//   folder's limit), which then replaces it in one step; the target either
//   keeps what it held or holds all of content, and keeps its mode less the
//   set-user and set-group bits, its owner and its group. A failed write
//   removes the temporary file. A new file gets the usual mode (0666 less
//   the umask). Temporary files of this name left by killed runs are
//   removed after a successful replacement.
// - any other regular file (one with more than one name, hard links, or
//   another user's or group's file the process may write): written in
//   place, so that every name still shows the same file and it keeps its
//   owner and group, its set-user and set-group bits cleared. The room for
//   content is taken first, so that a full disk (or the file-size limit)
//   leaves it as it was; any other failure part-way leaves it part-written.
// - a pipe or a character device (e.g. /dev/null): written in place; a
//   pipe that no process opens for reading within a second is refused
//   instead of waited for.
// - anything else (a folder, a socket, a block device), or a file the
//   process may not write: refused.
// A symbolic link in a sticky, world-writable folder is followed only when
// it belongs to the folder's owner or to the process's user (the kernel's
// rule for such links); otherwise nothing is written.
// Throws std::runtime_error naming the path and the reason (for a folder
// that cannot be written into, the folder), the user's bytes in it
// escaped as printable does.
void writeOutput(const std::string& path, const std::string& content, std::ostream& standardOutput);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_OUTPUTFILE_H
