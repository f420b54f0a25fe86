// Re-encodes a TIFF file with LZW, losing nothing: every page, every sample
// at its bit depth and every tag survive, only the encoding changes (the
// compression, the predictor, the strip or tile offsets and byte counts, the
// strip height). The source is decoded once, a strip or tile at a time; a
// fingerprint of every page's samples lets Verify prove that the written
// file decodes to exactly the same samples without decoding the source again.
#ifndef SHIFRODEL_IMAGING_TIFF_REENCODER_H_
#define SHIFRODEL_IMAGING_TIFF_REENCODER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

class TiffReencoder {
 public:
  explicit TiffReencoder(FileSystem& fs);
  ~TiffReencoder();
  TiffReencoder(const TiffReencoder&) = delete;
  TiffReencoder& operator=(const TiffReencoder&) = delete;

  // Opens a file and decides whether all of it can be re-encoded faithfully.
  // False, with why(), for a file that cannot be opened, is not a TIFF file,
  // or holds something that cannot be carried (see tiff_page_plan.h).
  bool Open(const std::string& path);

  // Writes the LZW version to `target`, creating or replacing it; it is not
  // flushed to the medium. False, with why(), when the source cannot be
  // decoded or the target cannot be created or written; created() then
  // tells whether `target` exists and must be deleted.
  bool Write(const std::string& target);
  bool created() const { return created_; }

  // Reads `target` back and compares it with the source, page by page:
  // every tag but the encoding ones, byte for byte, and every decoded
  // sample. False, with why(), on any difference or read failure.
  bool Verify(const std::string& target);

  // Lets go of the source, which on Windows cannot be replaced while open.
  void Close();

  const std::string& why() const { return why_; }
  // The size of the source when it was opened (0 once closed).
  std::uint64_t source_size() const;

 private:
  struct Source;

  bool Fail(std::string text);

  FileSystem& fs_;
  std::unique_ptr<Source> source_;
  bool created_ = false;
  std::string why_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_REENCODER_H_
