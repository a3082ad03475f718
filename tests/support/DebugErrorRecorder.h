#pragma once

#include <Tessara/base/SoDebugError.h>

#include <mutex>
#include <string>
#include <vector>

/// Catches every SoDebugError post while alive (instead of printing it) so a test can check
/// what was reported; puts the previous handler back when it goes away.
class DebugErrorRecorder {
  public:
    /// One caught post.
    struct Post {
        SoDebugError::Severity severity;
        std::string source;
        std::string message;
    };

    DebugErrorRecorder()
        : m_previousHandler(SoDebugError::getHandlerCallback()),
          m_previousData(SoDebugError::getHandlerData()) {
        SoDebugError::setHandlerCallback(&DebugErrorRecorder::record, this);
    }
    ~DebugErrorRecorder() { SoDebugError::setHandlerCallback(m_previousHandler, m_previousData); }
    DebugErrorRecorder(const DebugErrorRecorder&) = delete;
    DebugErrorRecorder& operator=(const DebugErrorRecorder&) = delete;

    std::size_t size() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posts.size();
    }

    /// A copy, so that posts from other threads cannot change it under the caller.
    std::vector<Post> messages() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posts;
    }

    /// True when some post's source contains source and its message contains messagePart;
    /// an empty text matches anything.
    bool contains(const std::string& source, const std::string& messagePart = "") const {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Post& post : m_posts) {
            if (post.source.find(source) != std::string::npos &&
                post.message.find(messagePart) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::size_t countSeverity(SoDebugError::Severity severity) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::size_t count = 0;
        for (const Post& post : m_posts) count += post.severity == severity ? 1 : 0;
        return count;
    }

    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posts.clear();
    }

    /// All posts as text, one a line, for failure messages: EXPECT_...() << recorder.dump().
    std::string dump() const {
        std::string text;
        for (const Post& post : messages()) {
            text += post.source + "(): " + post.message;
            if (text.empty() || text.back() != '\n') text += '\n';
        }
        return text;
    }

  private:
    static void record(const SoDebugError* error, void* userData) {
        auto* self = static_cast<DebugErrorRecorder*>(userData);
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_posts.push_back(Post{error->getSeverity(), error->getSource().getStdString(),
                                     error->getDebugString().getStdString()});
    }

    SoDebugError::HandlerCB* m_previousHandler;
    void* m_previousData;
    mutable std::mutex m_mutex;
    std::vector<Post> m_posts;
};
