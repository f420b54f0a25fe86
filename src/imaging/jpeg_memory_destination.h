// Where the encoder's bytes go: a libjpeg destination that collects them in
// memory in chunks of 1 MiB, so that the output never has to be copied to
// grow, and joins them into one buffer at the end.
#ifndef SHIFRODEL_IMAGING_JPEG_MEMORY_DESTINATION_H_
#define SHIFRODEL_IMAGING_JPEG_MEMORY_DESTINATION_H_

#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <memory>
#include <string>
#include <vector>

namespace shifrodel {

class JpegMemoryDestination {
 public:
  JpegMemoryDestination();
  JpegMemoryDestination(const JpegMemoryDestination&) = delete;
  JpegMemoryDestination& operator=(const JpegMemoryDestination&) = delete;

  // Makes this the destination of `info`; it must outlive the compression.
  void Attach(jpeg_compress_struct* info) { info->dest = &manager_; }

  // Everything written, once the compression has finished. Releases the
  // chunks as it goes, so the bytes are held about once.
  std::string TakeBytes();

 private:
  static void Init(j_compress_ptr info);
  static boolean Empty(j_compress_ptr info);
  static void Term(j_compress_ptr info);
  bool AddChunk();

  jpeg_destination_mgr manager_;  // first: libjpeg's pointer is also ours
  std::vector<std::unique_ptr<JOCTET[]>> chunks_;
  std::size_t last_chunk_used_ = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_MEMORY_DESTINATION_H_
