#include "imaging/tiff_sample_digest.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace shifrodel {
namespace {

// Odd constants with well-spread bits; four independent lanes keep the
// multiplier busy.
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ull;

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

std::uint64_t Mix(std::uint64_t lane, std::uint64_t input) {
  return std::rotl(lane + input * kPrime2, 31) * kPrime1;
}

std::uint64_t Avalanche(std::uint64_t h) {
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  h *= kPrime3;
  h ^= h >> 32;
  return h;
}

}  // namespace

TiffSampleDigest::TiffSampleDigest() : lanes_{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1} {}

void TiffSampleDigest::Block(const std::uint8_t* block) {
  for (int i = 0; i < 4; ++i) lanes_[i] = Mix(lanes_[i], Load64(block + 8 * i));
}

void TiffSampleDigest::Update(const std::uint8_t* data, std::size_t size) {
  total_ += size;
  if (pending_size_ > 0) {
    const std::size_t take = std::min(size, pending_.size() - pending_size_);
    std::memcpy(pending_.data() + pending_size_, data, take);
    pending_size_ += take;
    data += take;
    size -= take;
    if (pending_size_ < pending_.size()) return;
    Block(pending_.data());
    pending_size_ = 0;
  }
  for (; size >= 32; data += 32, size -= 32) Block(data);
  std::memcpy(pending_.data(), data, size);
  pending_size_ = size;
}

std::uint64_t TiffSampleDigest::Value() const {
  std::uint64_t h = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) +
                    std::rotl(lanes_[3], 18);
  for (std::uint64_t lane : lanes_) h = (h ^ Mix(0, lane)) * kPrime1 + kPrime4;
  h += total_;
  std::size_t i = 0;
  for (; i + 8 <= pending_size_; i += 8) {
    h ^= Mix(0, Load64(pending_.data() + i));
    h = std::rotl(h, 27) * kPrime1 + kPrime4;
  }
  for (; i < pending_size_; ++i) {
    h ^= pending_[i] * 0x27D4EB2F165667C5ull;
    h = std::rotl(h, 11) * kPrime1;
  }
  return Avalanche(h);
}

}  // namespace shifrodel
