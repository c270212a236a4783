#include "views/publisher_lookup.h"

#include "platform/app_messages.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace views {

PublisherLookup::~PublisherLookup() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void PublisherLookup::Start(HWND notify, std::vector<Request> requests) {
    std::vector<Job> jobs;
    std::unordered_map<std::string, size_t> jobOfCommand;
    for (Request& request : requests) {
        const auto [found, added] = jobOfCommand.try_emplace(request.command, jobs.size());
        if (added) {
            jobs.push_back({std::move(request.command), {}});
        }
        jobs[found->second].items.push_back(request.item);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        jobs_ = std::move(jobs);
        lookups_ = std::make_shared<const publisher::FolderListingLookups>();
        next_ = 0;
        answers_.clear();
        notify_ = notify;
    }
    wake_.notify_all();
    if (workers_.empty()) {
        const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
        for (unsigned i = 0; i < count; ++i) {
            workers_.emplace_back([this] { Run(); });
        }
    }
}

std::vector<PublisherLookup::Answer> PublisherLookup::TakeAnswers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(answers_, {});
}

void PublisherLookup::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || next_ < jobs_.size(); });
        if (stopping_) {
            return;
        }
        const Job job = jobs_[next_++];
        const unsigned generation = generation_;
        const auto lookups = lookups_;
        lock.unlock();
        const publisher::Publisher found = publisher::PublisherOfCommand(job.command, *lookups);
        lock.lock();
        if (generation != generation_) {
            continue;  // the rows it was for are gone
        }
        const bool first = answers_.empty();
        for (const engine::StartupItem* item : job.items) {
            answers_.push_back({item, found});
        }
        if (first) {
            // One message for every answer that waits; no window call under the lock.
            const HWND notify = notify_;
            lock.unlock();
            ::PostMessage(notify, platform::MSG_PUBLISHER_ANSWERS, 0, 0);
            lock.lock();
        }
    }
}

}  // namespace views
