#include "run/lookahead_converter.h"

#include <algorithm>
#include <chrono>

namespace shifrodel {

LookaheadConverter::LookaheadConverter(JpegConverter& base, int workers)
    : base_(base), max_in_flight_(static_cast<std::size_t>(std::max(workers, 1)) + 1) {
  for (int i = 0; i < std::max(workers, 1); ++i) workers_.emplace_back([this] { Work(); });
}

LookaheadConverter::~LookaheadConverter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    while (!jobs_.empty()) Drop(jobs_.begin());
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::deque<std::shared_ptr<LookaheadConverter::Job>>::const_iterator LookaheadConverter::Find(
    const std::string& path) const {
  return std::find_if(jobs_.begin(), jobs_.end(),
                      [&path](const std::shared_ptr<Job>& job) { return job->path == path; });
}

bool LookaheadConverter::CanTakeMore() const {
  std::lock_guard lock(mutex_);
  const std::size_t queued =
      std::count_if(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->started; });
  return jobs_.size() + abandoned_ < max_in_flight_ &&
         ready_bytes_ + (running_ + queued + 1) * kPerConversion <= kMemoryBudget;
}

bool LookaheadConverter::Holds(const std::string& path) const {
  std::lock_guard lock(mutex_);
  return Find(path) != jobs_.end();
}

void LookaheadConverter::Prefetch(const std::string& path, int quality) {
  {
    std::lock_guard lock(mutex_);
    auto job = std::make_shared<Job>();
    job->path = path;
    job->quality = quality;
    jobs_.push_back(std::move(job));
  }
  work_ready_.notify_one();
}

void LookaheadConverter::Drop(std::deque<std::shared_ptr<Job>>::const_iterator it) {
  if ((*it)->done) ready_bytes_ -= (*it)->result.jpeg.size();
  if ((*it)->started && !(*it)->done) ++abandoned_;
  jobs_.erase(it);
}

void LookaheadConverter::Discard(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (const auto it = Find(path); it != jobs_.end()) Drop(it);
}

void LookaheadConverter::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_ready_.wait(lock, [this] {
      return stopping_ ||
             std::any_of(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->started; });
    });
    if (stopping_) return;
    const std::shared_ptr<Job> job =
        *std::find_if(jobs_.begin(), jobs_.end(), [](const auto& j) { return !j->started; });
    job->started = true;
    ++running_;
    lock.unlock();
    // Workers never touch the window: no progress calls from here.
    Conversion result = base_.Convert(job->path, job->quality, nullptr);
    lock.lock();
    job->result = std::move(result);
    job->done = true;
    --running_;
    const auto it = Find(job->path);
    if (it != jobs_.end() && *it == job) {
      ready_bytes_ += job->result.jpeg.size();
    } else {
      --abandoned_;  // dropped meanwhile: its bytes go with it
    }
    job_done_.notify_all();
  }
}

Conversion LookaheadConverter::Convert(const std::string& path, int quality,
                                       const ProgressFn& progress) {
  std::unique_lock lock(mutex_);
  const auto it = Find(path);
  if (it == jobs_.end() || (*it)->quality != quality || !(*it)->started) {
    if (it != jobs_.end()) Drop(it);  // not started yet: convert it here instead
    lock.unlock();
    return base_.Convert(path, quality, progress);
  }
  const std::shared_ptr<Job> job = *it;
  while (!job->done) {
    job_done_.wait_for(lock, std::chrono::milliseconds(50));
    if (!job->done && progress) {
      lock.unlock();
      progress();
      lock.lock();
    }
  }
  Conversion result = std::move(job->result);
  const auto current = Find(path);
  if (current != jobs_.end() && *current == job) {
    ready_bytes_ -= result.jpeg.size();
    jobs_.erase(current);
  }
  lock.unlock();
  // A bad image fails again; a file that could not be opened or did not fit
  // beside the others may pass now.
  if (!result.ok() && result.failure != ConversionFailure::kBadImage) {
    return base_.Convert(path, quality, progress);
  }
  return result;
}

}  // namespace shifrodel
