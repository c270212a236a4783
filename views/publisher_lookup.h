#pragma once
// Finds the publishers of a list's rows on a worker thread, so the rows show at once and fill
// in as the answers come. The worker never touches a window but to post the list one message
// (platform::MSG_PUBLISHER_ANSWERS) when answers wait; the list takes them on its own thread.

#include "engine/startup_item.h"
#include "publisher/publisher.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace views {

class PublisherLookup {
public:
    struct Request {
        const engine::StartupItem* item = nullptr;  // the row's record: the answer's key
        std::string command;
    };
    struct Answer {
        const engine::StartupItem* item = nullptr;
        publisher::Publisher publisher;
    };

    PublisherLookup() = default;
    PublisherLookup(const PublisherLookup&) = delete;
    PublisherLookup& operator=(const PublisherLookup&) = delete;
    // Waits for the file being checked, if any.
    ~PublisherLookup();

    // Drops the requests and answers of the earlier rows and looks these up in order.
    void Start(HWND notify, std::vector<Request> requests);
    // The answers that arrived for the current requests since the last call.
    std::vector<Answer> TakeAnswers();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Request> requests_;
    size_t next_ = 0;
    unsigned generation_ = 0;
    std::vector<Answer> answers_;
    HWND notify_ = nullptr;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace views
