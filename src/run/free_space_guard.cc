#include "run/free_space_guard.h"

#include "text/cp1251_literal.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

// Ticks wrap after 2^32 ms; their difference read as a signed number stays
// right across the wrap.
std::int32_t TicksSince(std::uint32_t now, std::uint32_t then) {
  return static_cast<std::int32_t>(now - then);
}

std::int32_t Megabytes(std::uint64_t bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes / 1024 / 1024));
}

void Measure(JobContext& job, const std::string& path) {
  const std::optional<DiskSpace> space = job.fs.DiskFree(path);
  job.state.FreeSpaceUnknown = !space.has_value();
  if (!space) return;
  job.state.FreeSpaceMb = Megabytes(space->free_bytes);
  job.state.FreeSpaceVolume = space->volume;
}

// How the question names the disk: the path's first character, as written,
// on Windows (a drive letter); the mount point of its file system elsewhere.
std::string DiskName(const TRunState& state, const std::string& path) {
  if constexpr (kNativePathStyle == PathStyle::kWindows) return path.substr(0, 1);
  return state.FreeSpaceVolume.empty() ? path.substr(0, 1) : state.FreeSpaceVolume;
}

std::string LowSpaceQuestion(const std::string& disk, std::int32_t mb, TGuardActivity activity) {
  std::string text = "Мало свободного места на диске "_cp1251 + disk + ": (" + std::to_string(mb) +
                     " Mb)\r\rОсвободите место на диске.\r\r"_cp1251;
  if (activity == TGuardActivity::gaCopy) {
    text +=
        "Нажмите ОК, чтобы продолжить копирование.\r"
        "Нажмите Отмена, чтобы остановить копирование."_cp1251;
  } else {
    text +=
        "Нажмите ОК, чтобы продолжить перепаковку.\r"
        "Нажмите Отмена, чтобы остановить перепаковку."_cp1251;
  }
  return text;
}

}  // namespace

std::string FreeSpaceLabelText(std::optional<std::int32_t> mb) {
  if (!mb) return "Свободное место неизвестно"_cp1251;
  if (*mb <= 50) return "Свободно "_cp1251 + std::to_string(*mb) + " Mb";
  if (*mb <= 1024) return "Свободно более "_cp1251 + std::to_string(*mb) + " Mb";
  return "Свободно более "_cp1251 + std::to_string(*mb / 1024) + " Gb";
}

std::optional<std::int32_t> DiskFreeMb(FileSystem& fs, const std::string& path) {
  const std::optional<DiskSpace> space = fs.DiskFree(path);
  if (!space) return std::nullopt;
  return Megabytes(space->free_bytes);
}

void ResetFreeSpaceCache(JobContext& job) {
  const std::uint32_t now = job.clock.TickCount();
  job.state.LastLabelUpdate = now;
  job.state.LastSpaceCheck = now;
  job.state.FreeSpaceMb = -1;
  job.state.FreeSpaceUnknown = false;
}

void UpdateFreeSpaceLabel(JobContext& job) {
  const std::uint32_t now = job.clock.TickCount();
  if (TicksSince(now, job.state.LastLabelUpdate) <= static_cast<std::int32_t>(SpaceLabelMs)) return;
  job.window.SetFreeSpaceText(FreeSpaceLabelText(
      job.state.FreeSpaceUnknown ? std::nullopt : std::optional(job.state.FreeSpaceMb)));
  job.state.LastLabelUpdate = now;
}

void RefreshFreeSpace(JobContext& job, const std::string& path) {
  if (job.state.FreeSpaceMb >= SpaceRecheckMb &&
      TicksSince(job.clock.TickCount(), job.state.LastSpaceCheck) <=
          static_cast<std::int32_t>(SpaceRecheckMs)) {
    return;
  }
  Measure(job, path);
  job.state.LastSpaceCheck = job.clock.TickCount();
}

bool GuardFreeSpace(JobContext& job, const std::string& path, TGuardActivity activity) {
  while (job.state.FreeSpaceMb < SpaceGuardMb && !job.state.FreeSpaceUnknown) {
    const std::string question =
        LowSpaceQuestion(DiskName(job.state, path), job.state.FreeSpaceMb, activity);
    if (job.window.Ask(question, TQuestionButtons::kOkCancel) != TAnswer::kOk) {
      job.state.StopRequested = true;
      return false;
    }
    Measure(job, path);
  }
  return true;
}

}  // namespace shifrodel
