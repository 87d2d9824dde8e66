// Writing an output file whole or not at all.
#ifndef VARNEK_LABELS_OUTPUTFILE_H
#define VARNEK_LABELS_OUTPUTFILE_H

#include <string>

namespace VarnekLabels {

// Writes content to a new temporary file beside path, then renames it to
// path, so that path either keeps what it held or holds all of content.
// Throws std::runtime_error naming path and the reason.
void writeFileWhole(const std::string& path, const std::string& content);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_OUTPUTFILE_H
