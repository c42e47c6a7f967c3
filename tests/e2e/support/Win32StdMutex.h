#ifndef E2E_WIN32STDMUTEX_H
#define E2E_WIN32STDMUTEX_H

// googletest 1.12 declares std::mutex and std::condition_variable members in
// its headers on Windows. MinGW-w64's win32 thread model (the plug-in's
// toolchain) has neither before GCC 13, so this header, forced into every
// source that includes googletest, supplies the two on Windows' own slim
// locks. The end-to-end tests run on one thread; googletest only needs the
// types to exist and to work.
#include <mutex>  // std::lock_guard and std::unique_lock are there regardless

#if defined(_WIN32) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

namespace std {

class mutex
{
public:
    mutex() = default;
    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;
    void lock() { AcquireSRWLockExclusive(&handle); }
    bool try_lock() { return TryAcquireSRWLockExclusive(&handle) != 0; }
    void unlock() { ReleaseSRWLockExclusive(&handle); }
    PSRWLOCK native_handle() { return &handle; }

private:
    SRWLOCK handle = SRWLOCK_INIT;
};

class condition_variable
{
public:
    condition_variable() = default;
    condition_variable(const condition_variable&) = delete;
    condition_variable& operator=(const condition_variable&) = delete;
    void notify_one() { WakeConditionVariable(&handle); }
    void notify_all() { WakeAllConditionVariable(&handle); }
    void wait(unique_lock<mutex>& lock)
    {
        SleepConditionVariableSRW(&handle, lock.mutex()->native_handle(), INFINITE, 0);
    }
    template <typename Predicate>
    void wait(unique_lock<mutex>& lock, Predicate ready)
    {
        while (!ready())
            wait(lock);
    }

private:
    CONDITION_VARIABLE handle = CONDITION_VARIABLE_INIT;
};

}  // namespace std

#endif

#endif
