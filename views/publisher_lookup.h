#pragma once
// Finds the publishers of a list's rows on worker threads (two where the machine has two
// processors: most of a check is waiting on the disk or on the crypto of one file), so the rows
// show at once and fill in as the answers come. Rows with the same command are looked up once,
// and each fill lists every folder its commands name once (publisher::FolderListingLookups).
// The workers never touch a window but to post the list one message
// (platform::MSG_PUBLISHER_ANSWERS) when answers wait; the list takes them on its own thread.

#include "engine/startup_item.h"
#include "publisher/folder_listings.h"
#include "publisher/publisher.h"

#include <windows.h>

#include <condition_variable>
#include <memory>
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
    // Waits for the files being checked, if any.
    ~PublisherLookup();

    // Drops the requests and answers of the earlier rows and looks these up in order.
    void Start(HWND notify, std::vector<Request> requests);
    // The answers that arrived for the current requests since the last call.
    std::vector<Answer> TakeAnswers();

private:
    struct Job {
        std::string command;
        std::vector<const engine::StartupItem*> items;
    };

    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Job> jobs_;
    // The machine's answers for the current requests.
    std::shared_ptr<const publisher::FolderListingLookups> lookups_;
    size_t next_ = 0;
    unsigned generation_ = 0;
    std::vector<Answer> answers_;
    HWND notify_ = nullptr;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace views
