#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tavorin {

// Reading the system's font set-up (dozens of configuration files and the
// font caches) is the slowest single step of a start, and the first line
// of text waits for it. FontPreload does it on another processor core
// while the program sets itself up:
//
//   FontPreload fonts;              // before the QApplication
//   QApplication app(argc, argv);
//   FontPreload::QtPart qtFonts(fonts); // Qt's font list too, meanwhile
//
// The QtPart waits for the work when it goes, so the QApplication always
// outlives it. Qt's font functions are thread-safe: whoever needs a font
// first simply waits for the list being filled.
class FontPreload {
  public:
    FontPreload();
    ~FontPreload();
    FontPreload(const FontPreload&) = delete;
    FontPreload& operator=(const FontPreload&) = delete;

    class QtPart {
      public:
        explicit QtPart(FontPreload& preload);
        ~QtPart();
        QtPart(const QtPart&) = delete;
        QtPart& operator=(const QtPart&) = delete;

      private:
        FontPreload& preload_;
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
