#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tavorin {

// Two slow steps of a start wait on others rather than on this program:
// reading the system's font set-up (dozens of configuration files and the
// font caches), which the first line of text waits for, and connecting
// to the session bus, which the first control with a caption waits for
// (accessibility). PlatformPreload takes both on another processor core
// while the program sets itself up:
//
//   PlatformPreload preload;          // before the QApplication
//   QApplication app(argc, argv);
//   PlatformPreload::QtPart qtPart(preload); // the Qt side too, meanwhile
//
// The QtPart waits for the work when it goes, so the QApplication always
// outlives it. Qt's font list and its bus connections are thread-safe:
// whoever needs them first simply waits for them.
class PlatformPreload {
  public:
    PlatformPreload();
    ~PlatformPreload();
    PlatformPreload(const PlatformPreload&) = delete;
    PlatformPreload& operator=(const PlatformPreload&) = delete;

    class QtPart {
      public:
        explicit QtPart(PlatformPreload& preload);
        ~QtPart();
        QtPart(const QtPart&) = delete;
        QtPart& operator=(const QtPart&) = delete;

      private:
        PlatformPreload& preload_;
    };

  private:
    enum class Next { Wait, QtPart, Stop };
    void run();
    void tell(Next next);
    void finish();

    std::mutex mutex_;
    std::condition_variable told_;
    Next next_ = Next::Wait;
    std::thread thread_;
};

} // namespace tavorin
