// The public test images that CTest points to (SHIFRODEL_CORPUS), for the
// corpus suites; they skip when the corpus is not on this machine.
#ifndef SHIFRODEL_TESTS_IMAGING_CORPUS_FILES_H_
#define SHIFRODEL_TESTS_IMAGING_CORPUS_FILES_H_

#include <optional>
#include <string>
#include <vector>

#include "imaging/decode_all.h"
#include "imaging/source_format.h"

namespace shifrodel::testing {

// The corpus folder `relative` ("bmp/good"), or nullopt when it is absent.
std::optional<std::string> CorpusFolder(const std::string& relative);

// The names of the files (not folders) in a folder, sorted.
std::vector<std::string> FileNames(const std::string& folder);

// A file from the disk decoded whole with `open` (see DecodeAll).
std::optional<DecoderOutput> DecodeFile(OpenDecoderFn open, const std::string& path);

// A file from the disk converted to JPEG bytes at quality 80.
std::optional<std::string> ConvertFile(const std::string& path, SourceFormat format);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_IMAGING_CORPUS_FILES_H_
