// A 64-bit fingerprint of a stream of decoded samples. The re-encoder takes
// one of every page while it encodes, and the check of the written file
// compares it with the fingerprint of what that file decodes to, so the
// original is decoded only once and no page is held in memory.
#ifndef SHIFRODEL_IMAGING_TIFF_SAMPLE_DIGEST_H_
#define SHIFRODEL_IMAGING_TIFF_SAMPLE_DIGEST_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace shifrodel {

class TiffSampleDigest {
 public:
  TiffSampleDigest();
  void Update(const std::uint8_t* data, std::size_t size);
  // The fingerprint of everything passed to Update, in order however it was
  // cut into pieces. The digest can go on after it.
  std::uint64_t Value() const;

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint64_t, 4> lanes_;
  std::array<std::uint8_t, 32> pending_{};
  std::size_t pending_size_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_SAMPLE_DIGEST_H_
