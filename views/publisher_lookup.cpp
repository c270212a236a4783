#include "views/publisher_lookup.h"

#include "platform/app_messages.h"

#include <utility>

namespace views {

PublisherLookup::~PublisherLookup() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void PublisherLookup::Start(HWND notify, std::vector<Request> requests) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        requests_ = std::move(requests);
        next_ = 0;
        answers_.clear();
        notify_ = notify;
    }
    wake_.notify_all();
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { Run(); });
    }
}

std::vector<PublisherLookup::Answer> PublisherLookup::TakeAnswers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(answers_, {});
}

void PublisherLookup::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || next_ < requests_.size(); });
        if (stopping_) {
            return;
        }
        const Request request = requests_[next_++];
        const unsigned generation = generation_;
        lock.unlock();
        publisher::Publisher found = publisher::PublisherOfCommand(request.command);
        lock.lock();
        if (generation != generation_) {
            continue;  // the rows it was for are gone
        }
        const bool first = answers_.empty();
        answers_.push_back({request.item, std::move(found)});
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
