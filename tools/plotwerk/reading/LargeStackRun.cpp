#include "reading/LargeStackRun.h"

#include <pthread.h>

#include <exception>

namespace {

struct Job {
    const std::function<void()>* work;
    std::exception_ptr failure;
};

void* runJob(void* argument) {
    Job* job = static_cast<Job*>(argument);
    try {
        (*job->work)();
    } catch (...) {
        job->failure = std::current_exception();
    }
    return nullptr;
}

}  // namespace

void LargeStackRun::run(const std::function<void()>& work, std::size_t stackBytes) {
    Job job{&work, nullptr};
    pthread_attr_t attributes;
    pthread_t thread;
    bool started = false;
    if (pthread_attr_init(&attributes) == 0) {
        started = pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
                  pthread_create(&thread, &attributes, runJob, &job) == 0;
        pthread_attr_destroy(&attributes);
    }
    if (!started) {
        work();
        return;
    }
    pthread_join(thread, nullptr);
    if (job.failure) std::rethrow_exception(job.failure);
}
