#include "repack/repack_file.h"

#include <cstdint>
#include <optional>

#include "imaging/tiff_reencoder.h"
#include "platform/file_system.h"

namespace shifrodel {
namespace {

// The temporary file of one turn: deleted when the turn ends, unless it has
// taken the TIFF file's place.
class TemporaryFile {
 public:
  TemporaryFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  ~TemporaryFile() {
    if (exists_) fs_.DeleteFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  void set_exists(bool exists) { exists_ = exists; }

 private:
  FileSystem& fs_;
  std::string path_;
  bool exists_ = false;
};

// The attributes a replaced file keeps (read-only files are never replaced).
constexpr std::uint32_t kKeptAttributes = kAttrHidden | kAttrSystem | kAttrArchive;

}  // namespace

TRepackOutcome RepackTiffFile(JobContext& job, const std::string& path, const std::string& name) {
  TRepackOutcome outcome;
  outcome.path = path;
  const auto leave = [&outcome](std::string reason) {
    outcome.result = TRepackResult::kLeft;
    outcome.reason = std::move(reason);
    return outcome;
  };
  FileSystem& fs = job.fs;

  job.window.PumpMessages();
  job.window.SetStatus(name);
  const std::optional<std::uint32_t> time = fs.GetLastWriteDosTime(path);
  const std::optional<std::uint32_t> attributes = fs.GetAttributes(path);
  if (!attributes) return leave("its attributes cannot be read");
  if (*attributes & kAttrReadOnly) return leave("it is read-only");
  TiffReencoder reencoder(fs);
  if (!reencoder.Open(path)) return leave(reencoder.why());

  job.window.SetStatus(name + "...");
  job.window.PumpMessages();
  // A file of that name is somebody's, not a temporary file of ours.
  if (fs.FileExists(path + "_")) return leave("another file already has its temporary name");
  TemporaryFile temporary(fs, path + "_");
  const bool written = reencoder.Write(temporary.path());
  temporary.set_exists(reencoder.created());
  if (!written) return leave(reencoder.why());
  if (time) fs.SetLastWriteDosTime(temporary.path(), *time);

  const std::optional<std::int64_t> old_size = fs.FileSize(path);
  const std::optional<std::int64_t> new_size = fs.FileSize(temporary.path());
  if (!old_size || !new_size) return leave("its size cannot be measured");
  outcome.old_size = *old_size;
  outcome.new_size = *new_size;
  if (*new_size <= 0 || *old_size <= *new_size) {
    outcome.result = TRepackResult::kKept;
    return outcome;
  }
  if (!reencoder.Verify(temporary.path())) return leave(reencoder.why());
  const bool unchanged = static_cast<std::uint64_t>(*old_size) == reencoder.source_size() &&
                         (!time || fs.GetLastWriteDosTime(path) == time);
  reencoder.Close();
  if (!unchanged) return leave("it changed while it was being repacked");
  fs.SetAttributes(temporary.path(), *attributes & kKeptAttributes);
  if (!fs.ReplaceFile(temporary.path(), path)) return leave("it cannot be replaced");
  temporary.set_exists(false);
  outcome.result = TRepackResult::kReplaced;
  return outcome;
}

}  // namespace shifrodel
