#include "imaging/jpeg_memory_destination.h"

#include <jerror.h>

#include <cstring>
#include <new>

namespace shifrodel {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

}  // namespace

JpegMemoryDestination::JpegMemoryDestination() {
  manager_.init_destination = Init;
  manager_.empty_output_buffer = Empty;
  manager_.term_destination = Term;
  manager_.next_output_byte = nullptr;
  manager_.free_in_buffer = 0;
}

bool JpegMemoryDestination::AddChunk() {
  JOCTET* chunk = new (std::nothrow) JOCTET[kChunkSize];
  if (chunk == nullptr) return false;
  chunks_.emplace_back(chunk);
  manager_.next_output_byte = chunk;
  manager_.free_in_buffer = kChunkSize;
  return true;
}

void JpegMemoryDestination::Init(j_compress_ptr info) {
  auto* self = reinterpret_cast<JpegMemoryDestination*>(info->dest);
  self->chunks_.clear();
  if (!self->AddChunk()) ERREXIT(info, JERR_OUT_OF_MEMORY);
}

boolean JpegMemoryDestination::Empty(j_compress_ptr info) {
  // libjpeg calls this with the whole chunk full, whatever free_in_buffer says.
  if (!reinterpret_cast<JpegMemoryDestination*>(info->dest)->AddChunk()) {
    ERREXIT(info, JERR_OUT_OF_MEMORY);
  }
  return TRUE;
}

void JpegMemoryDestination::Term(j_compress_ptr info) {
  auto* self = reinterpret_cast<JpegMemoryDestination*>(info->dest);
  self->last_chunk_used_ = kChunkSize - self->manager_.free_in_buffer;
}

std::string JpegMemoryDestination::TakeBytes() {
  if (chunks_.empty()) return {};
  std::string bytes;
  bytes.resize((chunks_.size() - 1) * kChunkSize + last_chunk_used_);
  char* out = bytes.data();
  for (std::size_t i = 0; i < chunks_.size(); ++i) {
    const std::size_t size = i + 1 < chunks_.size() ? kChunkSize : last_chunk_used_;
    std::memcpy(out, chunks_[i].get(), size);
    out += size;
    chunks_[i].reset();
  }
  chunks_.clear();
  return bytes;
}

}  // namespace shifrodel
